#include <gtest/gtest.h>

#include "app/CheckDigits.h"

namespace dv {
namespace {

TEST(DemoCheckDigits, Ean13CompletesPublishedCodes) {
    EXPECT_EQ(ean13("400638133393"), "4006381333931");
    EXPECT_EQ(ean13("590123412345"), "5901234123457");
    // 3*1 + 8*3 + 3*1 + 1*3 = 33: completed to 40 by 7.
    EXPECT_EQ(ean13("383100000000"), "3831000000007");
    EXPECT_EQ(ean13CheckDigit("000000000000"), '0') << "a sum of 0 needs no completion";
}

TEST(DemoCheckDigits, Ean13RefusesWhatIsNoCode) {
    EXPECT_EQ(ean13("40063813339"), "") << "eleven digits";
    EXPECT_EQ(ean13("40063813339a"), "");
    EXPECT_TRUE(isValidEan13("4006381333931"));
    EXPECT_FALSE(isValidEan13("4006381333932")) << "wrong check digit";
    EXPECT_FALSE(isValidEan13("4006381333913")) << "two digits swapped";
    EXPECT_FALSE(isValidEan13("400638133393")) << "no check digit";
    EXPECT_FALSE(isValidEan13("40063813339 1"));
}

TEST(DemoCheckDigits, TaxNumberWeightsEightDownToTwo) {
    // 1*8 + 2*7 + 3*6 + 4*5 + 5*4 + 6*3 + 7*2 = 112; 112 mod 11 = 2; 11 - 2 = 9.
    EXPECT_EQ(taxNumberCheckDigit("1234567"), '9');
    EXPECT_TRUE(isValidTaxNumber("12345679"));
    EXPECT_FALSE(isValidTaxNumber("12345678"));
    // 0000005: 10 mod 11 = 10, check 1. 0000000: remainder 0, check 11 written as 0.
    EXPECT_EQ(taxNumberCheckDigit("0000005"), '1');
    EXPECT_EQ(taxNumberCheckDigit("0000000"), '0');
    // 0000006: 12 mod 11 = 1 would need the check digit 10: such numbers are not issued.
    EXPECT_EQ(taxNumberCheckDigit("0000006"), std::nullopt);
    EXPECT_FALSE(isValidTaxNumber("00000060"));
    EXPECT_EQ(taxNumberCheckDigit("123456"), std::nullopt);
    EXPECT_FALSE(isValidTaxNumber("1234567x"));
}

}  // namespace
}  // namespace dv
