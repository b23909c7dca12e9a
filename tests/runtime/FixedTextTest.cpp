#include <gtest/gtest.h>

#include <cstring>

#include "runtime/FixedText.h"

namespace dv {
namespace {

TEST(FixedText, StartsBlank) {
    FixedText<5> text;
    EXPECT_EQ(text.raw(), "     ");
    EXPECT_EQ(text.str(), "");
    EXPECT_TRUE(text.blank());
}

TEST(FixedText, PadsWithBlanksAndCutsToWidth) {
    FixedText<5> text("AB");
    EXPECT_EQ(text.raw(), "AB   ");
    EXPECT_EQ(text.str(), "AB");
    EXPECT_FALSE(text.blank());
    text = "ABCDEFG";
    EXPECT_EQ(text.raw(), "ABCDE");
    text.clear();
    EXPECT_TRUE(text.blank());
    text.setRaw("XY");
    EXPECT_EQ(text.raw(), "XY   ");
    text.setRaw("123456789");
    EXPECT_EQ(text.raw(), "12345");
    // Leading blanks are kept, trailing ones dropped.
    text = "  A  ";
    EXPECT_EQ(text.str(), "  A");
}

TEST(FixedText, HoldsSlovenianLettersAsCodePage1250) {
    FixedText<12> text("Čebela šž");
    EXPECT_EQ(text.raw(), std::string_view("\xC8"
                                           "ebela \x9A\x9E   "));
    EXPECT_EQ(text.str(), "Čebela šž");
    // Width counts characters, not UTF-8 bytes.
    FixedText<3> letters("čćžšđ");
    EXPECT_EQ(letters.str(), "čćž");
    EXPECT_EQ(letters.raw().size(), 3u);
}

TEST(FixedText, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    FixedText<4> text("a漢b");
    EXPECT_EQ(text.raw(), "a?b ");
    EXPECT_TRUE(text == "a?b");
    EXPECT_FALSE(text == "a漢b");
}

TEST(FixedText, ComparesWithoutTrailingBlanks) {
    const FixedText<5> shortField("AB");
    const FixedText<8> longField("AB");
    EXPECT_TRUE(shortField == longField);
    EXPECT_TRUE(shortField == "AB");
    EXPECT_TRUE(shortField == "AB   ");
    EXPECT_TRUE("AB " == shortField);
    EXPECT_FALSE(shortField == "ABC");
    EXPECT_FALSE(shortField == " AB");
    EXPECT_FALSE(shortField == FixedText<8>("ABX"));
    EXPECT_TRUE(FixedText<3>("čšž") == FixedText<6>("čšž"));
    EXPECT_TRUE(FixedText<2>() == "");
}

TEST(FixedText, IsItsBytes) {
    FixedText<7> text("Žaga");
    char bytes[7];
    std::memcpy(bytes, &text, sizeof bytes);
    EXPECT_EQ(std::string_view(bytes, 7),
              "\x8E"
              "aga   ");
    static_assert(sizeof(FixedText<60>) == 60 && std::is_trivially_copyable_v<FixedText<60>>);
    static_assert(FixedText<60>::width == 60);
}

}  // namespace
}  // namespace dv
