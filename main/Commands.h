#pragma once

#include "main/ProgramOptions.h"

namespace dv {

// Each verb of the command line; returns the process exit status.
int runFilesCommand(const ProgramOptions& options);
int runDictionaryCommand(const ProgramOptions& options);
int runScriptCommand(const ProgramOptions& options);
int runDemoCommand(const ProgramOptions& options);
// No verb: the desktop program.
int runDesktopCommand(const ProgramOptions& options);

}  // namespace dv
