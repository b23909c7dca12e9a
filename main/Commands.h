#pragma once

#include "main/ProgramOptions.h"

namespace dv {

// Each verb of the command line; returns the process exit status.
int runFilesCommand(const ProgramOptions& options);
int runDictionaryCommand(const ProgramOptions& options);
int runScriptCommand(const ProgramOptions& options);

}  // namespace dv
