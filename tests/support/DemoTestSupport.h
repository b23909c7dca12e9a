#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/DatabaseChoice.h"
#include "data/Dictionary.h"
#include "data/ProgramDirectory.h"
#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "frontend/ProgramRun.h"
#include "frontend/TempDirectory.h"
#include "storage/TableAccess.h"

namespace dv::test {

// The tables the demo company fills.
inline constexpr std::array<std::string_view, 11> kDemoTables = {
    "APPINS",  "APPINRA",  "SFDDV",   "SFEM",    "SFGRUPE", "SFPODGRU",
    "SFENOTE", "SFVRPROM", "SFPARTN", "ARTIKLI", "ZALOGA"};

// Program directories of companies inside a fresh temporary directory, which is their parent and
// so holds the company tables.
class DemoFolders {
  public:
    // The program directory `name`, made when missing.
    std::filesystem::path program(const std::string& name = "firma") const {
        const std::filesystem::path directory = root_.path() / name;
        std::filesystem::create_directories(directory);
        return directory;
    }
    const std::filesystem::path& root() const { return root_.path(); }

  private:
    TempDirectory root_;
};

// Runs "demo" on `directory`; with `unprivileged`, as the user nobody when the tests run as the
// super-user, so that file permissions apply.
inline ProgramRun runDemo(const std::filesystem::path& directory, bool unprivileged = false) {
    if (!unprivileged || ::geteuid() != 0) return runProgram(directory, "demo");
    return runCommandLine(programCommandLine(
        directory, "demo", "setpriv --reuid=65534 --regid=65534 --clear-groups "));
}

inline std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file and folder under `directory`, by path, with the size of each file.
inline std::map<std::string, std::uintmax_t> listing(const std::filesystem::path& directory) {
    std::map<std::string, std::uintmax_t> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory))
        entries[entry.path().string()] = entry.is_regular_file() ? entry.file_size() : 0;
    return entries;
}

// The tables of a program directory read as the program finds them, without creating any. The
// table file names and record buffers are program-wide: they go back to their start values when
// the reader ends.
class CompanyData {
  public:
    explicit CompanyData(const std::filesystem::path& directory) {
        const FileResult resolved = resolveTableFileNames(settings_, directory);
        EXPECT_TRUE(resolved.ok()) << resolved.error;
        // Where the program itself finds them: on the server its settings name, if any.
        std::string refused;
        access_ = openTableAccess(nullptr, settings_, refused);
        EXPECT_NE(access_, nullptr) << refused;
    }
    ~CompanyData() {
        access_.reset();
        resetTableFileNames();
        clearAllRecordBuffers();
    }
    CompanyData(const CompanyData&) = delete;
    CompanyData& operator=(const CompanyData&) = delete;

    // Calls `row` with the table's buffer holding each of its rows in turn; returns how many
    // there were (0 for a table that does not exist, -1 when it cannot be read).
    int forEach(std::string_view table, const std::function<void()>& row = {}) {
        const TableDef& def = *findTable(table);
        const auto driver = access_->makeDriver(def, hostPath(tableFileName(def.name)));
        const DriverCode opened = driver->open(AccessMode::ReadOnly);
        if (opened == DriverCode::FileNotFound) return 0;
        if (opened != DriverCode::Ok || driver->setToStart(kFileOrder) != DriverCode::Ok) return -1;
        int rows = 0;
        while (driver->next() == DriverCode::Ok) {
            ++rows;
            if (row) row();
        }
        return rows;
    }

    std::map<std::string, int> counts() {
        std::map<std::string, int> counts;
        for (const std::string_view table : kDemoTables)
            counts[std::string(table)] = forEach(table);
        return counts;
    }

    const SettingsManager& settings() const { return settings_; }

  private:
    SettingsManager settings_;
    std::unique_ptr<TableAccess> access_;
};

}  // namespace dv::test
