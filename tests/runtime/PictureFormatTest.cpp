#include <gtest/gtest.h>

#include "runtime/PictureFormat.h"

namespace dv {
namespace {

Decimal dec(std::string_view text) {
    return Decimal::parse(text).value();
}

std::string shown(std::string_view value, const char* picture) {
    return format(dec(value), Picture::of(picture));
}

TEST(NumberFormat, LaysOutNumbersInTheirPictures) {
    struct Case {
        const char* value;
        const char* picture;
        const char* expected;
    };
    const Case cases[] = {
        {"1234.5", "@N-14`4B", "1.234,5000"},
        {"0.00005", "@N14`4B", "0,0001"},
        {"0", "@N-14`4", "0,0000"},
        {"-1234567.891", "@N-14.2", "-1,234,567.89"},
        {"-12.345", "@N10.2", "-12.35"},  // an unsigned picture still shows the minus
        {"5", "@N03", "005"},
        {"-5", "@N-04", "-005"},
        {"42", "@N_8", "42"},
        {"-5.5", "@N8.1-", "5.5-"},
        {"5.5", "@N8.1-", "5.5 "},
        {"-5.5", "@N(8.1)", "(5.5)"},
        {"12.5", "@N*8.2", "***12.50"},
        {"1234567", "@N12_", "1 234 567"},
        {"12.34", "@N6v2", "1234"},
        {"1234", "@N-15.`4", "1.234,0000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shown(c.value, c.picture), c.expected) << c.value << " in " << c.picture;
}

TEST(NumberFormat, BlankWhenZeroLooksAtTheRoundedValue) {
    EXPECT_EQ(shown("0", "@N-14`4B"), "");
    EXPECT_EQ(shown("0.00004", "@N14`4B"), "");
    EXPECT_EQ(shown("-0.00004", "@N-14`4B"), "");
    EXPECT_EQ(shown("0", "@N3"), "0");
}

TEST(NumberFormat, TooWideShowsHashesNeverACutNumber) {
    EXPECT_EQ(shown("123456789", "@N_8"), "########");
    EXPECT_EQ(shown("1234", "@N4"), "####");  // "1,234" needs five places
    EXPECT_EQ(shown("-999", "@N3"), "###");
    EXPECT_EQ(shown("99999.995", "@N8.2"), "########");  // rounds to 100,000.00
    EXPECT_EQ(shown("-5.5", "@N(4.1)"), "####");
    const Decimal huge = Decimal::fromUnits(Int128(1) << 120, 0);
    EXPECT_EQ(format(huge, Picture::of("@N40.4")), std::string(40, '#'));
}

TEST(NumberFormat, PatternsTakeDigitsFromTheRight) {
    EXPECT_EQ(shown("41234567", "@P###-###-###P"), "041-234-567");
    EXPECT_EQ(shown("34", "@P<<##P"), "  34");
    EXPECT_EQ(shown("1234", "@P<<##P"), "1234");
    EXPECT_EQ(shown("0", "@P###PB"), "");
    EXPECT_EQ(shown("12345", "@P###P"), "###");
    EXPECT_EQ(shown("-1", "@P###P"), "###");
    const Picture account = Picture::of("####-####-####-###");
    EXPECT_EQ(formatText("123456789012345", account), "1234-5678-9012-345");
    EXPECT_EQ(formatText("SI56 0201 0001", account), "SI56 0201 0001");
}

TEST(TextFormat, CutsTextToTheWidthInCharacters) {
    EXPECT_EQ(formatText("Čebelica Maja", Picture::of("@S8")), "Čebelica");
    EXPECT_EQ(formatText("Žaga", Picture::of("@S8")), "Žaga");
    EXPECT_EQ(formatText("šššš", Picture::of("s2")), "šš");
    EXPECT_EQ(format(dec("12.50"), Picture::of("@S10")), "12.50");
}

TEST(NumberDeformat, ReadsWhatUsersTypeWhateverThePictureSeparator) {
    struct Case {
        const char* typed;
        const char* picture;
        const char* expected;
    };
    const Case cases[] = {
        {"12,5", "@N-14`4", "12.5000"},      {"12.5", "@N-14`4", "12.5000"},
        {"12,5", "@N-14.2", "12.50"},        {"1.234,5", "@N-14`4", "1234.5000"},
        {" 1,234.5 ", "@N-14.2", "1234.50"}, {"(5,5)", "@N(8.1)", "-5.5"},
        {"5,5-", "@N8.1-", "-5.5"},          {"-5", "@N8.1-", "-5.0"},
        {"***12.50", "@N*8.2", "12.50"},     {"1 234 567", "@N12_", "1234567"},
        {"1,235", "@N10.2", "1.24"},         {"1.234", "@N_8", "1234"},
        {"", "@N-14`4", "0.0000"},           {"041-234-567", "@P###-###-###P", "41234567"},
        {"-12.5", "@S10", "-12.5"},
    };
    for (const Case& c : cases) {
        const auto read = deformat(c.typed, Picture::of(c.picture));
        ASSERT_TRUE(read.ok()) << c.typed << " in " << c.picture;
        EXPECT_EQ(read.value.toString(), c.expected) << c.typed << " in " << c.picture;
    }
}

TEST(NumberDeformat, RefusesWithTheReason) {
    struct Case {
        const char* typed;
        const char* picture;
        InputError error;
    };
    const Case cases[] = {
        {"abc", "@N-14.2", InputError::notNumber},
        {"12,5", "@N_8", InputError::notNumber},  // no decimals in a whole-number field
        {"1,2,3", "@N-14.2", InputError::notNumber},
        {"-5", "@N10.2", InputError::negative},
        {"123456789", "@N_8", InputError::tooLarge},
        {"99999.995", "@N8.2", InputError::tooLarge},
        {"1234567890123", "@P###-###P", InputError::tooLarge},
        {"x", "@S5", InputError::notNumber},
    };
    for (const Case& c : cases) {
        const auto read = deformat(c.typed, Picture::of(c.picture));
        EXPECT_EQ(read.error, c.error) << c.typed << " in " << c.picture;
        EXPECT_FALSE(read.ok());
        EXPECT_FALSE(inputErrorMessage(read.error, Picture::of(c.picture)).empty());
    }
}

TEST(NumberDeformat, ReadsBackWhatItShows) {
    const char* pictures[] = {"@N-14`4", "@N-14.2",  "@N-_13.3", "@N(12.2)",
                              "@N12.2-", "@N-015.3", "@N-*12.2", "@N-16_`2",
                              "@N-9",    "@N-15.`4", "@N-015.`2"};
    const char* values[] = {"0",         "1",          "-1",        "0.5",      "-0.5",
                            "1234.5678", "-9999.9999", "123456.78", "-1000000", "999.995"};
    for (const char* text : pictures) {
        const Picture picture = Picture::of(text);
        for (const char* value : values) {
            const std::string formatted = format(dec(value), picture);
            if (formatted.find('#') != std::string::npos) continue;
            const auto read = deformat(formatted, picture);
            ASSERT_TRUE(read.ok()) << formatted << " in " << text;
            EXPECT_EQ(read.value, dec(value).rounded(picture.places()))
                << value << " shown as " << formatted << " in " << text;
        }
    }
}

TEST(NumberFormat, DatesAndTimesCanBeFormattedAsNumbers) {
    EXPECT_EQ(format(Decimal(dayNumber(2024, 2, 1)), Picture::of("@D06.")), "01.02.2024");
    EXPECT_EQ(format(Decimal(timeValue(8, 5)), Picture::of("@T1")), "8:05");
    EXPECT_EQ(format(Decimal::fromUnits(Int128(1) << 40, 0), Picture::of("@D6")),
              std::string(10, '#'));
    const auto read = deformat("01.02.2024", Picture::of("@D06."));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value, dayNumber(2024, 2, 1));
}

}  // namespace
}  // namespace dv
