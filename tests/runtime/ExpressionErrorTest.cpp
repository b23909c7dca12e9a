#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "runtime/Expression.h"
#include "runtime/ExpressionError.h"
#include "runtime/GlobalVariables.h"

namespace dv {
namespace {

struct Refusal {
    std::string text;
    std::size_t position;
    std::string problem;
};

class ExpressionErrors : public ::testing::Test {
  protected:
    ExpressionErrors() {
        names.add("T:A", a);
        names.add("T:B", b);
    }

    // The error that compiling `text` raises; fails the test when it compiles.
    ExpressionError refusal(const std::string& text) {
        try {
            Expression::compile(text, names);
        } catch (const ExpressionError& error) {
            return error;
        }
        ADD_FAILURE() << "accepted: " << text;
        return ExpressionError("", 0);
    }

    NamedVariables names;
    std::int32_t a = 0;
    std::int32_t b = 0;
};

TEST_F(ExpressionErrors, UnreadableExpressionsAreRefusedWithWhatAndWhere) {
    const Refusal cases[] = {
        {"", 1, "the expression is empty"},
        {"   ", 1, "the expression is empty"},
        {"T:A = ", 7, "expected a value, found the end of the expression"},
        {"T:A = 'abc", 7, "text without its closing quote"},
        {"T:A = 1)", 8, "expected AND, OR or an operator, found ')'"},
        {"(T:A = 1", 9, "expected ')', found the end of the expression"},
        {"T:A == 1", 6, "expected a value, found a comparison"},
        {"T:A = 1 = 1", 9, "a comparison cannot compare another one"},
        {"T:A = 1 AND", 12, "expected a value, found the end of the expression"},
        {"T:A = 1 T:B = 1", 9, "expected AND, OR or an operator, found 'T:B'"},
        {"T:A = 1abc", 8, "unexpected character 'a' after a number"},
        {"T:A # 1", 5, "unexpected character '#'"},
        {"T:A = 1\x01", 8, "unexpected character 0x01"},
        {"FOO(T:A) = 1", 1, "unknown function FOO"},
        {"SUB('A', 1) = 'A'", 1, "SUB takes 3 arguments, not 2"},
        {"UPPER() = ''", 1, "UPPER takes 1 argument, not 0"},
        {"UPPER('a' 'b') = ''", 11, "expected ',' or ')', found a text"},
        {"GLO:Nope = 1", 1, "unknown name GLO:Nope"},
        {"T:A = 1 AND T:Nope = 1", 13, "unknown name T:Nope"},
        // Positions count characters, not bytes.
        {"'čš' = T:X", 8, "unknown name T:X"},
        {"T:A = 123456789012345678901234567890123456789012", 7, "number too long"},
    };
    for (const Refusal& expected : cases) {
        const ExpressionError error = refusal(expected.text);
        EXPECT_EQ(error.position(), expected.position) << expected.text;
        EXPECT_EQ(error.problem().substr(0, expected.problem.size()), expected.problem)
            << expected.text << " gave: " << error.problem();
    }
}

TEST_F(ExpressionErrors, TheMessageNamesTheProblemAndThePosition) {
    EXPECT_STREQ(refusal("T:A = 1 AND T:Nope = 1").what(), "unknown name T:Nope at position 13");
}

TEST_F(ExpressionErrors, DeepNestingIsRefusedNotOverflowed) {
    EXPECT_NO_THROW(
        Expression::compile(std::string(90, '(') + "T:A" + std::string(90, ')'), names));
    EXPECT_EQ(refusal(std::string(5000, '(') + "1" + std::string(5000, ')')).problem(),
              "the expression is nested too deeply");
    EXPECT_EQ(refusal(std::string(5000, '-') + "1").problem(),
              "the expression is nested too deeply");
    EXPECT_EQ(refusal(std::string(5000, '~') + "1").problem(),
              "the expression is nested too deeply");
}

TEST_F(ExpressionErrors, ANameTheResolverRefusesCarriesItsReason) {
    struct Refusing : NameResolver {
        std::unique_ptr<ValueSource> resolve(std::string_view) const override {
            throw std::invalid_argument("X:G is a group; name one of its fields");
        }
    } refusing;
    try {
        Expression::compile("1 = 1 AND X:G = 1", refusing);
        ADD_FAILURE() << "accepted";
    } catch (const ExpressionError& error) {
        EXPECT_EQ(error.problem(), "X:G is a group; name one of its fields");
        EXPECT_EQ(error.position(), 11u);
    }
}

}  // namespace
}  // namespace dv
