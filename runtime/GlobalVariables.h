#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ExpressionNames.h"
#include "runtime/ExpressionVariable.h"

namespace dv {

// Variables by name ("GLO:OdSkupine", "Loc:VP"), found without regard to case: what
// expressions reach a program's variables through.
class NamedVariables : public NameResolver {
  public:
    NamedVariables() = default;
    NamedVariables(const NamedVariables&) = delete;
    NamedVariables& operator=(const NamedVariables&) = delete;

    // Adds `variable` under `name`. Throws std::invalid_argument when the name is taken.
    template <ExpressionVariableType T>
    void add(std::string_view name, T& variable) {
        add(name, VariableRef(variable));
    }
    void add(std::string_view name, VariableRef variable);

    // The variable named `name`, or nullptr.
    const VariableRef* find(std::string_view name) const;
    std::unique_ptr<ValueSource> resolve(std::string_view name) const override;
    // Every name as it was added, in order of the names without regard to case.
    std::vector<std::string> names() const;
    std::size_t size() const { return variables_.size(); }

  private:
    struct Entry {
        std::string name;  // as added
        VariableRef variable;
    };
    std::map<std::string, Entry, std::less<>> variables_;  // by upper-case name
};

// The program-wide variables (prefix GLO:), one registry that start-up fills.
using GlobalVariables = NamedVariables;

}  // namespace dv
