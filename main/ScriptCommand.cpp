#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "data/ProgramDirectory.h"
#include "framework/ErrorReporter.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/Script.h"
#include "frontend/headless/ScriptQuery.h"
#include "frontend/headless/ScriptRunner.h"
#include "main/Commands.h"
#include "runtime/Date.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/TimeOfDay.h"

namespace dv {
namespace {

// Fixes the program's clock from --today dd.mm.yyyy and --time hh:mm.
bool fixClock(const ProgramOptions& options, std::string& error) {
    if (options.today) {
        const int day = parseScriptDate(*options.today);
        if (day == 0) {
            error = "--today needs a date dd.mm.yyyy, not '" + *options.today + "'";
            return false;
        }
        setFixedToday(day);
    }
    if (options.time) {
        const std::string& t = *options.time;
        const bool shaped = t.size() == 5 && t[2] == ':' && std::isdigit(t[0]) &&
                            std::isdigit(t[1]) && std::isdigit(t[3]) && std::isdigit(t[4]);
        const TimeValue time =
            shaped ? timeValue(std::stoi(t.substr(0, 2)), std::stoi(t.substr(3, 2))) : 0;
        if (time == 0) {
            error = "--time needs a time hh:mm, not '" + t + "'";
            return false;
        }
        setFixedNow(time);
    }
    return true;
}

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

}  // namespace

// Runs a UI script without a display: exit status 0 when every line held, else 1 after the
// report of the line that did not (2 for a malformed command line).
int runScriptCommand(const ProgramOptions& options) {
    if (options.arguments.size() != 1) {
        std::fputs("dideroviv: script takes one file: dideroviv script FILE\n", stderr);
        return 2;
    }
    std::string error;
    if (!fixClock(options, error)) {
        std::fprintf(stderr, "dideroviv: %s\n", error.c_str());
        return 2;
    }
    const std::string& path = options.arguments[0];
    const auto directory = findProgramDirectory(options.directory, options.programPath, error);
    if (!directory) {
        std::fprintf(stderr, "dideroviv: %s\n", error.c_str());
        return 1;
    }
    std::string text;
    if (!readFile(path, text)) {
        std::fprintf(stderr, "dideroviv: cannot read the script %s\n", path.c_str());
        return 1;
    }
    std::vector<ScriptLine> lines;
    try {
        lines = parseScript(text);
    } catch (const ScriptError& e) {
        std::fprintf(stderr, "%s: line %d: %s\n", path.c_str(), e.line(), e.what());
        return 1;
    }

    ProcedureScheduler& scheduler = programScheduler();
    HeadlessFrontEnd frontEnd(scheduler);
    ErrorReporter errors;
    ScriptQuery query(*directory);
    ScriptServices services;
    services.unknownProcedure = [&errors](const std::string& name) {
        errors.raiseWithText(24, name);
    };
    services.sql = [&query](const std::string& sql, std::string& why) {
        return query.run(sql, why);
    };
    ScriptRunner runner(scheduler, frontEnd, programProcedures(), services);
    const auto failure = runner.run(lines);
    scheduler.shutdown();
    if (failure) {
        std::fprintf(stderr, "%s: %s", path.c_str(), failure->report().c_str());
        return 1;
    }
    return 0;
}

}  // namespace dv
