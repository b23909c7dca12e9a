#include "app/SuitePrograms.h"

#include <filesystem>
#include <system_error>

#include "app/ShellMessage.h"
#include "data/SettingsManager.h"
#include "runtime/ExternalProgram.h"

namespace dv {
namespace {

constexpr std::string_view kSection = "PROGRAMI";

}  // namespace

std::string suiteCommandLine(const SettingsManager& settings, const SuiteProgram& program) {
    return settings.readText(kSection, program.entry, program.defaultCommand);
}

void runSuiteProgram(const SettingsManager& settings, const SuiteProgram& program) {
    std::error_code ec;
    std::filesystem::path workingDirectory = std::filesystem::current_path(ec);
    if (ec) workingDirectory = ".";
    const ProgramStart started =
        startExternalProgram(suiteCommandLine(settings, program), workingDirectory);
    if (started.ok()) return;
    showShellMessage(kWarningCaption, " " + started.error +
                                          "|| Ukazno vrstico programa nastavite v datoteki "
                                          "ZALTO.INI, razdelek [PROGRAMI], vnos \"" +
                                          std::string(program.entry) + "\".");
}

}  // namespace dv
