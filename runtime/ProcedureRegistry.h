#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ProcedureThread.h"

namespace dv {

// The procedures that can be started or called by name: the menu's, `START` in code, the UI
// scripts' `start`. Names compare without regard to letter case.
class ProcedureRegistry {
  public:
    // Adds or replaces the procedure of that name.
    void add(std::string_view name, ProcedureBody body);
    void remove(std::string_view name);
    // The procedure, nullptr when none has that name.
    const ProcedureBody* find(std::string_view name) const;
    std::vector<std::string> names() const;

  private:
    std::map<std::string, std::pair<std::string, ProcedureBody>> procedures_;  // by upper case
};

// The program's procedures; start-up registers them before any procedure runs.
ProcedureRegistry& programProcedures();

// A procedure defined in the program's code: its name and the body that runs it, which is told
// the name it runs under (a window procedure loads its layout by it).
using DefinedBody = Response (*)(std::string_view name);
struct DefinedProcedure {
    std::string_view name;
    DefinedBody body;
};

// The line that defines a procedure records it here while the program loads (see
// framework/ProcedureDefinition.h for the macros that write that line).
class ProcedureDefinition {
  public:
    ProcedureDefinition(std::string_view name, DefinedBody body);
};

// Every procedure defined in code, in the order the program loaded their definitions.
std::span<const DefinedProcedure> definedProcedures();

}  // namespace dv
