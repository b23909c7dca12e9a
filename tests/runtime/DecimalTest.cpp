#include <gtest/gtest.h>

#include <stdexcept>

#include "runtime/Decimal.h"

namespace dv {
namespace {

Decimal dec(std::string_view text) {
    const auto value = Decimal::parse(text);
    if (!value) throw std::invalid_argument("not a decimal: " + std::string(text));
    return *value;
}

Int128 tenTo(int exponent) {
    Int128 value = 1;
    for (int i = 0; i < exponent; ++i) value *= 10;
    return value;
}

TEST(DecimalParse, ReadsNumbersAsUsersTypeThem) {
    const std::pair<const char*, const char*> cases[] = {
        {"12,5", "12.5"},
        {"12.5", "12.5"},
        {"  -12.500 ", "-12.500"},
        {"+3", "3"},
        {"7-", "-7"},
        {"- 4,25", "-4.25"},
        {"1.234,56", "1234.56"},
        {"1,234.56", "1234.56"},
        {"1.234.567", "1234567"},
        {"1,234,567.5", "1234567.5"},
        {"1.234", "1.234"},
        {",5", "0.5"},
        {"5.", "5"},
        {"007", "7"},
        {"0,000", "0.000"},
    };
    for (const auto& [typed, expected] : cases) {
        const auto value = Decimal::parse(typed);
        ASSERT_TRUE(value.has_value()) << typed;
        EXPECT_EQ(value->toString(), expected) << typed;
    }
}

TEST(DecimalParse, RefusesWhatIsNotANumber) {
    for (const char* typed :
         {"", "   ", "-", "+", "abc", "12a", "--5", "+-5", "-5-", "1.2.3,4", "1,23,456.7",
          "1.2,3.4", "1,,5", "12 5", "1.23.45", ".", "1.234.56"}) {
        EXPECT_FALSE(Decimal::parse(typed).has_value()) << typed;
    }
    // 31 places, and more digits than 128 bits hold.
    EXPECT_FALSE(Decimal::parse("0.1234567890123456789012345678901").has_value());
    EXPECT_FALSE(Decimal::parse("1234567890123456789012345678901234567890").has_value());
    EXPECT_TRUE(Decimal::parse("0.123456789012345678901234567890").has_value());
}

TEST(DecimalParse, RoundTripsThroughText) {
    for (int places = 0; places <= Decimal::maxPlaces; places += 3) {
        for (Int128 units : {Int128(0), Int128(1), Int128(-1), Int128(987654321), -tenTo(37) + 1}) {
            const Decimal value = Decimal::fromUnits(units, places);
            const auto back = Decimal::parse(value.toString());
            ASSERT_TRUE(back.has_value()) << value;
            EXPECT_EQ(back->units(), units);
            EXPECT_EQ(back->places(), places);
        }
    }
}

TEST(DecimalRounding, RoundsHalfAwayFromZero) {
    EXPECT_EQ(dec("2.5").rounded(0).toString(), "3");
    EXPECT_EQ(dec("-2.5").rounded(0).toString(), "-3");
    EXPECT_EQ(dec("-2.4999").rounded(0).toString(), "-2");
    EXPECT_EQ(dec("1.005").rounded(2).toString(), "1.01");
    EXPECT_EQ(dec("-1.005").rounded(2).toString(), "-1.01");
    EXPECT_EQ(dec("999.9995").rounded(3).toString(), "1000.000");
    EXPECT_EQ(dec("1.5").rounded(3).toString(), "1.500");
    EXPECT_EQ(dec("-12.345").toString(2), "-12.35");
    EXPECT_EQ(dec("12.345").unitsAt(1), 123);
}

TEST(DecimalComparison, ComparesValuesNotScales) {
    EXPECT_EQ(dec("1.50"), dec("1.5"));
    EXPECT_EQ(dec("0.000"), 0);
    EXPECT_LT(dec("1.5"), dec("1.51"));
    EXPECT_LT(dec("-0.1"), 0);
    EXPECT_GT(dec("-0.1"), dec("-0.11"));
    // A value too large to bring to the other's scale still compares by size.
    const Decimal huge = Decimal::fromUnits(tenTo(37), 0);
    const Decimal tiny = Decimal::fromUnits(1, 30);
    EXPECT_GT(huge, tiny);
    EXPECT_LT(-huge, tiny);
    EXPECT_GT(tiny, -huge);
    EXPECT_TRUE(dec("-3").sign() < 0 && dec("0.00").isZero() && dec("0.01").sign() > 0);
}

TEST(DecimalArithmetic, SumsAndDifferencesAreExact) {
    EXPECT_EQ((dec("0.1") - dec("0.25")).toString(), "-0.15");
    Decimal total;
    for (int i = 0; i < 10; ++i) total += dec("0.1");
    EXPECT_EQ(total, 1);
    total -= dec("1.000001");
    EXPECT_EQ(total.toString(), "-0.000001");
}

TEST(DecimalArithmetic, ProductsOfWideFieldsAreExact) {
    // A 9-digit quantity with 3 places times a 15-digit price with 6 places.
    const Decimal product = dec("123456.789") * dec("123456789.123456");
    EXPECT_EQ(product.places(), 9);
    EXPECT_EQ(product.toString(), "15241578765432.002342784");
    EXPECT_EQ((dec("999999.999") * dec("999999999.999999")).toString(),
              "999999998999999.000000001");
    EXPECT_EQ((dec("-1.5") * dec("2.25")).toString(), "-3.375");
    Decimal scaled = dec("2.5");
    scaled *= -4;
    EXPECT_EQ(scaled.toString(), "-10.0");
}

TEST(DecimalArithmetic, ProductScaleIsCappedAtThirtyPlaces) {
    const Decimal product = Decimal::fromUnits(15, 16) * Decimal::fromUnits(1, 15);  // 1.5e-30
    EXPECT_EQ(product.places(), 30);
    EXPECT_EQ(product.units(), 2);
}

TEST(DecimalDivision, RoundsToThePlacesAsked) {
    EXPECT_EQ(Decimal(10).divide(3, 4).toString(), "3.3333");
    EXPECT_EQ(Decimal(2).divide(3, 4).toString(), "0.6667");
    EXPECT_EQ(Decimal(-2).divide(3, 4).toString(), "-0.6667");
    EXPECT_EQ(Decimal(-2).divide(-3, 4).toString(), "0.6667");
    EXPECT_EQ(Decimal(1).divide(8, 2).toString(), "0.13");
    EXPECT_EQ(Decimal(-1).divide(8, 2).toString(), "-0.13");
    // An average price: value (2 places) / quantity (3 places) to 4 places.
    EXPECT_EQ(dec("100.00").divide(dec("3.000"), 4).toString(), "33.3333");
    EXPECT_EQ(dec("1234.56").divide(dec("0.007"), 4).toString(), "176365.7143");
    // A product at 9 places divided back by its quantity.
    EXPECT_EQ((dec("12.345") * dec("6.789012")).divide(dec("12.345"), 6), dec("6.789012"));
    // A divisor far larger than the dividend.
    EXPECT_TRUE(Decimal::fromUnits(1, 30).divide(Decimal::fromUnits(tenTo(37), 0), 0).isZero());
}

TEST(DecimalDivision, ByZeroGivesZero) {
    const Decimal result = dec("123.45").divide(dec("0.000"), 4);
    EXPECT_TRUE(result.isZero());
    EXPECT_EQ(result.toString(), "0.0000");
}

TEST(DecimalOverflowTest, NeverWrapsSilently) {
    const Decimal huge = Decimal::fromUnits(tenTo(37), 0);
    EXPECT_THROW(huge * 100, DecimalOverflow);
    Decimal sum = huge;
    EXPECT_THROW(for (int i = 0; i < 20; ++i) sum += huge, DecimalOverflow);
    EXPECT_THROW((void)huge.rounded(2), DecimalOverflow);
    EXPECT_THROW((void)huge.divide(dec("0.001"), 4), DecimalOverflow);
    EXPECT_THROW((void)Decimal::fromUnits(1, 31), std::invalid_argument);
    EXPECT_THROW((void)Decimal(1).divide(3, -1), std::invalid_argument);
}

TEST(DecimalField, FitsAfterRoundingToThePlaces) {
    // A 9-digit field with 3 places holds up to 999999.999.
    EXPECT_EQ(dec("999999.999").fieldUnits(9, 3), 999999999);
    EXPECT_EQ(dec("-999999.9994").fieldUnits(9, 3), -999999999);
    EXPECT_FALSE(dec("999999.9995").fitsField(9, 3));
    EXPECT_FALSE(dec("-1000000").fitsField(9, 3));
    EXPECT_EQ(dec("1.0005").fieldUnits(9, 3), 1001);
    EXPECT_EQ(Decimal(7).fieldUnits(15, 6), 7000000);
    EXPECT_FALSE(Decimal::fromUnits(tenTo(37), 0).fitsField(15, 6));
    EXPECT_FALSE(Decimal(1).fitsField(19, 0));
}

}  // namespace
}  // namespace dv
