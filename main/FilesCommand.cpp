#include <cstdio>

#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"
#include "main/Commands.h"

namespace dv {

// Resolves the file of every table as start-up does and prints "TABLE<tab>file", one per line,
// in start-up order.
int runFilesCommand(const ProgramOptions& options) {
    int status = 0;
    const auto directory = commandDirectory(options, true, status);
    if (!directory) return status;
    SettingsManager settings;
    if (FileResult resolved = resolveTableFileNames(settings, *directory); !resolved.ok()) {
        std::fprintf(stderr, "dideroviv: %s\n", resolved.error.c_str());
        return 1;
    }
    for (const TableFile& t : tableFiles())
        std::printf("%.*s\t%s\n", static_cast<int>(t.table.size()), t.table.data(),
                    tableFileName(t.table).c_str());
    return 0;
}

}  // namespace dv
