#include "framework/ProcedureDefinition.h"

#include <set>
#include <stdexcept>
#include <string>

#include "framework/BrowseProcedure.h"
#include "framework/FormProcedure.h"
#include "framework/PrintOptionsWindow.h"
#include "runtime/LayoutResources.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

template <typename Procedure>
ProcedureBody runAs(std::string name) {
    return [name = std::move(name)] {
        Procedure procedure{name};
        return procedure.Execute();
    };
}

// The body of a procedure its layout alone defines, by the kind the layout declares.
ProcedureBody layoutBody(const WindowLayout& layout) {
    if (layout.procedure == "list") return runAs<BrowseProcedure>(layout.name);
    if (layout.procedure == "form") return runAs<FormProcedure>(layout.name);
    return runAs<PrintOptionsWindow>(layout.name);
}

// Names compare as the registry compares them, without regard to letter case.
void addOnce(ProcedureRegistry& registry, std::set<std::string>& added, std::string_view name,
             ProcedureBody body) {
    if (!added.insert(upperSlovenian(name)).second)
        throw std::logic_error("the procedure " + std::string(name) + " is defined twice");
    registry.add(name, std::move(body));
}

}  // namespace

std::vector<std::string> layoutDefinedProcedures() {
    std::vector<std::string> names;
    for (const std::string& name : windowLayoutNames())
        if (!windowLayout(name).procedure.empty()) names.push_back(name);
    return names;
}

void registerProgramProcedures(ProcedureRegistry& registry) {
    registerProgramProcedures(registry, definedProcedures());
}

void registerProgramProcedures(ProcedureRegistry& registry,
                               std::span<const DefinedProcedure> defined) {
    std::set<std::string> added;
    for (const DefinedProcedure& procedure : defined)
        addOnce(registry, added, procedure.name,
                [body = procedure.body, name = std::string(procedure.name)] { return body(name); });
    for (const std::string& name : layoutDefinedProcedures())
        addOnce(registry, added, name, layoutBody(windowLayout(name)));
}

}  // namespace dv
