#include <gtest/gtest.h>

#include "runtime/LayoutTokenizer.h"

namespace dv {
namespace {

std::vector<std::string> texts(const LayoutLine& line) {
    std::vector<std::string> out;
    for (const auto& t : line.tokens) out.push_back(t.text + (t.quoted ? "/q" : ""));
    return out;
}

TEST(LayoutTokenizer, SplitsWordsAndKeepsBlanksInsideQuotes) {
    auto line = splitLayoutLine("  type ?Naziv\t\"Trgovina  Center\"  ");
    ASSERT_TRUE(line.ok());
    EXPECT_EQ(texts(line), (std::vector<std::string>{"type", "?Naziv", "Trgovina  Center/q"}));
}

TEST(LayoutTokenizer, ResolvesOnlyQuoteAndBackslashEscapes) {
    auto line = splitLayoutLine(R"(x "a \"b\" c\\d" "..\DATA\n")");
    ASSERT_TRUE(line.ok());
    ASSERT_EQ(line.tokens.size(), 3u);
    EXPECT_EQ(line.tokens[1].text, R"(a "b" c\d)");
    // Any other backslash stays, so Windows paths are written as they are.
    EXPECT_EQ(line.tokens[2].text, R"(..\DATA\n)");
}

TEST(LayoutTokenizer, JoinsQuotedPiecesToTheWordTheyTouch) {
    auto line = splitLayoutLine(R"(entry tip="Šifra skladišča" msg="" "")");
    ASSERT_TRUE(line.ok());
    EXPECT_EQ(texts(line),
              (std::vector<std::string>{"entry", "tip=Šifra skladišča", "msg=", "/q"}));
}

TEST(LayoutTokenizer, HashStartsACommentOnlyAtTheStartOfAWord) {
    EXPECT_TRUE(splitLayoutLine("# whole line").tokens.empty());
    EXPECT_TRUE(splitLayoutLine("   ").tokens.empty());
    auto line = splitLayoutLine(R"(entry picture=@P##.##P "a # b" #rest "x)");
    ASSERT_TRUE(line.ok()) << line.error;
    EXPECT_EQ(texts(line), (std::vector<std::string>{"entry", "picture=@P##.##P", "a # b/q"}));
}

TEST(LayoutTokenizer, RefusesAnOpenQuoteWithItsColumn) {
    auto line = splitLayoutLine(R"(message "a" "unterminated \")");
    EXPECT_FALSE(line.ok());
    EXPECT_TRUE(line.tokens.empty());
    EXPECT_NE(line.error.find("column 13"), std::string::npos) << line.error;
}

}  // namespace
}  // namespace dv
