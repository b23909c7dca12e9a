#include <cstdio>

#include "app/DemoCompany.h"
#include "main/Commands.h"

namespace dv {

// "demo": fills an empty program directory with a demo company and prints, for every table it
// filled, "TABLE<tab>rows"; company 1 found in the parent directory is kept and said so.
int runDemoCommand(const ProgramOptions& options) {
    int status = 0;
    const auto directory = commandDirectory(options, true, status);
    if (!directory) return status;
    const DemoOutcome outcome = createDemoCompany(*directory);
    if (!outcome.ok()) {
        std::fprintf(stderr, "dideroviv: %s\n", outcome.error.c_str());
        return 1;
    }
    for (const DemoTableCount& table : outcome.tables) {
        std::printf("%s\t%d", table.table.c_str(), table.rows);
        if (table.table == "APPINS" && outcome.companyKept)
            std::fputs("\tpodjetje 1 že obstaja in ostane nespremenjeno", stdout);
        std::fputc('\n', stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace dv
