#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "runtime/Date.h"
#include "runtime/Expression.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"

namespace dv {
namespace {

// Variables standing for a record's fields and the program's variables.
class Expressions : public ::testing::Test {
  protected:
    Expressions() {
        names.add("T:A", a);
        names.add("T:B", b);
        names.add("T:C", c);
        names.add("T:Name", name);
        names.add("T:Qty", quantity);
        names.add("GLO:Typed", typed);
    }

    bool holds(const std::string& text) { return Expression::compile(text, names).isTrue(); }

    NamedVariables names;
    std::int32_t a = 1;
    std::int32_t b = 0;
    std::int32_t c = 0;
    FixedText<10> name{"AB"};
    FixedDecimal<9, 3> quantity;
    FixedText<40> typed;
};

TEST_F(Expressions, AndBindsTighterThanOrAndNotTighterThanAnd) {
    // a = 1, b = 0, c = 0
    EXPECT_TRUE(holds("T:A = 1 OR T:B = 1 AND T:C = 1"));
    EXPECT_TRUE(holds("T:C = 1 AND T:B = 1 OR T:A = 1"));
    EXPECT_FALSE(holds("T:C = 1 AND (T:B = 1 OR T:A = 1)"));
    EXPECT_TRUE(holds("(T:C = 1 AND T:B = 1) OR T:A = 1"));
    // NOT takes the whole comparison, and no more than the next AND.
    EXPECT_TRUE(holds("NOT T:A = 2 AND T:B = 0"));
    EXPECT_FALSE(holds("NOT (T:A = 1 OR T:B = 1)"));
    EXPECT_TRUE(holds("NOT NOT T:A = 1"));
    EXPECT_FALSE(holds("~(T:A = 1)"));
    EXPECT_TRUE(holds("T:A OR T:B"));
    EXPECT_FALSE(holds("T:A AND T:B"));
}

TEST_F(Expressions, ComparisonOperatorsInEverySpelling) {
    EXPECT_TRUE(holds("T:A = 1 AND T:A <> 2 AND T:A < 2 AND T:A > 0 AND T:A <= 1 AND T:A >= 1"));
    EXPECT_TRUE(holds("T:A =< 1 AND T:A => 1 AND T:A ~= 2 AND T:A ~< 1 AND T:A ~> 1"));
    EXPECT_FALSE(holds("T:A ~= 1"));
    EXPECT_FALSE(holds("T:A ~< 2"));
    EXPECT_TRUE(holds("-T:A < 0 AND T:A > -5 AND - -1 = 1 AND +1 = 1"));
}

TEST_F(Expressions, KeywordsAndNamesInAnyLetterCase) {
    EXPECT_TRUE(holds("t:a = 1 aNd T:b = 0 Or t:C = 9"));
    EXPECT_TRUE(holds("not t:name = 'x' and glo:TYPED = ''"));
    EXPECT_TRUE(holds("upper(T:NAME) = 'AB'"));
}

TEST_F(Expressions, TextComparesWithoutTrailingBlanksButWithCaseAndLeadingBlanks) {
    EXPECT_TRUE(holds("T:Name = 'AB'"));
    EXPECT_TRUE(holds("T:Name = 'AB      '"));
    EXPECT_TRUE(holds("T:Name >= 'AB  ' AND T:Name <= 'AB'"));
    EXPECT_TRUE(holds("T:Name <> ' AB' AND T:Name <> 'ab'"));
    EXPECT_TRUE(holds("T:Name > 'A' AND T:Name < 'AC' AND T:Name > 'AAZZ'"));
    // Unicode order: the Slovenian letters after the plain ones, in alphabet order.
    EXPECT_TRUE(holds("'Č' > 'C' AND 'Č' < 'Š' AND 'Š' < 'Ž' AND 'Ž' > 'Z'"));
    EXPECT_TRUE(holds("'it''s' = 'it''s' AND 'it''s' <> 'its'"));
}

TEST_F(Expressions, ANumberAndATextCompareAsNumbers) {
    EXPECT_TRUE(holds("T:A = '1' AND T:A = ' 1 ' AND '1.0' = T:A"));
    EXPECT_TRUE(holds("T:A > 'x' AND '' = 0 AND 'abc' = 0"));
    EXPECT_TRUE(holds("'10' > 9 AND NOT '10' > '9'"));
}

TEST_F(Expressions, DecimalsCompareByValue) {
    quantity = Decimal(3).divide(Decimal(2), 1);  // 1.500 in a 3-place field
    EXPECT_TRUE(holds("T:Qty = 1.5 AND T:Qty = 1.50000 AND T:Qty = '1.5'"));
    EXPECT_TRUE(holds("T:Qty > 1.4999 AND T:Qty < 1.5001 AND T:Qty <> 1.5001"));
    EXPECT_FALSE(holds("T:Qty = 1.5000001"));
    EXPECT_TRUE(holds("-T:Qty = -1.5"));
}

TEST_F(Expressions, ValuesAreReadAtEachEvaluation) {
    const Expression filter = Expression::compile("T:A >= 5 AND T:Name = 'X'", names);
    EXPECT_FALSE(filter.isTrue());
    a = 7;
    name = "X";
    EXPECT_TRUE(filter.isTrue());
    a = 4;
    EXPECT_FALSE(filter.isTrue());
}

TEST_F(Expressions, TextFunctions) {
    EXPECT_TRUE(holds("UPPER('čaša žoga') = 'ČAŠA ŽOGA' AND LOWER('ŽABA') = 'žaba'"));
    EXPECT_TRUE(holds("SUB('ABCDE', 2, 3) = 'BCD' AND SUB('ABCDE', -2, 2) = 'DE'"));
    EXPECT_TRUE(holds("SUB('ABCDE', 4, 10) = 'DE' AND SUB('ABCDE', 0, 2) = 'AB'"));
    EXPECT_TRUE(holds("SUB('ABCDE', 9, 1) = '' AND SUB('ABCDE', 2, 0) = ''"));
    EXPECT_TRUE(holds("SUB('čšž', 2, 1) = 'š' AND SUB('A B', 1, 2) = 'A'"));
    EXPECT_TRUE(holds("LEN('AB  ') = 2 AND LEN('čšž') = 3 AND CLIP('A  ') = 'A'"));
    EXPECT_TRUE(holds("LEN(T:Name) = 2"));
}

TEST_F(Expressions, NumericOfTheFirstCharacterSkipsLettersAndBlanks) {
    const Expression filter = Expression::compile("numeric(sub(GLO:Typed,1,1))", names);
    for (const char* code : {"3830001234567", "0", "9ABC"}) {
        typed = code;
        EXPECT_TRUE(filter.isTrue()) << code;
    }
    for (const char* code : {"", " 383", "EAN", "-1", ".5"}) {
        typed = code;
        EXPECT_FALSE(filter.isTrue()) << code;
    }
    EXPECT_TRUE(holds("NUMERIC('-1.5') AND NUMERIC(' 7 ') AND NUMERIC('3.')"));
    EXPECT_FALSE(holds("NUMERIC('1,5') OR NUMERIC('1.2.3') OR NUMERIC('') OR NUMERIC('-')"));
}

TEST_F(Expressions, SearchFunctions) {
    EXPECT_TRUE(
        holds("INSTRING('DEF', 'ABCDEFGHI', 1, 1) = 4 AND INSTRING('DEF', 'ABCDEFGHI') = 4"));
    EXPECT_TRUE(holds("INSTRING('DEF', 'ABCDEFGHI', 3, 1) = 2"));
    EXPECT_TRUE(holds("INSTRING('B', 'ABAB', 1, 3) = 4 AND INSTRING('š', 'ašb') = 2"));
    EXPECT_TRUE(holds("INSTRING('X', 'ABC') = 0 AND INSTRING('', 'ABC') = 0"));
    EXPECT_TRUE(holds("INSTRING('C', 'ABC', 0, -4) = 3"));
    EXPECT_TRUE(holds("INLIST('B', 'A', 'B', 'C') = 2 AND INLIST(2, '1', '2') = 2"));
    EXPECT_TRUE(holds("INLIST('X', 'A') = 0 AND INLIST(T:Name, 'x', 'AB  ') = 2"));
}

TEST_F(Expressions, TodayIsTheProgramsClock) {
    setFixedToday(dayNumber(2024, 3, 1));
    EXPECT_TRUE(holds("TODAY() = " + std::to_string(dayNumber(2024, 3, 1))));
    EXPECT_TRUE(holds("TODAY() > " + std::to_string(dayNumber(2024, 2, 29))));
    setFixedToday(0);
}

TEST_F(Expressions, ATypedValueInQuotesStaysOneValue) {
    const std::string attack = "O'Brien' OR 1=1 --";
    const Expression filter =
        Expression::compile("GLO:Typed = " + quoteExpressionText(attack), names);
    EXPECT_EQ(filter.root().kind, ExpressionNode::Kind::Compare);
    typed = "O'Brien";
    EXPECT_FALSE(filter.isTrue());
    typed = attack;
    EXPECT_TRUE(filter.isTrue());
}

TEST_F(Expressions, LongChainsDoNotNest) {
    std::string text = "T:A = 1";
    for (int i = 0; i < 5000; ++i) text += " AND T:B = 0";
    EXPECT_TRUE(holds(text));
    text += " OR T:C = 1";
    EXPECT_TRUE(holds(text));
}

}  // namespace
}  // namespace dv
