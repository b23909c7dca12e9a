#include "framework/ProcedureLayout.h"

#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "data/Dictionary.h"
#include "data/RuleLabels.h"
#include "runtime/LayoutResources.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

const FieldRule& ruleOfOption(const WindowLayout& layout, const ControlLayout& option) {
    const std::size_t colon = option.name.find(':');
    const TableDef* table =
        colon == std::string::npos ? nullptr : findTable(option.name.substr(0, colon));
    const int field = table == nullptr ? -1 : table->findField(option.name);
    const FieldRule* rule = field < 0 ? nullptr : fieldRule(*table, field);
    if (rule == nullptr)
        throw LayoutError(layout.source + ":" + std::to_string(option.line) + ": the option ?" +
                          option.name + " takes its radios from a rule, but its field has none");
    return *rule;
}

// The radios of an option, one per allowed code of the rule, in the rule's order.
std::vector<ControlLayout> radiosOf(const WindowLayout& layout, const ControlLayout& option) {
    const FieldRule& rule = ruleOfOption(layout, option);
    const std::vector<std::string> labels = ruleLabels(rule);
    std::vector<ControlLayout> radios;
    for (std::size_t i = 0; i < rule.allowed.size(); ++i) {
        ControlLayout radio;
        radio.type = ControlType::Radio;
        radio.text = i < labels.size() ? labels[i] : std::string(rule.allowed[i]);
        radio.value = rule.allowed[i];
        radio.line = option.line;
        radios.push_back(std::move(radio));
    }
    return radios;
}

}  // namespace

WindowLayout completeLayout(WindowLayout layout) {
    std::vector<ControlLayout> controls;
    // The new number of each declared control, by its old number (index 0: the window).
    std::vector<int> renumbered(layout.controls.size() + 1, 0);
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        ControlLayout control = layout.controls[i];
        control.parent = renumbered[static_cast<std::size_t>(control.parent)];
        controls.push_back(control);
        const int number = static_cast<int>(controls.size());
        renumbered[i + 1] = number;
        if (!control.radiosFromRule) continue;
        for (ControlLayout& radio : radiosOf(layout, control)) {
            radio.parent = number;
            controls.push_back(std::move(radio));
        }
    }
    layout.controls = std::move(controls);
    return layout;
}

const WindowLayout& procedureLayout(std::string_view name) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<WindowLayout>> completed;
    const std::string key = upperSlovenian(name);
    const WindowLayout& embedded = windowLayout(name);
    std::lock_guard lock(mutex);
    if (auto it = completed.find(key); it != completed.end()) return *it->second;
    auto layout = std::make_unique<WindowLayout>(completeLayout(embedded));
    return *completed.emplace(key, std::move(layout)).first->second;
}

int layoutKey(const TableDef& table, const std::string& key) {
    const int index = table.findKey(key);
    if (index < 0)
        throw std::invalid_argument("table " + std::string(table.name) + " has no key " + key);
    return index;
}

std::string listOrder(const ControlLayout& list) {
    if (!list.binding.order.empty()) return list.binding.order;
    for (const ListColumn& column : list.columns)
        if (!column.key.empty()) return column.key;
    return {};
}

}  // namespace dv
