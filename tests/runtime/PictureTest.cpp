#include <gtest/gtest.h>

#include "runtime/Picture.h"

namespace dv {
namespace {

TEST(Picture, ReadsNumberPicturesAsTheLayoutsWriteThem) {
    const std::pair<const char*, const char*> cases[] = {
        {"@N-14`4B", "14 wide, 4 decimals, decimal comma, signed, grouped by '.', blank when 0"},
        {"n3", "3 wide, grouped by ','"},
        {"n_8", "8 wide"},
        {"n-14.2", "14 wide, 2 decimals, signed, grouped by ','"},
        {"@N(10.2)", "10 wide, 2 decimals, signed (in parentheses), grouped by ','"},
        {"@N12.2-", "12 wide, 2 decimals, signed (trailing minus), grouped by ','"},
        {"@N*9.2", "9 wide, 2 decimals, asterisk-filled"},
        {"@N14.`2", "14 wide, 2 decimals, decimal comma, grouped by '.'"},
        {"@N12_", "12 wide, grouped by blanks"},
        {"@n6v2", "6 wide, 2 decimals, no decimal separator, grouped by ','"},
        {"@N-_13.3b", "13 wide, 3 decimals, signed, blank when 0"},
    };
    for (const auto& [text, description] : cases) {
        const auto picture = Picture::parse(text);
        ASSERT_TRUE(picture.has_value()) << text;
        EXPECT_EQ(picture->kind(), PictureKind::number) << text;
        EXPECT_EQ(picture->describe(), description) << text;
        EXPECT_EQ(picture->text(), text);
        EXPECT_TRUE(picture->rightAligned());
    }
    const Picture price = Picture::of("@N-14`4B");
    EXPECT_EQ(price.width(), 14);
    EXPECT_EQ(price.places(), 4);
    EXPECT_EQ(price.decimalSeparator(), ',');
    EXPECT_EQ(price.grouping(), '.');
    EXPECT_TRUE(price.isSigned() && price.blankWhenZero());
    EXPECT_FALSE(Picture::of("n3").isSigned());
    EXPECT_EQ(Picture::of("  @N3 ").text(), "@N3");
}

TEST(Picture, ReadsDateTimeTextAndPatternPictures) {
    struct Case {
        const char* text;
        PictureKind kind;
        const char* description;
        int width;
    };
    const Case cases[] = {
        {"D06.B", PictureKind::date, "date dd.mm.yyyy, blank when 0", 10},
        {"@D2", PictureKind::date, "date m/d/yyyy", 10},
        {"@D10-", PictureKind::date, "date yyyy-m-d", 10},
        {"@D011_", PictureKind::date, "date yymmdd", 6},
        {"@D4", PictureKind::date, "date mmmmmmmmm d, yyyy", 18},
        {"@D17", PictureKind::date, "date dd.mm.yyyy", 10},
        {"@D18", PictureKind::date, "date d. mmmmmmmmm yyyy", 18},
        {"@D014`", PictureKind::date, "date mm,yyyy", 7},
        {"@T1", PictureKind::time, "time h:mm", 5},
        {"@T04", PictureKind::time, "time hh:mm:ss", 8},
        {"@T3", PictureKind::time, "time h:mmXM", 7},
        {"@T1.B", PictureKind::time, "time h.mm, blank when 0", 5},
        {"s60", PictureKind::text, "60 characters", 60},
        {"@P###-###-###P", PictureKind::pattern, "pattern ###-###-###", 11},
        {"@p<#-##pB", PictureKind::pattern, "pattern <#-##, blank when 0", 5},
        {"####-####-####-###", PictureKind::pattern, "pattern ####-####-####-###", 18},
    };
    for (const Case& c : cases) {
        const auto picture = Picture::parse(c.text);
        ASSERT_TRUE(picture.has_value()) << c.text;
        EXPECT_EQ(picture->kind(), c.kind) << c.text;
        EXPECT_EQ(picture->describe(), c.description) << c.text;
        EXPECT_EQ(picture->width(), c.width) << c.text;
        EXPECT_FALSE(picture->rightAligned()) << c.text;
    }
}

TEST(Picture, DateYearWindowFollowsDirectionAndRange) {
    EXPECT_EQ(Picture::of("@D5").pastYears(), 80);
    EXPECT_EQ(Picture::of("@D5.>40").pastYears(), 60);
    EXPECT_EQ(Picture::of("@D5<30B").pastYears(), 30);
    EXPECT_EQ(Picture::of("@D5>").pastYears(), 20);
    EXPECT_TRUE(Picture::of("@D5<30B").blankWhenZero());
}

TEST(Picture, RefusesMalformedPicturesWithTheReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "empty"},
        {"@X5", "not a picture kind"},
        {"@N", "width is missing"},
        {"@N0", "width is missing"},
        {"@N-14.2-", "two signs"},
        {"@N(14.2", "'(' has no ')'"},
        {"@N14.2)", "')' has no '('"},
        {"@N14..2", "both '.'"},
        {"@N3.2", "no room"},
        {"@N$10.2", "currency"},
        {"@N41", "width must lie in 1..40"},
        {"@N14.31", "decimals must lie in 0..30"},
        {"@N14.2Z", "unexpected 'Z' at position 7"},
        {"@D19", "style number must lie in 1..18"},
        {"@D6.x", "unexpected 'x'"},
        {"@T9", "style number must lie in 1..8"},
        {"@S0", "width must lie in 1..65535"},
        {"@S12B", "unexpected 'B'"},
        {"@P###", "no closing 'P'"},
        {"@PabcP", "no digit position"},
        {"@E12.3", "not supported"},
    };
    for (const auto& [text, reason] : cases) {
        std::string error;
        EXPECT_FALSE(Picture::parse(text, &error).has_value()) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << text << ": " << error;
        EXPECT_NE(error.find(std::string("\"") + text + "\""), std::string::npos) << error;
        EXPECT_THROW((void)Picture::of(text), PictureError) << text;
    }
}

}  // namespace
}  // namespace dv
