#include "main/ProgramOptions.h"

#include <string_view>

namespace dv {

std::optional<ProgramOptions> parseProgramOptions(int argc, char** argv, std::string& error) {
    ProgramOptions options;
    options.programPath = argc > 0 ? argv[0] : "dideroviv";
    int i = 1;
    for (; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::optional<std::string>* target = nullptr;
        if (arg == "--dir") target = &options.directory;
        else if (arg == "--today") target = &options.today;
        else if (arg == "--time") target = &options.time;
        else if (arg == "--version") { options.verb = "--version"; return options; }
        else break;
        if (i + 1 >= argc) {
            error = std::string(arg) + " needs a value";
            return std::nullopt;
        }
        *target = argv[++i];
    }
    if (i < argc) options.verb = argv[i++];
    for (; i < argc; ++i) options.arguments.emplace_back(argv[i]);
    return options;
}

}  // namespace dv
