#include <gtest/gtest.h>

#include "storage/DelimitedText.h"

namespace dv {
namespace {

using Fields = std::vector<std::string>;

TEST(DelimitedText, DriverOptionsGiveSeparatorAndQuoting) {
    const TextFileOptions capture = parseTextFileOptions(kCaptureFileOptions);
    EXPECT_EQ(capture.separator, ';');
    EXPECT_TRUE(capture.alwaysQuote);
    const TextFileOptions plain = parseTextFileOptions("/alwaysquote=off/COMMA=9/OTHER=1");
    EXPECT_EQ(plain.separator, '\t');
    EXPECT_FALSE(plain.alwaysQuote);
    const TextFileOptions broken = parseTextFileOptions("/COMMA=x/COMMA=999/COMMA");
    EXPECT_EQ(broken.separator, ',');
}

TEST(DelimitedText, SplitsQuotedAndPlainFields) {
    EXPECT_EQ(splitFields("a;b", ';'), (Fields{"a", "b"}));
    EXPECT_EQ(splitFields("", ';'), (Fields{""}));
    EXPECT_EQ(splitFields(";", ';'), (Fields{"", ""}));
    EXPECT_EQ(splitFields(" a ;b", ';'), (Fields{" a ", "b"}));
    EXPECT_EQ(splitFields("\"a;b\";\"c\"", ';'), (Fields{"a;b", "c"}));
    EXPECT_EQ(splitFields("  \"x\"  ;\"\"", ';'), (Fields{"x", ""}));
    EXPECT_EQ(splitFields("\"say \"\"hi\"\"\"", ';'), (Fields{"say \"hi\""}));
    EXPECT_EQ(splitFields("\"open;end", ';'), (Fields{"open;end"}));
    EXPECT_EQ(splitFields("\"a\"b;c", ';'), (Fields{"ab", "c"}));
}

TEST(DelimitedText, JoinedFieldsSplitBackToTheSame) {
    const TextFileOptions always = parseTextFileOptions(kCaptureFileOptions);
    const TextFileOptions needed{';', false};
    EXPECT_EQ(joinFields({"383", "5"}, always), "\"383\";\"5\"");
    EXPECT_EQ(joinFields({"383", "5"}, needed), "383;5");
    EXPECT_EQ(joinFields({"a;b", "q\""}, needed), "\"a;b\";\"q\"\"\"");
    EXPECT_EQ(joinFields({"two\r\nlines"}, needed), "two  lines");
    for (const Fields& fields :
         {Fields{"", ""}, Fields{" x ", "\"", ";;"}, Fields{"\"\"", "a\"b"}}) {
        EXPECT_EQ(splitFields(joinFields(fields, always), ';'), fields);
        EXPECT_EQ(splitFields(joinFields(fields, needed), ';'), fields);
    }
}

}  // namespace
}  // namespace dv
