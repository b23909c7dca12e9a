#include "app/FiscalFolder.h"

#include <system_error>

#include "app/SettingValue.h"
#include "data/IniFile.h"
#include "data/ProgramDirectory.h"
#include "data/SettingsManager.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

constexpr std::string_view kSection = "FURS";
constexpr std::string_view kSettingsFile = "DBPR.INI";

// The console's settings file in `directory`; an empty one when it is missing or unreadable.
IniFile consoleSettings(const std::filesystem::path& directory) {
    IniFile file;
    if (!file.load(findFileIgnoringCase(directory, kSettingsFile)).ok()) return IniFile();
    return file;
}

std::string cannotCreate(const std::filesystem::path& folder, const std::error_code& error) {
    return " Imenika " + folder.string() + " ni mogoče ustvariti !|| Napaka: " +
           std::to_string(error.value()) + " - " + error.message();
}

}  // namespace

std::filesystem::path fiscalFolder(const SettingsManager& settings,
                                   const std::filesystem::path& programDirectory) {
    const std::string named = settings.readText(kSection, "Imenik", "");
    if (named.empty()) return programDirectory / "FURS";
    const std::filesystem::path folder(hostPath(named));
    return folder.is_absolute() ? folder : programDirectory / folder;
}

std::string ensureFiscalFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return {};
    if (std::filesystem::exists(folder, ec))
        return cannotCreate(folder, std::make_error_code(std::errc::file_exists));
    std::filesystem::create_directories(folder, ec);
    if (!ec && !std::filesystem::is_directory(folder, ec))
        ec = std::make_error_code(std::errc::not_a_directory);
    return ec ? cannotCreate(folder, ec) : std::string();
}

void readFiscalSettings(const std::filesystem::path& workingDirectory,
                        const std::filesystem::path& folder) {
    GLO.DAVCNABLAGAJNANASTAVITVE = "davcnaBlagajnaNastavitve.txt";
    const IniFile working = consoleSettings(workingDirectory);
    readSetting(working, kSection, "Konzola", 0, GLO.KONZOLA);
    readSetting(working, kSection, "Stevilcenje", "C", GLO.STEVILCENJE);
    const IniFile inFolder = consoleSettings(folder);
    readSetting(inFolder, kSection, "Naprava", "BLAG1", GLO.NAPRAVA);
    readSetting(inFolder, kSection, "Prostor", "TRG1", GLO.PROSTOR);
}

}  // namespace dv
