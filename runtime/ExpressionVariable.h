#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

#include "runtime/ExpressionNames.h"
#include "runtime/ExpressionValue.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"

namespace dv {

namespace detail {

// Reading and writing one C++ type as an expression value: whole numbers (day numbers and
// times among them), fixed-width texts and fixed-point decimals.
template <typename T>
struct VariableAccess;

// A value as a number for a numeric variable: a number as it is, a text only when it is blank
// (0) or a plain number; anything else is refused.
std::optional<Decimal> numberToStore(const ExpressionValue& value);

template <typename T>
requires(std::integral<T> && !std::same_as<T, bool>) struct VariableAccess<T> {
    static constexpr ValueKind kind = ValueKind::Number;
    static ExpressionValue read(const void* variable) {
        return ExpressionValue::number(Decimal(*static_cast<const T*>(variable)));
    }
    static bool write(void* variable, const ExpressionValue& value) {
        const auto number = numberToStore(value);
        if (!number) return false;
        const auto whole = number->fieldUnits(18, 0);
        if (!whole || Int128{*whole} < Int128{std::numeric_limits<T>::min()} ||
            Int128{*whole} > Int128{std::numeric_limits<T>::max()})
            return false;
        *static_cast<T*>(variable) = static_cast<T>(*whole);
        return true;
    }
};

template <std::size_t N>
struct VariableAccess<FixedText<N>> {
    static constexpr ValueKind kind = ValueKind::Text;
    static ExpressionValue read(const void* variable) {
        return ExpressionValue::text(static_cast<const FixedText<N>*>(variable)->str());
    }
    static bool write(void* variable, const ExpressionValue& value) {
        static_cast<FixedText<N>*>(variable)->assign(value.toText());
        return true;
    }
};

template <int Digits, int Places>
struct VariableAccess<FixedDecimal<Digits, Places>> {
    static constexpr ValueKind kind = ValueKind::Number;
    static ExpressionValue read(const void* variable) {
        return ExpressionValue::number(
            static_cast<const FixedDecimal<Digits, Places>*>(variable)->value());
    }
    static bool write(void* variable, const ExpressionValue& value) {
        const auto number = numberToStore(value);
        return number && static_cast<FixedDecimal<Digits, Places>*>(variable)->assign(*number);
    }
};

}  // namespace detail

// A type that a VariableRef can refer to.
template <typename T>
concept ExpressionVariableType = requires {
    detail::VariableAccess<T>::kind;
};

// A reference to a typed variable of the program that expressions can read and callers can set
// from a value: a whole number of any width, a FixedText or a FixedDecimal. The variable must
// outlive the reference.
class VariableRef {
  public:
    template <ExpressionVariableType T>
    explicit VariableRef(T& variable)
        : variable_(&variable),
          kind_(detail::VariableAccess<T>::kind),
          read_(&detail::VariableAccess<T>::read),
          write_(&detail::VariableAccess<T>::write) {}

    ValueKind kind() const { return kind_; }
    const void* address() const { return variable_; }
    ExpressionValue read() const { return read_(variable_); }
    // Stores the value: a number rounded half away from zero to the variable's places, a text
    // cut to its width. False, and the variable unchanged, when a number does not fit or a
    // numeric variable is given a text that is not a number.
    bool write(const ExpressionValue& value) const { return write_(variable_, value); }

  private:
    void* variable_;
    ValueKind kind_;
    ExpressionValue (*read_)(const void*);
    bool (*write_)(void*, const ExpressionValue&);
};

// A variable as the source of a name in an expression.
class VariableSource final : public ValueSource {
  public:
    explicit VariableSource(VariableRef variable) : variable_(variable) {}
    ValueKind kind() const override { return variable_.kind(); }
    ExpressionValue read() const override { return variable_.read(); }
    const VariableRef& variable() const { return variable_; }

  private:
    VariableRef variable_;
};

}  // namespace dv
