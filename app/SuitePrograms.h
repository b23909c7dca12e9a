#pragma once

#include <string>
#include <string_view>

namespace dv {

class SettingsManager;

// The other programs of the suite that the shell starts, each by a command line of section
// "PROGRAMI" of the program's settings file.
struct SuiteProgram {
    std::string_view entry;           // the entry that holds its command line
    std::string_view defaultCommand;  // the command line when the entry is missing
};

// The backup program (toolbar "KOPIJE"), started without arguments.
inline constexpr SuiteProgram kBackupProgram{"Kopije", "BackUp.EXE"};
// The fiscal-register console in its echo mode (the About window's "FURS test").
inline constexpr SuiteProgram kFiscalConsole{"KonzolaFURS", "DAVCNABLAGAJNACONSOLE.EXE -echo"};

// The command line of `program` as the settings give it.
std::string suiteCommandLine(const SettingsManager& settings, const SuiteProgram& program);

// Starts `program` (found in the working directory first, then on the PATH) and returns at once;
// nothing waits for it. When it cannot be started, says why under " OPOZORILO" and where its
// command line is set.
void runSuiteProgram(const SettingsManager& settings, const SuiteProgram& program);

}  // namespace dv
