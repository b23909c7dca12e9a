#include "app/DemoSettings.h"

#include <array>

#include "app/DemoCodeLists.h"

namespace dv {
namespace {

struct SettingName {
    std::string_view section;
    std::string_view entry;
};

// Every entry of the program's settings, in the sections where the program and the suite keep
// them.
constexpr std::array<SettingName, 34> kProgramSettings = {{
    {"SPLOŠNO", "SifraLastnikaPrograma"},
    {"SPLOŠNO", "VrstaPrometaInvManjkoVP"},
    {"SPLOŠNO", "VrstaPrometaInvVisekVP"},
    {"SPLOŠNO", "VrstaPrometaInvManjkoMP"},
    {"SPLOŠNO", "VrstaPrometaInvVisekMP"},
    {"SPLOŠNO", "KopijeIzpisaMP"},
    {"SPLOŠNO", "OsnovnoSkladisce"},
    {"SPLOŠNO", "EnoSkladisce"},
    {"SPLOŠNO", "VrstaPrometaRacun"},
    {"SPLOŠNO", "VrstaPrometaNabava"},
    {"SPLOŠNO", "VrstaPrometaDobavnica"},
    {"SPLOŠNO", "NacinVodenjaZalog"},
    {"SPLOŠNO", "DatumZakljuceneMesecneObdelave"},
    {"SPLOŠNO", "DatumDovoljeneObdelave"},
    {"SPLOŠNO", "KrajIzdajeDokumenta"},
    {"SPLOŠNO", "PartnerjiFIN"},
    {"SPLOŠNO", "CeneGeslo"},
    {"SPLOŠNO", "SifraDavcna"},
    {"SERVISNE", "Vrsta prodaje ZN"},
    {"SERVISNE", "Skladišče ZN"},
    {"SERVISNE", "Oznaka dok ZN"},
    {"SERVISNE", "Vrsta prometa ZN"},
    {"SERVISNE", "Pot arhiva ASCII"},
    {"SERVISNE", "DefaultPopis"},
    {"TERMINAL", "MAPA IN IME DATOTEKE TERMINALA"},
    {"TERMINAL", "Dolzina EAN"},
    {"ARTIKLI", "SifraDDV"},
    {"ARTIKLI", "SifraEM"},
    {"NABAVA", "MarzaNaDebelo"},
    {"NABAVA", "MarzaNaDrobno"},
    {"NABAVA", "MejnaMarza"},
    {"NABAVA", "DealerMarza"},
    {"NABAVA", "NabavnaEnakaProdajni"},
    {"IZPISI", "PodgrupaDobavitelj"},
}};

}  // namespace

std::filesystem::path demoCaptureFile(const std::filesystem::path& programDirectory) {
    return programDirectory / "terminal" / "INVASCII.txt";
}

std::filesystem::path demoArchiveFolder(const std::filesystem::path& programDirectory) {
    return programDirectory / "arhiv";
}

std::vector<DemoSetting> demoSettings(const std::filesystem::path& programDirectory) {
    const std::string archive =
        demoArchiveFolder(programDirectory).string() + std::filesystem::path::preferred_separator;
    const std::string shortage = std::to_string(kDemoShortageType);
    const std::string surplus = std::to_string(kDemoSurplusType);
    return {
        {"SPLOŠNO", "SifraLastnikaPrograma", std::to_string(kDemoOwnerPartner)},
        {"SPLOŠNO", "VrstaPrometaInvManjkoVP", shortage},
        {"SPLOŠNO", "VrstaPrometaInvVisekVP", surplus},
        {"SPLOŠNO", "VrstaPrometaInvManjkoMP", shortage},
        {"SPLOŠNO", "VrstaPrometaInvVisekMP", surplus},
        {"TERMINAL", "MAPA IN IME DATOTEKE TERMINALA", demoCaptureFile(programDirectory).string()},
        {"TERMINAL", "Dolzina EAN", "13"},
        {"SERVISNE", "Vrsta prodaje ZN", "V"},
        {"SERVISNE", "Skladišče ZN", std::to_string(demoTemporaryReceiptUnit())},
        {"SERVISNE", "Oznaka dok ZN", "N"},
        {"SERVISNE", "Vrsta prometa ZN", std::to_string(kDemoTemporaryReceiptType)},
        {"SERVISNE", "Pot arhiva ASCII", archive},
        {"SERVISNE", "DefaultPopis", "1"},
    };
}

std::optional<std::string> findProgramSetting(const IniFile& file) {
    for (const SettingName& setting : kProgramSettings)
        if (file.find(setting.section, setting.entry))
            return "[" + std::string(setting.section) + "] " + std::string(setting.entry);
    return std::nullopt;
}

}  // namespace dv
