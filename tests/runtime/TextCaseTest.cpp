#include <gtest/gtest.h>

#include "runtime/TextCase.h"

namespace dv {
namespace {

TEST(TextCase, UpperAndLowerCaseSlovenianLetters) {
    EXPECT_EQ(upperSlovenian("čšžćđ"), "ČŠŽĆĐ");
    EXPECT_EQ(lowerSlovenian("ČŠŽĆĐ"), "čšžćđ");
    EXPECT_EQ(upperSlovenian("Šifra skladišča 12, žaga"), "ŠIFRA SKLADIŠČA 12, ŽAGA");
    EXPECT_EQ(lowerSlovenian("ĐURĐEVAC Ćevapi"), "đurđevac ćevapi");
    EXPECT_EQ(upperSlovenian(""), "");
}

TEST(TextCase, KeepsBytesThatAreNotUtf8) {
    EXPECT_EQ(upperSlovenian("a\xFF"
                             "b\xC4"),
              "A\xFF"
              "B\xC4");
    EXPECT_EQ(lowerSlovenian("\x80Č"), "\x80č");
}

TEST(TextCase, ComparesWithoutRegardToCase) {
    EXPECT_TRUE(equalsIgnoreCaseSlovenian("Čaša", "čAŠA"));
    EXPECT_FALSE(equalsIgnoreCaseSlovenian("čaša", "caša"));
    EXPECT_FALSE(equalsIgnoreCaseSlovenian("čaša", "čaš"));
    EXPECT_TRUE(equalsIgnoreCaseAscii("Invendet", "INVENDET"));
    EXPECT_FALSE(equalsIgnoreCaseAscii("INVENDET", "INVENDE"));
}

TEST(TextCase, TrimsBlanks) {
    EXPECT_EQ(trimTrailingBlanks("  ab  "), "  ab");
    EXPECT_EQ(trimLeadingBlanks("  ab  "), "ab  ");
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("    "), "");
    EXPECT_EQ(trimTrailingBlanks(""), "");
}

}  // namespace
}  // namespace dv
