#include <gtest/gtest.h>

#include <array>
#include <cstddef>

#include "data/FieldAccess.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"

namespace dv {
namespace {

struct Sample {
    std::uint8_t byte;
    std::int16_t shortValue;
    std::uint16_t ushortValue;
    std::int32_t longValue;
    std::uint32_t ulongValue;
    std::int32_t date;
    FixedDecimal<13, 4> price;
    FixedText<5> code;
    std::array<std::int16_t, 4> shorts;
    std::array<FixedText<3>, 2> marks;
    std::array<FixedDecimal<9, 2>, 3> sums;
};

FieldDef member(FieldType type, std::uint16_t size, std::size_t offset, std::uint16_t dim = 1) {
    return FieldDef{"f", type, size, 0, 0, dim, 0, 0, offset};
}

TEST(FieldAccess, IntegersOfEveryWidthKeepSignAndRange) {
    Sample sample{};
    const FieldDef byte = member(FieldType::Byte, 1, offsetof(Sample, byte));
    const FieldDef shortField = member(FieldType::Short, 2, offsetof(Sample, shortValue));
    const FieldDef ushortField = member(FieldType::UShort, 2, offsetof(Sample, ushortValue));
    const FieldDef longField = member(FieldType::Long, 4, offsetof(Sample, longValue));
    const FieldDef ulongField = member(FieldType::ULong, 4, offsetof(Sample, ulongValue));
    const FieldDef date = member(FieldType::Date, 4, offsetof(Sample, date));
    writeInteger(&sample, byte, 255);
    writeInteger(&sample, shortField, -32768);
    writeInteger(&sample, ushortField, 65535);
    writeInteger(&sample, longField, -2147483648LL);
    writeInteger(&sample, ulongField, 4294967295LL);
    writeInteger(&sample, date, 80123);
    EXPECT_EQ(sample.byte, 255);
    EXPECT_EQ(sample.shortValue, -32768);
    EXPECT_EQ(sample.ushortValue, 65535);
    EXPECT_EQ(sample.longValue, -2147483647 - 1);
    EXPECT_EQ(sample.ulongValue, 4294967295u);
    EXPECT_EQ(readInteger(&sample, ulongField), 4294967295LL);
    EXPECT_EQ(readInteger(&sample, shortField), -32768);
    EXPECT_EQ(readInteger(&sample, date), 80123);
    EXPECT_EQ(sample.code.raw(), "     ");  // neighbours untouched
}

TEST(FieldAccess, DecimalsAndTextsAndArrayElements) {
    Sample sample{};
    const FieldDef price = member(FieldType::Decimal, 7, offsetof(Sample, price));
    writeDecimalUnits(&sample, price, -1234567);
    EXPECT_EQ(sample.price.units(), -1234567);
    EXPECT_EQ(readDecimalUnits(&sample, price), -1234567);

    const FieldDef code = member(FieldType::String, 5, offsetof(Sample, code));
    EXPECT_EQ(textWidth(code), 5u);
    writeText(&sample, code, "AB");
    EXPECT_EQ(readText(&sample, code), "AB   ");
    writeText(&sample, code, "ABCDEFG");
    EXPECT_EQ(readText(&sample, code), "ABCDE");

    const FieldDef shorts = member(FieldType::Short, 2, offsetof(Sample, shorts), 4);
    writeInteger(&sample, shorts, -7, 2);
    EXPECT_EQ(sample.shorts, (std::array<std::int16_t, 4>{0, 0, -7, 0}));
    const FieldDef marks = member(FieldType::CString, 3, offsetof(Sample, marks), 2);
    writeText(&sample, marks, "xyz", 1);
    EXPECT_EQ(sample.marks[1].raw(), "xyz");
    EXPECT_EQ(readText(&sample, marks, 0), "   ");
    const FieldDef sums = member(FieldType::Decimal, 5, offsetof(Sample, sums), 3);
    writeDecimalUnits(&sample, sums, 99, 2);
    EXPECT_EQ(sample.sums[2].units(), 99);
    EXPECT_EQ(sample.sums[1].units(), 0);
    EXPECT_EQ(textWidth(sums), 0u);
}

}  // namespace
}  // namespace dv
