#include "app/NastavitvePrograma.h"

#include <string_view>

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

int NastavitvePrograma() {
    SettingsWindow window("NastavitvePrograma", programEntries(), true, "?Potrdi", "?Preklici");
    window.setFirstField("?GLO:VRSTAPZAC");
    return window.Execute();
}

}  // namespace dv
