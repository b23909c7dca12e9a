#include "ScriptRunnerTestSupport.h"

namespace dv::test {
namespace {

TEST_F(ScriptRunnerTest, AHeadingThatCannotBeClickedFailsTheLineWithTheReason) {
    for (const auto& [script, seen] : std::vector<std::pair<const char*, const char*>>{
             {"start Evidenca\nheader ?Seznam 3", "?Seznam has 2 columns, not column 3"},
             {"start Evidenca\nheader ?Dodaj 1", "?Dodaj is not a list"}}) {
        const auto failure = run(script);
        ASSERT_TRUE(failure) << script;
        EXPECT_EQ(failure->line, 2);
        EXPECT_EQ(failure->seen, seen);
    }
    EXPECT_THROW(parseScript("header ?Seznam 0"), ScriptError);
    // The register takes a click on a heading like any other event and goes on.
    EXPECT_FALSE(run("start Evidenca\nheader ?Seznam 2\nexpect ?Seznam rows 2"));
}

}  // namespace
}  // namespace dv::test
