#pragma once

#include <filesystem>

namespace dv {

class SettingsManager;

// The settings of the program and of the suite, read into the program-wide variables (GLO) by
// the main frame's initialisation, each with its default when the entry is missing. Other
// procedures read the variables, never the file; the settings windows write both.

// The program's own settings file: sections "ARTIKLI", "NABAVA", "SPLOŠNO", "TERMINAL" and
// "SERVISNE". The terminal's capture file named there becomes the file of INVASCI.
void readProgramSettings(const SettingsManager& settings);

// The parts of it that the settings windows edit, read again when the user cancels one: the
// owner code and the four transaction types of "SPLOŠNO", and the six entries of "SERVISNE".
void readStocktakeSettings(const SettingsManager& settings);
void readServiceSettings(const SettingsManager& settings);

// "PodgrupaDobavitelj" of section "IZPISI" of the program's settings file.
void readSupplierSubgroupSetting(const SettingsManager& settings);

// The entries the suite keeps in ".\ZALTO.INI" of the working directory (`working`):

// "PartnerjiFIN" and "CeneGeslo" of "SPLOŠNO". "PartnerjiFIN" "N" (the default) keeps the
// financial partners (SFPARTFIN) in the file "sfparfin.tps" beside the one start-up resolved.
void readPartnerSettings(const SettingsManager& working);

// "Papir" of "Global", written back so that the entry exists afterwards. The paper setting
// belongs to other programs of the suite: when it cannot be written back nothing is lost, and
// nothing is said.
void readPaperSetting(SettingsManager& working);

// "DatumBackup" and "UraBackup" of "Global": when the last backup was made.
void readBackupSettings(const SettingsManager& working);

// "SifraDavcna" of "SPLOŠNO".
void readTaxNumberSwitch(const SettingsManager& working);

}  // namespace dv
