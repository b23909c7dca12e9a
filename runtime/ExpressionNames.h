#pragma once

#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/ExpressionValue.h"

namespace dv {

// Where the value of a name lives: a record field, a program-wide or a procedure-local
// variable. Read each time the expression is evaluated, so a changed value counts at once.
class ValueSource {
  public:
    virtual ~ValueSource() = default;
    // The kind of every value read; fixed for the life of the source.
    virtual ValueKind kind() const = 0;
    virtual ExpressionValue read() const = 0;
};

// Binds the names of an expression ("INVENDET:Skupina", "GLO:OdSkupine", "Loc:VP") to their
// values. Names are compared without regard to case.
class NameResolver {
  public:
    virtual ~NameResolver() = default;
    // The source of `name`; nullptr when the name is unknown here. Throws std::invalid_argument
    // (with the reason) for a name that is known but cannot take part in an expression.
    virtual std::unique_ptr<ValueSource> resolve(std::string_view name) const = 0;
};

// Asks several resolvers in turn; the first that knows a name binds it.
class NameResolverChain final : public NameResolver {
  public:
    NameResolverChain(std::initializer_list<const NameResolver*> resolvers)
        : resolvers_(resolvers) {}

    std::unique_ptr<ValueSource> resolve(std::string_view name) const override {
        for (const NameResolver* resolver : resolvers_)
            if (resolver != nullptr)
                if (auto source = resolver->resolve(name)) return source;
        return nullptr;
    }

  private:
    std::vector<const NameResolver*> resolvers_;
};

}  // namespace dv
