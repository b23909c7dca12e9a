#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>

#include "runtime/Expression.h"
#include "runtime/GlobalVariables.h"
#include "runtime/LocalVariables.h"

namespace dv {
namespace {

ExpressionValue number(const char* text) {
    return ExpressionValue::number(*Decimal::parse(text));
}

TEST(VariableRef, WholeNumbersAreRoundedAndRefusedBeyondTheirRange) {
    std::uint16_t unit = 7;
    const VariableRef ref(unit);
    EXPECT_EQ(ref.kind(), ValueKind::Number);
    EXPECT_TRUE(ref.write(number("65535")));
    EXPECT_EQ(unit, 65535);
    EXPECT_FALSE(ref.write(number("65536")));
    EXPECT_FALSE(ref.write(number("-1")));
    EXPECT_EQ(unit, 65535);
    EXPECT_TRUE(ref.write(number("2.5")));
    EXPECT_EQ(unit, 3);
    EXPECT_TRUE(ref.write(ExpressionValue::text(" 12 ")));
    EXPECT_EQ(ref.read(), ExpressionValue::number(12));
    EXPECT_TRUE(ref.write(ExpressionValue::text("")));
    EXPECT_EQ(unit, 0);
    unit = 5;
    EXPECT_FALSE(ref.write(ExpressionValue::text("12a")));
    EXPECT_EQ(unit, 5);

    std::int16_t signedUnit = 0;
    EXPECT_TRUE(VariableRef(signedUnit).write(number("-2.5")));
    EXPECT_EQ(signedUnit, -3);
    EXPECT_FALSE(VariableRef(signedUnit).write(number("-32769")));
}

TEST(VariableRef, TextsAreCutToTheirWidthAndDecimalsRoundedToTheirPlaces) {
    FixedText<5> code;
    const VariableRef text(code);
    EXPECT_EQ(text.kind(), ValueKind::Text);
    EXPECT_TRUE(text.write(ExpressionValue::text("ABCDEFG")));
    EXPECT_EQ(code.raw(), "ABCDE");
    EXPECT_TRUE(text.write(number("1.50")));
    EXPECT_EQ(code.raw(), "1.50 ");
    EXPECT_EQ(text.read(), ExpressionValue::text("1.50"));

    FixedDecimal<5, 2> amount;
    const VariableRef decimal(amount);
    EXPECT_TRUE(decimal.write(number("1.005")));
    EXPECT_EQ(amount.units(), 101);
    EXPECT_TRUE(decimal.write(ExpressionValue::text("12.345")));
    EXPECT_EQ(amount.units(), 1235);
    EXPECT_FALSE(decimal.write(number("1000")));
    EXPECT_EQ(amount.units(), 1235);
    EXPECT_EQ(decimal.read(), number("12.35"));
}

TEST(NamedVariables, FindsNamesWithoutRegardToCaseAndRefusesTwins) {
    NamedVariables names;
    std::uint16_t from = 3;
    FixedText<20> title;
    names.add("GLO:OdSkupine", from);
    names.add("GLO:NazivČ", title);
    ASSERT_NE(names.find("glo:odskupine"), nullptr);
    EXPECT_EQ(names.find("GLO:ODSKUPINE")->address(), &from);
    EXPECT_EQ(names.find("glo:nazivč")->address(), &title);
    EXPECT_EQ(names.find("GLO:DoSkupine"), nullptr);
    EXPECT_THROW(names.add("glo:ODSKUPINE", title), std::invalid_argument);
    EXPECT_EQ(names.names(), (std::vector<std::string>{"GLO:NazivČ", "GLO:OdSkupine"}));

    EXPECT_EQ(names.resolve("nobody"), nullptr);
    const auto source = names.resolve("Glo:OdSkupine");
    ASSERT_NE(source, nullptr);
    from = 9;
    EXPECT_EQ(source->read(), ExpressionValue::number(9));
}

TEST(LocalVariables, TheInnermostScopeOfTheThreadBindsItsNames) {
    EXPECT_EQ(LocalVariables::innermost(), nullptr);
    FixedText<1> wholesale("V");
    FixedText<1> retail("M");
    {
        LocalVariables outer;
        outer.add("Loc:VP", wholesale);
        EXPECT_EQ(LocalVariables::innermost(), &outer);
        {
            LocalVariables inner;
            inner.add("Loc:MP", retail);
            EXPECT_EQ(LocalVariables::innermost(), &inner);
            EXPECT_EQ(LocalVariables::innermost()->find("loc:vp"), nullptr);
            // Another procedure thread sees none of this thread's scopes.
            const LocalVariables* elsewhere = &inner;
            std::thread([&] { elsewhere = LocalVariables::innermost(); }).join();
            EXPECT_EQ(elsewhere, nullptr);
        }
        EXPECT_EQ(LocalVariables::innermost(), &outer);
        EXPECT_TRUE(Expression::compile("LOC:VP = 'V'", *LocalVariables::innermost()).isTrue());
    }
    EXPECT_EQ(LocalVariables::innermost(), nullptr);
}

TEST(LocalVariables, AScopeEndedOutOfOrderLeavesNoDanglingLink) {
    auto outer = std::make_unique<LocalVariables>();
    auto middle = std::make_unique<LocalVariables>();
    LocalVariables inner;
    middle.reset();
    EXPECT_EQ(LocalVariables::innermost(), &inner);
    outer.reset();
    EXPECT_EQ(LocalVariables::innermost(), &inner);
}

TEST(NameResolverChain, AsksInTurnAndTheFirstThatKnowsANameWins) {
    NamedVariables locals;
    NamedVariables globals;
    std::int32_t local = 1;
    std::int32_t global = 2;
    std::int32_t onlyGlobal = 3;
    locals.add("X", local);
    globals.add("x", global);
    globals.add("Y", onlyGlobal);
    const NameResolverChain chain{&locals, nullptr, &globals};
    EXPECT_TRUE(Expression::compile("X = 1 AND Y = 3", chain).isTrue());
    EXPECT_EQ(chain.resolve("Z"), nullptr);
}

}  // namespace
}  // namespace dv
