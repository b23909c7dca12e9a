#include "app/ProgramSettings.h"

#include "app/SettingValue.h"
#include "data/ProgramDirectory.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "runtime/TextCase.h"
#include "schema/ProgramGlobals.h"
#include "terminal/ParametriTerminal.h"

namespace dv {
namespace {

constexpr std::string_view kGeneral = "SPLOŠNO";
constexpr std::string_view kService = "SERVISNE";
constexpr std::string_view kTerminal = "TERMINAL";
constexpr std::string_view kItems = "ARTIKLI";
constexpr std::string_view kPurchase = "NABAVA";
constexpr std::string_view kPrintouts = "IZPISI";
constexpr std::string_view kGlobal = "Global";

// Entries other programs of the suite write; this program only reads them.
void readSuiteSettings(const SettingsManager& s) {
    readSetting(s, kGeneral, "KopijeIzpisaMP", 1, GLO.KOPIJEIZPISAMP);
    readSetting(s, kGeneral, "OsnovnoSkladisce", 1, GLO.OSNOVNOSKLADISCE);
    readSetting(s, kGeneral, "EnoSkladisce", "D", GLO.ENOSKLADISCE);
    readSetting(s, kGeneral, "VrstaPrometaRacun", 0, GLO.VRSTAPROMETARACUN);
    readSetting(s, kGeneral, "VrstaPrometaNabava", 0, GLO.VRSTAPROMETANABAVA);
    readSetting(s, kGeneral, "VrstaPrometaDobavnica", 0, GLO.VRSTAPROMETADOBAVNICA);
    readSetting(s, kGeneral, "NacinVodenjaZalog", "PNAC", GLO.NACINVODENJAZALOG);
    readSetting(s, kGeneral, "DatumZakljuceneMesecneObdelave", 0,
                GLO.DATUMZAKLJUCENEMESECNEOBDELAVE);
    readSetting(s, kGeneral, "DatumDovoljeneObdelave", 0, GLO.DATUMDOVOLJENEOBDELAVE);
    readSetting(s, kGeneral, "KrajIzdajeDokumenta", "", GLO.KRAJIZDAJEDOKUMENTA);
    readSetting(s, kItems, "SifraDDV", 0, GLO.SIFRADDV);
    readSetting(s, kItems, "SifraEM", 0, GLO.SIFRAEM);
    readSetting(s, kPurchase, "MarzaNaDebelo", "0", GLO.MARZANADEBELO);
    readSetting(s, kPurchase, "MarzaNaDrobno", "0", GLO.MARZANADROBNO);
    readSetting(s, kPurchase, "MejnaMarza", "0", GLO.MEJNAMARZA);
    readSetting(s, kPurchase, "DealerMarza", "0", GLO.DEALERMARZA);
    readSetting(s, kPurchase, "NabavnaEnakaProdajni", "", GLO.NABAVNAENAKAPRODAJNI);
}

void readTerminalSettings(const SettingsManager& s) {
    readSetting(s, kTerminal, "MAPA IN IME DATOTEKE TERMINALA", "", GLO.MAPADATOTEKETERMINALA);
    readSetting(s, kTerminal, "Dolzina EAN", 13, GLO.DOLZINAEAN);
}

}  // namespace

void readStocktakeSettings(const SettingsManager& s) {
    readSetting(s, kGeneral, "SifraLastnikaPrograma", 0, GLO.SIFRALASTNIKAPROGRAMA);
    readSetting(s, kGeneral, "VrstaPrometaInvManjkoVP", 0, GLO.VRSTAPROMETAINVMANJKOVP);
    readSetting(s, kGeneral, "VrstaPrometaInvVisekVP", 0, GLO.VRSTAPROMETAINVVISEKVP);
    readSetting(s, kGeneral, "VrstaPrometaInvManjkoMP", 0, GLO.VRSTAPROMETAINVMANJKOMP);
    readSetting(s, kGeneral, "VrstaPrometaInvVisekMP", 0, GLO.VRSTAPROMETAINVVISEKMP);
}

void readServiceSettings(const SettingsManager& s) {
    readSetting(s, kService, "Vrsta prodaje ZN", "V", GLO.VRSTAPZAC);
    readSetting(s, kService, "Skladišče ZN", 1, GLO.ENOTAZAC);
    readSetting(s, kService, "Oznaka dok ZN", "N", GLO.OZNAKAZAC);
    readSetting(s, kService, "Vrsta prometa ZN", 18, GLO.VRSTAPROMETAZAC);
    readSetting(s, kService, "Pot arhiva ASCII", "", GLO.POTARHIVZAJEMAASCII);
    readSetting(s, kService, "DefaultPopis", 1, GLO.PREDLAGANDEFAULTPOPIS);
}

void readProgramSettings(const SettingsManager& settings) {
    readSuiteSettings(settings);
    readStocktakeSettings(settings);
    readTerminalSettings(settings);
    useTerminalCaptureFile();
    readServiceSettings(settings);
}

void readSupplierSubgroupSetting(const SettingsManager& settings) {
    readSetting(settings, kPrintouts, "PodgrupaDobavitelj", 0, GLO.PODGRUPADOBAVITELJ);
}

void readPartnerSettings(const SettingsManager& working) {
    readSetting(working, kGeneral, "PartnerjiFIN", "N", GLO.PARTNERJIFIN);
    readSetting(working, kGeneral, "CeneGeslo", 1, GLO.CENEGESLO);
    if (upperSlovenian(GLO.PARTNERJIFIN.str()) != "N") return;
    const std::filesystem::path resolved(tableFileName("SFPARTFIN"));
    setTableFileName("SFPARTFIN", (resolved.parent_path() / "sfparfin.tps").string());
}

void readPaperSetting(SettingsManager& working) {
    readSetting(working, kGlobal, "Papir", 1, GLO.PAPIR);
    (void)working.writeNumber(kGlobal, "Papir", GLO.PAPIR);
}

void readBackupSettings(const SettingsManager& working) {
    readSetting(working, kGlobal, "DatumBackup", 0, GLO.DATUMBACKUP);
    readSetting(working, kGlobal, "UraBackup", 0, GLO.URABACKUP);
}

void readTaxNumberSwitch(const SettingsManager& working) {
    readSetting(working, kGeneral, "SifraDavcna", 0, GLO.SIFRADAVCNA);
}

}  // namespace dv
