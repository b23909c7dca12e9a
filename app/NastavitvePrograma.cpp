#include <string_view>

#include "app/ProgramSettings.h"
#include "framework/ProcedureDefinition.h"
#include "framework/SettingsWindow.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

constexpr std::string_view kSection = "SERVISNE";

std::vector<SettingsEntry> programEntries() {
    return {
        {kSection, "Vrsta prodaje ZN", VariableRef(GLO.VRSTAPZAC)},
        {kSection, "Skladišče ZN", VariableRef(GLO.ENOTAZAC)},
        {kSection, "Oznaka dok ZN", VariableRef(GLO.OZNAKAZAC)},
        {kSection, "Vrsta prometa ZN", VariableRef(GLO.VRSTAPROMETAZAC)},
        {kSection, "Pot arhiva ASCII", VariableRef(GLO.POTARHIVZAJEMAASCII)},
        {kSection, "DefaultPopis", VariableRef(GLO.PREDLAGANDEFAULTPOPIS)},
    };
}

}  // namespace

// The other program settings, window "DRUGE Nastavitve programa": the sale kind, warehouse unit,
// document mark and transaction type of the temporary receipt, the folder into which processed
// terminal captures are archived and the counted quantity proposed for new templates. The
// controls change the variables at once; "POTRDI" writes the six entries of section "SERVISNE"
// into the settings file, "PREKLIČI" writes nothing and reads the six entries back from it.
DV_PROCEDURE(NastavitvePrograma) {
    SettingsWindow window(std::string(procedure), programEntries(), readServiceSettings, "?Potrdi",
                          "?Preklici");
    window.setFirstField("?GLO:VRSTAPZAC");
    return window.Execute();
}

}  // namespace dv
