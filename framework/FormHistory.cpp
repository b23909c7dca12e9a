#include "framework/FormHistory.h"

namespace dv {

void FormHistory::add(int control, const FormVariable& variable) {
    for (Entry& entry : entries_)
        if (entry.control == control) {
            entry.variable = variable;
            return;
        }
    entries_.push_back({control, variable, std::nullopt});
}

void FormHistory::remember() {
    for (Entry& entry : entries_) entry.saved = entry.variable.read();
}

bool FormHistory::recall(int control) const {
    const Entry* entry = find(control);
    return entry != nullptr && entry->saved && entry->variable.write(*entry->saved);
}

std::optional<ExpressionValue> FormHistory::lastSaved(int control) const {
    const Entry* entry = find(control);
    return entry ? entry->saved : std::nullopt;
}

const FormHistory::Entry* FormHistory::find(int control) const {
    for (const Entry& entry : entries_)
        if (entry.control == control) return &entry;
    return nullptr;
}

}  // namespace dv
