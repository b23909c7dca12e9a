#pragma once

#include <string>
#include <string_view>

#include "runtime/ProcedureRegistry.h"

// A procedure of the program is defined by one line in its own source file; the name is written
// once, there. Start-up registers every defined procedure with registerProgramProcedures, so
// that the menu, `START` in code, lookups and UI scripts find it by name.
//
// A window procedure whose class says everything is the class, named as the procedure and
// constructed with that name (by which it loads its layout):
//
//   class BrowseSFVRPROM final : public BrowseProcedure {
//       using BrowseProcedure::BrowseProcedure;
//       bool MayAsk(Request request) const override { ... }
//   };
//   DV_PROCEDURE_CLASS(BrowseSFVRPROM);
//
// A procedure with a body of its own gets its name as `procedure`:
//
//   DV_PROCEDURE(IzpisSifrantEnote) {
//       ...
//       return printCodeList(printout);
//   }
//
// A list, form or print-options window whose layout says everything needs no code at all: its
// layout declares `procedure=list`, `procedure=form` or `procedure=print` on the window line.
#define DV_PROCEDURE_CLASS(Class)                                                             \
    const ::dv::ProcedureDefinition dvDefinitionOf##Class(#Class, [](std::string_view name) { \
        Class procedure{std::string(name)};                                                   \
        return procedure.Execute();                                                           \
    })

#define DV_PROCEDURE(Name)                                             \
    Response Name(std::string_view procedure);                         \
    const ::dv::ProcedureDefinition dvDefinitionOf##Name(#Name, Name); \
    Response Name([[maybe_unused]] std::string_view procedure)

namespace dv {

// Registers every procedure the program defines: those defined in code and those whose layout
// alone defines them. A name defined twice throws std::logic_error.
void registerProgramProcedures(ProcedureRegistry& registry);
// The same with the given definitions in place of those of the program's code.
void registerProgramProcedures(ProcedureRegistry& registry,
                               std::span<const DefinedProcedure> defined);

// The names of the procedures that layouts alone define, sorted.
std::vector<std::string> layoutDefinedProcedures();

}  // namespace dv
