#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/ProgramStartUp.h"
#include "framework/ErrorReporter.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/Script.h"
#include "frontend/headless/ScriptQuery.h"
#include "frontend/headless/ScriptRunner.h"
#include "frontend/qt/pdf/PdfPageExporter.h"
#include "main/Commands.h"
#include "runtime/MessageRaiser.h"
#include "runtime/ProcedureRegistry.h"

namespace dv {
namespace {

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
int runScriptCommand(const ProgramOptions& options, const ScriptProcedures& extraProcedures) {
    if (options.arguments.size() != 1) {
        std::fputs("dideroviv: script takes one file: dideroviv script FILE\n", stderr);
        return 2;
    }
    const std::string& path = options.arguments[0];
    int status = 0;
    const auto directory = commandDirectory(options, false, status);
    if (!directory) return status;
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

    // `preview pdf` saves through the Qt page export, made here on the main thread.
    PdfPageExporter pdfExport;
    ProcedureScheduler& scheduler = programScheduler();
    HeadlessFrontEnd frontEnd(scheduler);
    // The script runs on the program as it starts for its user; it starts the main frame itself
    // ("start Main") when it wants it.
    std::string error;
    std::unique_ptr<ProgramStartUp> program = ProgramStartUp::start(*directory, error);
    if (!program) {
        std::fprintf(stderr, "dideroviv: %s\n", error.c_str());
        return 1;
    }
    if (extraProcedures)
        extraProcedures(programProcedures(), program->errors(), &program->settings());
    ScriptQuery query(*directory);
    ScriptServices services;
    services.unknownProcedure = [](const std::string& name) { raiseProcedureNotDefined(name); };
    services.sql = [&query](const std::string& sql, std::string& why) {
        return query.run(sql, why);
    };
    ScriptRunner runner(scheduler, frontEnd, programProcedures(), services);
    const auto failure = runner.run(lines);
    scheduler.shutdown();
    if (FileResult ended = program->shutDown(); !ended.ok())
        std::fprintf(stderr, "dideroviv: %s\n", ended.error.c_str());
    if (failure) {
        std::fprintf(stderr, "%s: %s", path.c_str(), failure->report().c_str());
        return 1;
    }
    return 0;
}

}  // namespace dv
