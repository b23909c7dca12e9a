#include "runtime/GlobalVariables.h"

#include <stdexcept>

#include "runtime/TextCase.h"

namespace dv {

void NamedVariables::add(std::string_view name, VariableRef variable) {
    const auto [at, added] =
        variables_.try_emplace(upperSlovenian(name), Entry{std::string(name), variable});
    if (!added) throw std::invalid_argument("the variable " + std::string(name) + " exists");
}

const VariableRef* NamedVariables::find(std::string_view name) const {
    const auto found = variables_.find(upperSlovenian(name));
    return found == variables_.end() ? nullptr : &found->second.variable;
}

std::unique_ptr<ValueSource> NamedVariables::resolve(std::string_view name) const {
    const VariableRef* variable = find(name);
    if (variable == nullptr) return nullptr;
    return std::make_unique<VariableSource>(*variable);
}

std::vector<std::string> NamedVariables::names() const {
    std::vector<std::string> result;
    result.reserve(variables_.size());
    for (const auto& [key, entry] : variables_) result.push_back(entry.name);
    return result;
}

}  // namespace dv
