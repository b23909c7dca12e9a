#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "data/IniFile.h"
#include "frontend/ProgramRun.h"
#include "frontend/TempDirectory.h"
#include "runtime/Date.h"
#include "runtime/TimeOfDay.h"

namespace dv::test {

// A program directory inside a fresh temporary directory, so that the company tables, which lie
// in the parent of the data directory, stay inside it too. The program runs with the program
// directory as its working directory, as when it is started from its own folder.
class ProgramFolder {
  public:
    ProgramFolder() : program_(root_.path() / "prog") { std::filesystem::create_directory(program_); }

    const std::filesystem::path& root() const { return root_.path(); }
    const std::filesystem::path& program() const { return program_; }

    void write(const std::filesystem::path& file, const std::string& text) const {
        std::ofstream(file.is_absolute() ? file : program_ / file) << text;
    }

    // Runs `script` on the program with the clock at `today`; its exit status and output.
    ProgramRun script(const std::string& script, const std::string& today = "15.03.2024") const {
        write("test.script", script);
        return runProgram(program_, "--today " + today + " --time 10:00 script test.script");
    }

    // The entry of an INI file of the program directory; nothing when it is not there.
    std::optional<std::string> entry(const std::string& file, std::string_view section,
                                     std::string_view name) const {
        IniFile ini;
        if (!ini.load(program_ / file).ok()) return std::nullopt;
        return ini.find(section, name);
    }

  private:
    TempDirectory root_;
    std::filesystem::path program_;
};

// The settings under which the frame starts without a word: the stocktake parameters set and
// a backup made the day before 15.03.2024, in both the settings file and the backup program's
// file; `extra` is appended to the settings file.
inline std::string backupSection(DayNumber date, TimeValue time) {
    return "[Global]\nDatumBackup=" + std::to_string(date) + "\nUraBackup=" +
           std::to_string(time) + "\n";
}
inline std::string recentBackup() {
    return backupSection(dayNumber(2024, 3, 14), timeValue(14, 0));
}
inline std::string quietSettings(const std::string& extra = "") {
    return "[SPLOŠNO]\nSifraLastnikaPrograma=100\nVrstaPrometaInvManjkoVP=35\n"
           "VrstaPrometaInvVisekVP=15\nVrstaPrometaInvManjkoMP=35\nVrstaPrometaInvVisekMP=15\n" +
           recentBackup() + extra;
}

}  // namespace dv::test
