#include "main/ProgramOptions.h"

#include <cstdio>
#include <string_view>

#include "data/ProgramDirectory.h"
#include "runtime/PictureFormat.h"

namespace dv {
namespace {

// The option's value as a date or time; nothing, with the reason, when it is not one.
std::optional<DayNumber> readDate(std::string_view value, std::string& error) {
    const Deformatted<DayNumber> day = deformatDate(value, Picture::of("@D17"));
    if (day.ok() && day.value != 0) return day.value;
    error = "--today needs a date dd.mm.yyyy, not '" + std::string(value) + "'";
    return std::nullopt;
}

std::optional<TimeValue> readTime(std::string_view value, std::string& error) {
    const Deformatted<TimeValue> time = deformatTime(value, Picture::of("@T1"));
    if (time.ok() && time.value != 0) return time.value;
    error = "--time needs a time hh:mm, not '" + std::string(value) + "'";
    return std::nullopt;
}

// Reads the value of the global option `name` into `options`; false, with the reason, when it
// is malformed.
bool readGlobalOption(std::string_view name, const char* value, ProgramOptions& options,
                      std::string& error) {
    if (name == "--dir") {
        options.directory = value;
        return true;
    }
    if (name == "--database") {
        options.database = value;
        return true;
    }
    if (name == "--today") {
        options.today = readDate(value, error);
        return options.today.has_value();
    }
    options.time = readTime(value, error);
    return options.time.has_value();
}

bool isGlobalOption(std::string_view arg) {
    return arg == "--dir" || arg == "--database" || arg == "--today" || arg == "--time";
}

}  // namespace

std::optional<ProgramOptions> parseProgramOptions(int argc, char** argv, std::string& error) {
    ProgramOptions options;
    options.programPath = argc > 0 ? argv[0] : "dideroviv";
    int i = 1;
    for (; i < argc && isGlobalOption(argv[i]); i += 2) {
        if (i + 1 >= argc) {
            error = std::string(argv[i]) + " needs a value";
            return std::nullopt;
        }
        if (!readGlobalOption(argv[i], argv[i + 1], options, error)) return std::nullopt;
    }
    if (i < argc && std::string_view(argv[i]) == "--version") {
        options.verb = "--version";
        return options;
    }
    if (i < argc) options.verb = argv[i++];
    for (; i < argc; ++i) options.arguments.emplace_back(argv[i]);
    return options;
}

void applyClockOptions(const ProgramOptions& options) {
    if (options.today) setFixedToday(*options.today);
    if (options.time) setFixedNow(*options.time);
}

std::optional<std::filesystem::path> commandDirectory(const ProgramOptions& options,
                                                      bool noArguments, int& status) {
    if (noArguments && !options.arguments.empty()) {
        std::fprintf(stderr, "dideroviv: %s takes no arguments\n", options.verb.c_str());
        status = 2;
        return std::nullopt;
    }
    std::string error;
    auto directory = findProgramDirectory(options.directory, options.programPath, error);
    if (!directory) {
        std::fprintf(stderr, "dideroviv: %s\n", error.c_str());
        status = 1;
    }
    return directory;
}

}  // namespace dv
