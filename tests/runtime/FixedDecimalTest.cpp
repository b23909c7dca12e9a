#include <gtest/gtest.h>

#include <cstring>

#include "runtime/FixedDecimal.h"

namespace dv {
namespace {

Decimal dec(std::string_view text) {
    return Decimal::parse(text).value();
}

using Quantity = FixedDecimal<9, 3>;
using Price = FixedDecimal<13, 4>;
using WidePrice = FixedDecimal<15, 6>;

TEST(FixedDecimal, RoundsHalfAwayFromZeroOnStore) {
    Quantity q;
    EXPECT_TRUE(q.value().isZero());
    EXPECT_TRUE(q.assign(dec("1.0005")));
    EXPECT_EQ(q.units(), 1001);
    EXPECT_TRUE(q.assign(dec("-1.0005")));
    EXPECT_EQ(q.units(), -1001);
    q = dec("2.0004");
    EXPECT_EQ(q.units(), 2000);
    q = 7;
    EXPECT_EQ(q.value().toString(), "7.000");
}

TEST(FixedDecimal, RefusesValuesBeyondItsDigitsAndKeepsTheOldValue) {
    Quantity q;
    q = dec("5.5");
    EXPECT_TRUE(q.assign(dec("999999.999")));
    EXPECT_TRUE(q.assign(dec("-999999.999")));
    EXPECT_FALSE(q.assign(dec("1000000")));
    EXPECT_FALSE(q.assign(dec("999999.9995")));  // rounds up to seven integer digits
    EXPECT_EQ(q.units(), -999999999);
    EXPECT_THROW(q = dec("-1000000"), FieldOverflow);
    EXPECT_EQ(q.units(), -999999999);
}

TEST(FixedDecimal, OverflowMessageNamesTheFieldAndTheValue) {
    Price price;
    try {
        price = dec("1234567890.5");
        FAIL() << "no overflow";
    } catch (const FieldOverflow& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("1234567890.5"), std::string::npos) << message;
        EXPECT_NE(message.find("13 digits"), std::string::npos) << message;
        EXPECT_NE(message.find("4 places"), std::string::npos) << message;
    }
}

TEST(FixedDecimal, AccumulatesUntilTheFieldIsFull) {
    FixedDecimal<5, 2> total;
    total += dec("600.004");
    total += dec("399.99");
    EXPECT_EQ(total.value().toString(), "999.99");
    EXPECT_THROW(total += dec("0.01"), FieldOverflow);
    EXPECT_EQ(total.value().toString(), "999.99");
    total -= 1000;
    EXPECT_EQ(total.value().toString(), "-0.01");
}

TEST(FixedDecimal, TakesPartInDecimalArithmetic) {
    Quantity quantity;
    WidePrice price;
    quantity = dec("123456.789");
    price = dec("123456789.123456");
    const Decimal value = quantity * price;
    EXPECT_EQ(value.toString(), "15241578765432.002342784");
    FixedDecimal<17, 2> stored;
    stored = value;
    EXPECT_EQ(stored.value().toString(), "15241578765432.00");
    Price other;
    other = dec("123456.7890");
    EXPECT_TRUE(quantity == other);
    EXPECT_TRUE(quantity < price);
    EXPECT_TRUE(quantity > 0);
}

TEST(FixedDecimal, IsEightPlainBytes) {
    WidePrice price;
    price = dec("-98765.4321");
    std::int64_t raw = 0;
    std::memcpy(&raw, &price, sizeof raw);
    EXPECT_EQ(raw, -98765432100);
    WidePrice copy;
    std::memcpy(static_cast<void*>(&copy), &raw, sizeof raw);  // as record code copies fields
    EXPECT_EQ(copy.value(), dec("-98765.4321"));
}

}  // namespace
}  // namespace dv
