#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "app/DemoCompany.h"
#include "main/Commands.h"

namespace dv {

namespace {

// The item count of "demo [--items N]"; nothing (and the reason on standard error) when the
// arguments are anything else.
std::optional<std::size_t> itemCount(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return kDemoItemCount;
    std::size_t count = 0;
    if (arguments.size() == 2 && arguments[0] == "--items") {
        const std::string& text = arguments[1];
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
        if (error == std::errc{} && end == text.data() + text.size() && count >= 1 &&
            count <= kMostDemoItems)
            return count;
    }
    std::fprintf(stderr, "dideroviv: usage: demo [--items N], N from 1 to %zu\n", kMostDemoItems);
    return std::nullopt;
}

}  // namespace

// "demo [--items N]": fills an empty program directory with a demo company of N items (2,000
// unless given) and prints, for every table it filled, "TABLE<tab>rows"; company 1 found in the
// parent directory is kept and said so.
int runDemoCommand(const ProgramOptions& options) {
    const std::optional<std::size_t> items = itemCount(options.arguments);
    if (!items) return 2;
    int status = 0;
    const auto directory = commandDirectory(options, false, status);
    if (!directory) return status;
    const DemoOutcome outcome = createDemoCompany(*directory, *items);
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
