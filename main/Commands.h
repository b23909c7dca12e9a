#pragma once

#include <functional>

#include "main/ProgramOptions.h"

namespace dv {

class ErrorReporter;
class ProcedureRegistry;
class SettingsManager;

// Procedures that a build of the program registers beside its own before a script runs: the
// test build's (tests/support); the program itself adds none.
using ScriptProcedures = std::function<void(ProcedureRegistry&, ErrorReporter&, SettingsManager*)>;

// Each verb of the command line; returns the process exit status.
int runFilesCommand(const ProgramOptions& options);
int runDictionaryCommand(const ProgramOptions& options);
int runScriptCommand(const ProgramOptions& options, const ScriptProcedures& extraProcedures = {});
int runDemoCommand(const ProgramOptions& options);
int runCopyToCommand(const ProgramOptions& options);
// No verb: the desktop program.
int runDesktopCommand(const ProgramOptions& options);

}  // namespace dv
