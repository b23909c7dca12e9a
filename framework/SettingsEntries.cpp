#include "framework/SettingsEntries.h"

#include "data/SettingsManager.h"
#include "runtime/ExpressionValue.h"
#include "runtime/FrontEnd.h"

namespace dv {
namespace {

// The entry's value as the settings file holds it.
std::string storedText(const VariableRef& variable) {
    const ExpressionValue value = variable.read();
    return value.isNumber() ? value.toNumber().toString() : value.toText();
}

}  // namespace

FileResult writeSettingsEntries(SettingsManager& settings, std::span<const SettingsEntry> entries) {
    FileResult result = FileResult::success();
    settings.holdWrites();
    for (const SettingsEntry& entry : entries) {
        FileResult written = settings.write(entry.section, entry.entry, storedText(entry.variable));
        if (!written.ok() && result.ok()) result = std::move(written);
    }
    // Always flushed: holding must end even when an entry was refused.
    FileResult flushed = settings.flush();
    if (!flushed.ok() && result.ok()) result = std::move(flushed);
    return result;
}

void reportSettingsNotSaved(const FileResult& failure) {
    MessageBoxRequest box;
    box.caption = " OPOZORILO";
    box.text = "Nastavitev ni bilo mogoče shraniti v datoteko nastavitev.|" + failure.error +
               "||Nastavitve veljajo do izhoda iz programa. Odpravite vzrok in jih potrdite znova.";
    box.icon = MessageIcon::Exclamation;
    currentFrontEnd().messageBox(box);
}

}  // namespace dv
