#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>

#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "main/Commands.h"
#include "storage/DatabaseCopy.h"
#include "storage/PostgresDatabase.h"
#include "storage/SqliteDatabase.h"

namespace dv {

namespace {

// "1 vrstica", "2 vrstici", "3 vrstice", "5 vrstic", as Slovenian counts.
const char* rowsWord(std::int64_t count) {
    switch (count % 100) {
        case 1:
            return "vrstica";
        case 2:
            return "vrstici";
        case 3:
        case 4:
            return "vrstice";
        default:
            return "vrstic";
    }
}

// "v 1 tabeli", "v 2 tabelah", ...
const char* tablesWord(std::size_t count) {
    return count % 100 == 1 ? "tabeli" : "tabelah";
}

void printSummary(const CopyOutcome& outcome) {
    for (const CopiedTable& table : outcome.tables)
        std::printf("%s: %" PRId64 " %s\n", table.table.c_str(), table.rows, rowsWord(table.rows));
    const std::int64_t total = outcome.totalRows();
    std::printf("Skupaj: %" PRId64 " %s v %zu %s\n", total, rowsWord(total), outcome.tables.size(),
                tablesWord(outcome.tables.size()));
}

}  // namespace

// "copy-to CONNINFO": copies the tables of the program directory and of its company directory
// from the embedded databases into the empty server database CONNINFO names (see copyToServer)
// and prints the rows copied per table and in all.
int runCopyToCommand(const ProgramOptions& options) {
    if (options.arguments.size() != 1 || options.arguments[0].empty()) {
        std::fputs("dideroviv: usage: copy-to CONNINFO (a libpq connection string, for example "
                   "\"service=trgovina\")\n",
                   stderr);
        return 2;
    }
    int status = 0;
    const auto directory = commandDirectory(options, false, status);
    if (!directory) return status;
    // Where the tables lie is resolved as at start, which fills the settings file's empty table
    // entries; a settings file this run started is not left behind when nothing is copied.
    const bool hadSettings =
        std::filesystem::exists(findFileIgnoringCase(*directory, kSettingsFileName));
    SettingsManager settings;
    if (FileResult resolved = resolveTableFileNames(settings, *directory); !resolved.ok()) {
        std::fprintf(stderr, "dideroviv: %s\n", resolved.error.c_str());
        return 1;
    }
    SqliteDatabase source;
    PostgresDatabase target(options.arguments[0]);
    const CopyOutcome outcome = copyToServer(source, *directory, target);
    if (!outcome.ok()) {
        std::error_code ignored;
        if (!hadSettings) std::filesystem::remove(settings.path(), ignored);
        std::fprintf(stderr, "dideroviv: %s\n", outcome.message.c_str());
        return 1;
    }
    printSummary(outcome);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace dv
