#include <cstdio>
#include <string>

#include "data/DictionaryJson.h"
#include "main/Commands.h"

namespace dv {

// "dictionary --json": the data dictionary as JSON on standard output.
int runDictionaryCommand(const ProgramOptions& options) {
    if (options.arguments.size() != 1 || options.arguments[0] != "--json") {
        std::fputs("dideroviv: usage: dideroviv dictionary --json\n", stderr);
        return 2;
    }
    const std::string json = dictionaryJson() + "\n";
    if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() ||
        std::fflush(stdout) != 0) {
        std::fputs("dideroviv: the dictionary could not be written to standard output\n", stderr);
        return 1;
    }
    return 0;
}

}  // namespace dv
