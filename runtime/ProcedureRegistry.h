#pragma once

#include <map>
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

}  // namespace dv
