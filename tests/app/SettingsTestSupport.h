#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/IniFile.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "framework/ErrorReporter.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProgramServices.h"
#include "frontend/TempDirectory.h"
#include "frontend/headless/ScriptRunner.h"
#include "runtime/ProcedureCall.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv::test {

// Adds a transaction type to SFVRPROM with its own number (inserting would number it anew).
inline void addType(TableAccess& tables, const char* kind, const char* mark, int number,
                    const char* description) {
    FileManager& types = tables.file("SFVRPROM");
    ASSERT_EQ(types.Open(), kLevelBenign);
    ASSERT_EQ(types.UseFile(), kLevelBenign);
    prepareNewRecord(types.table(), types.buffer());
    SFVRPROM.VrstaProdaje = kind;
    SFVRPROM.OZNAKADOKUMENTA = mark;
    SFVRPROM.VrstaPrometa = static_cast<std::uint16_t>(number);
    SFVRPROM.OpisPrometa = SFVRPROM.NazivDokumenta = description;
    SFVRPROM.PROMETNAZALOGO = std::string_view(mark) == "N" ? "+" : "-";
    EXPECT_EQ(types.driver()->add(), DriverCode::Ok) << description;
    types.Close();
}

// The program's services over a fresh program directory, in this process: its settings file and
// tables, the error reporter, the program's procedures (without a partner list unless a test
// adds one) and a headless front end driven by UI scripts. The tests set the program-wide
// variables as start-up would have read them, run a script and look at the settings file.
class SettingsWindowTest : public ::testing::Test {
  protected:
    SettingsWindowTest() {
        (void)resolveTableFileNames(settings, directory.path());
        tables = std::make_unique<TableAccess>(&errors);
        setProgramServices({&errors, &settings});
        clearProgramGlobals();
        registerProgramProcedures(programProcedures());
        programProcedures().remove("BrowseSFPARTN");
    }
    ~SettingsWindowTest() override {
        scheduler.shutdown();
        registerProgramProcedures(programProcedures());
        setProgramServices({});
        tables.reset();
        resetTableFileNames();
        clearProgramGlobals();
    }

    // Runs the script; the failure's report, empty when every line held.
    std::string run(const std::string& script) {
        const auto failure = runner.run(parseScript(script));
        return failure ? failure->report() : std::string();
    }

    // The response of the procedure that ended last.
    Response lastResponse() const {
        const auto& ended = runner.endedProcedures();
        return ended.empty() ? Response::None : ended.back().response;
    }

    // The entry as the settings file on disk holds it; nothing when it is not there.
    std::optional<std::string> fileEntry(std::string_view section, std::string_view entry) const {
        IniFile file;
        if (!file.load(settingsFile()).ok()) return std::nullopt;
        return file.find(section, entry);
    }

    std::filesystem::path settingsFile() const { return directory.path() / "ZALTO.INI"; }

    // The lines of the settings file by section ("" before the first), blank lines left out.
    std::map<std::string, std::vector<std::string>> fileSections() const {
        std::map<std::string, std::vector<std::string>> sections;
        std::ifstream in(settingsFile());
        std::string section;
        for (std::string line; std::getline(in, line);) {
            if (line.empty()) continue;
            if (line.front() == '[')
                section = line;
            else
                sections[section].push_back(line);
        }
        return sections;
    }

    TempDirectory directory;
    SettingsManager settings;
    ErrorReporter errors;
    std::unique_ptr<TableAccess> tables;
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd{scheduler};
    ScriptRunner runner{scheduler, frontEnd, programProcedures()};
};

}  // namespace dv::test
