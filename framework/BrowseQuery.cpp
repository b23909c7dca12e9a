#include "framework/BrowseQuery.h"

#include <array>
#include <cctype>
#include <optional>
#include <vector>

#include "framework/BrowseRange.h"
#include "runtime/Expression.h"
#include "runtime/PictureFormat.h"
#include "runtime/TextCase.h"
#include "storage/ViewFields.h"

namespace dv {
namespace {

enum class Op : std::uint8_t {
    Contains,
    Without,
    StartsWith,
    Soundex,
    EndsWith,
    Equals,
    Not,
    And,
    Or,
    Date,
    Range,
    Over,
    Under,
    UnderEqual,
    OverEqual,
};

constexpr std::array<QueryOperator, 15> kOperators = {{
    {"CONTAINS", "*"},
    {"WITHOUT", "-"},
    {"STARTSWITH", "^"},
    {"SOUNDEX", "?"},
    {"ENDSWITH", "."},
    {"EQUALS", "="},
    {"NOT", "~"},
    {"AND", "&"},
    {"OR", "|"},
    {"DATE", "@"},
    {"RANGE", "!"},
    {"OVER", ">"},
    {"UNDER", "<"},
    {"UNDEREQUAL", "<="},
    {"OVEREQUAL", ">="},
}};

enum class FieldKind : std::uint8_t { Text, Number, Date };

struct Term {
    std::string text;
    std::string joint;  // " AND " or " OR " before it; empty for the first
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// "AND" or "OR" as a word at `at`, outside quotes: its length, else 0.
std::size_t wordJoint(std::string_view query, std::size_t at, std::string& joint) {
    if (at > 0 && !isBlank(query[at - 1])) return 0;
    for (const auto& [word, sql] : {std::pair{"AND", " AND "}, {"OR", " OR "}}) {
        const std::size_t length = std::string_view(word).size();
        if (query.size() - at < length || !equalsIgnoreCaseAscii(query.substr(at, length), word))
            continue;
        if (at + length < query.size() && !isBlank(query[at + length])) continue;
        joint = sql;
        return length;
    }
    return 0;
}

// The terms of a query with the joints between them; quotes are kept for the values.
std::vector<Term> splitTerms(std::string_view query) {
    std::vector<Term> terms(1);
    bool quoted = false;
    for (std::size_t i = 0; i < query.size(); ++i) {
        const char c = query[i];
        std::string joint;
        if (c == '"') quoted = !quoted;
        if (!quoted && (c == '&' || c == '|')) {
            terms.push_back({{}, c == '&' ? " AND " : " OR "});
            continue;
        }
        // A word joint needs a term before it: "AND" first in a term is a value.
        if (!quoted && !trimBlanks(terms.back().text).empty()) {
            if (const std::size_t length = wordJoint(query, i, joint); length > 0) {
                terms.push_back({{}, joint});
                i += length - 1;
                continue;
            }
        }
        terms.back().text += c;
    }
    return terms;
}

FieldKind kindOf(const FieldDef& field) {
    if (isTextField(field)) return FieldKind::Text;
    return field.type == FieldType::Date ? FieldKind::Date : FieldKind::Number;
}

std::size_t characters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

// The operator a term begins with, and the rest of the term.
std::optional<Op> leadingOperator(std::string_view& term, FieldKind kind) {
    // A sign or decimal point in front of a number of a number field belongs to the number.
    if (kind == FieldKind::Number && term.size() > 1 && (term[0] == '-' || term[0] == '.') &&
        std::isdigit(static_cast<unsigned char>(term[1])))
        return std::nullopt;
    std::optional<Op> found;
    std::size_t length = 0;
    for (std::size_t i = 0; i < kOperators.size(); ++i) {
        const QueryOperator& op = kOperators[i];
        if (term.starts_with(op.symbol) && op.symbol.size() > length) {
            found = static_cast<Op>(i);
            length = op.symbol.size();
        }
        const std::size_t word = op.keyword.size();
        if (term.size() > word && equalsIgnoreCaseAscii(term.substr(0, word), op.keyword) &&
            isBlank(term[word]) && word + 1 > length) {
            found = static_cast<Op>(i);
            length = word + 1;
        }
    }
    term = trimBlanks(term.substr(length));
    return found;
}

std::string unquote(std::string_view value) {
    value = trimBlanks(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// A value as an expression literal for the field, or the reason it is not one.
std::optional<std::string> literal(std::string_view value, FieldKind kind, bool asDate,
                                   std::string& error) {
    if (value.empty()) {
        error = "a value is missing";
        return std::nullopt;
    }
    if (kind == FieldKind::Date || asDate) {
        for (const char* picture : {"@D2", "@D10-"}) {
            const Deformatted<DayNumber> day = deformatDate(value, Picture::of(picture));
            if (day.ok() && day.value != 0) return std::to_string(day.value);
        }
        if (kind != FieldKind::Date) {
            const Deformatted<TimeValue> time = deformatTime(value, Picture::of("@T4"));
            if (time.ok() && time.value != 0) return std::to_string(time.value);
        }
        error = "\"" + std::string(value) + "\" is not a date";
        return std::nullopt;
    }
    if (kind == FieldKind::Number) {
        const std::optional<Decimal> number = Decimal::parse(value);
        if (!number) {
            error = "\"" + std::string(value) + "\" is not a number";
            return std::nullopt;
        }
        return number->toString();
    }
    return quoteExpressionText(upperSlovenian(value));
}

std::string compared(const std::string& field, FieldKind kind) {
    return kind == FieldKind::Text ? "UPPER(" + field + ")" : field;
}

// The condition of one term, or the reason it cannot be read.
std::optional<std::string> condition(std::string_view term, const std::string& field,
                                     FieldKind kind, std::string& error) {
    term = trimBlanks(term);
    bool negated = false;
    if (term.starts_with("~") ||
        (term.size() > 4 && equalsIgnoreCaseAscii(term.substr(0, 3), "NOT") && isBlank(term[3]))) {
        negated = true;
        term = trimBlanks(term.substr(term.starts_with("~") ? 1 : 4));
    }
    const std::optional<Op> given = leadingOperator(term, kind);
    const Op op = given.value_or(kind == FieldKind::Text ? Op::StartsWith : Op::Equals);
    const std::string value = unquote(term);
    const bool textOnly = op == Op::Contains || op == Op::Without || op == Op::StartsWith ||
                          op == Op::EndsWith || op == Op::Soundex;
    if (op == Op::Not || op == Op::And || op == Op::Or) {
        error = "an operator stands where a value belongs";
        return std::nullopt;
    }
    if (op == Op::Soundex) {
        error = "searching by sound (SOUNDEX) is not available";
        return std::nullopt;
    }
    if (textOnly && kind != FieldKind::Text) {
        error = std::string(kOperators[static_cast<std::size_t>(op)].keyword) +
                " applies to texts only";
        return std::nullopt;
    }
    std::string text;
    const std::string left = compared(field, kind);
    if (op == Op::Range) {
        const std::size_t dots = value.find("..");
        if (dots == std::string::npos) {
            error = "a range is written low..high";
            return std::nullopt;
        }
        const auto low =
            literal(trimBlanks(std::string_view(value).substr(0, dots)), kind, false, error);
        const auto high =
            low ? literal(trimBlanks(std::string_view(value).substr(dots + 2)), kind, false, error)
                : std::nullopt;
        if (!high) return std::nullopt;
        text = left + " >= " + *low + " AND " + left + " <= " + *high;
    } else {
        const auto operand = literal(value, kind, op == Op::Date, error);
        if (!operand) return std::nullopt;
        const std::string count = std::to_string(characters(upperSlovenian(value)));
        switch (op) {
            case Op::Contains:
                text = "INSTRING(" + *operand + ", " + left + ", 1, 1) > 0";
                break;
            case Op::Without:
                text = "INSTRING(" + *operand + ", " + left + ", 1, 1) = 0";
                break;
            case Op::StartsWith:
                text = "SUB(" + left + ", 1, " + count + ") = " + *operand;
                break;
            case Op::EndsWith:
                text = "SUB(" + left + ", -" + count + ", " + count + ") = " + *operand;
                break;
            case Op::Over:
                text = left + " > " + *operand;
                break;
            case Op::Under:
                text = left + " < " + *operand;
                break;
            case Op::UnderEqual:
                text = left + " <= " + *operand;
                break;
            case Op::OverEqual:
                text = left + " >= " + *operand;
                break;
            default:
                text = left + " = " + *operand;
                break;
        }
    }
    return negated ? "NOT (" + text + ")" : text;
}

}  // namespace

std::span<const QueryOperator> queryOperators() {
    return kOperators;
}

QueryFilter buildQueryFilter(std::string_view query, const TableDef& table, int field) {
    const std::string name = expressionFieldName(table, field);
    const FieldKind kind = kindOf(table.fields[static_cast<std::size_t>(field)]);
    QueryFilter result;
    for (const Term& term : splitTerms(query)) {
        const auto part = condition(term.text, name, kind, result.error);
        if (!part) {
            result.filter.clear();
            return result;
        }
        result.filter += term.joint + "(" + *part + ")";
    }
    return result;
}

}  // namespace dv
