#include "runtime/ProcedureRegistry.h"

#include "runtime/TextCase.h"

namespace dv {

void ProcedureRegistry::add(std::string_view name, ProcedureBody body) {
    procedures_[upperSlovenian(name)] = {std::string(name), std::move(body)};
}

void ProcedureRegistry::remove(std::string_view name) {
    procedures_.erase(upperSlovenian(name));
}

const ProcedureBody* ProcedureRegistry::find(std::string_view name) const {
    auto it = procedures_.find(upperSlovenian(name));
    return it == procedures_.end() ? nullptr : &it->second.second;
}

std::vector<std::string> ProcedureRegistry::names() const {
    std::vector<std::string> names;
    for (const auto& [key, entry] : procedures_) names.push_back(entry.first);
    return names;
}

ProcedureRegistry& programProcedures() {
    static ProcedureRegistry registry;
    return registry;
}

namespace {

// Built on first use: definitions run while the program's objects are initialised, in an order
// no one chooses.
std::vector<DefinedProcedure>& definitions() {
    static std::vector<DefinedProcedure> defined;
    return defined;
}

}  // namespace

ProcedureDefinition::ProcedureDefinition(std::string_view name, DefinedBody body) {
    definitions().push_back({name, body});
}

std::span<const DefinedProcedure> definedProcedures() {
    return definitions();
}

}  // namespace dv
