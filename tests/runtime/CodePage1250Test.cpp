#include <gtest/gtest.h>

#include <set>
#include <string>

#include "runtime/CodePage1250.h"

namespace dv {
namespace {

bool isUndefined(int b) {
    return b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
}

TEST(CodePage1250, EveryDefinedByteRoundTripsAndUndefinedOnesAreMarked) {
    std::set<std::string> seen;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = cp1250ToUtf8(byte);
        EXPECT_TRUE(isValidUtf8(utf8)) << "byte " << b;
        if (isUndefined(b)) {
            EXPECT_EQ(utf8, "\xEF\xBF\xBD") << "byte " << b;
            EXPECT_EQ(utf8ToCp1250(utf8), "?");
            continue;
        }
        EXPECT_TRUE(seen.insert(utf8).second) << "byte " << b << " maps to a used character";
        EXPECT_EQ(utf8ToCp1250(utf8, '#'), byte) << "byte " << b;
    }
    EXPECT_EQ(seen.size(), 251u);
    EXPECT_EQ(seen.count("\xEF\xBF\xBD"), 0u);
}

TEST(CodePage1250, SlovenianTextBothWays) {
    struct Case {
        std::string cp1250;
        std::string utf8;
    };
    const Case cases[] = {
        {"SPLO\x8ANO", "SPLOŠNO"},
        {"Skladi\x9A\xE8"
         "e ZN",
         "Skladišče ZN"},
        {"\xE8\xE6\x9E\x9A\xF0 \xC8\xC6\x8E\x8A\xD0 \x80", "čćžšđ ČĆŽŠĐ €"},
        {"\x84Narekovaji\x93 \x96 \xB0"
         "C",
         "„Narekovaji“ – °C"},
        {"\x8D\xA0\xB9\xFF", "Ť\u00A0ą˙"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cp1250ToUtf8(c.cp1250), c.utf8);
        EXPECT_EQ(utf8ToCp1250(c.utf8), c.cp1250);
    }
}

TEST(CodePage1250, CharactersOutsideTheCodePageBecomeTheReplacement) {
    EXPECT_EQ(utf8ToCp1250("日本 x"), "?? x");
    EXPECT_EQ(utf8ToCp1250("a\xF0\x9F\x98\x80z", '_'), "a_z");            // one 4-byte character
    EXPECT_EQ(utf8ToCp1250("\xC3\xA6"), "?");                             // æ is not in 1250
    EXPECT_EQ(utf8ToCp1250("\xC3\xA4\xC3\xB6\xC3\xBC"), "\xE4\xF6\xFC");  // äöü are
}

TEST(CodePage1250, MalformedUtf8IsRejectedAndReplacedPerBrokenSequence) {
    struct Case {
        std::string text;
        std::string cp1250;
    };
    const Case cases[] = {
        {"\x80", "?"},                 // lone continuation byte
        {"a\xC4", "a?"},               // truncated at the end
        {"\xC4z", "?z"},               // lead byte followed by ASCII: the ASCII survives
        {"\xC0\x80", "??"},            // overlong NUL
        {"\xE0\x80\x80", "???"},       // overlong three-byte form
        {"\xED\xA0\x80", "???"},       // UTF-16 surrogate
        {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
        {"\xF5\x80", "??"},            // lead byte that never occurs
        {"\xE2\x82", "?"},             // truncated euro sign: one broken sequence
        {"\xE2\x82\xAC\xFF\xE2\x82\xAC", "\x80?\x80"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(isValidUtf8(c.text)) << testing::PrintToString(c.text);
        EXPECT_EQ(utf8ToCp1250(c.text), c.cp1250) << testing::PrintToString(c.text);
    }
}

TEST(CodePage1250, WellFormedUtf8IsAccepted) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("plain ASCII"));
    EXPECT_TRUE(isValidUtf8("čćžšđ €"));
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x98\x80"));  // U+1F600
    EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF
    EXPECT_TRUE(isValidUtf8("\xED\x9F\xBF"));      // U+D7FF, just below the surrogates
    EXPECT_FALSE(
        isValidUtf8("Skladi\x9A\xE8"
                    "e"));  // the same text in code page 1250
}

}  // namespace
}  // namespace dv
