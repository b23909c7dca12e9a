#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "PdfTestSupport.h"
#include "PreviewTestReport.h"
#include "TempDirectory.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"

namespace dv {
namespace {

// A scheduler with the test report of 25 lines ("Izpis", three pages) and of none ("Prazen"),
// driven by scripts through the headless front end.
class PreviewScript : public ::testing::Test {
  protected:
    PreviewScript() : frontEnd(scheduler), runner(scheduler, frontEnd, procedures) {
        test::addPreviewTestReport(procedures, "Izpis", 25);
        test::addPreviewTestReport(procedures, "Prazen", 0);
    }
    ~PreviewScript() override { scheduler.shutdown(); }

    std::optional<ScriptFailure> run(const std::string& script) {
        return runner.run(parseScript(script));
    }
    std::vector<std::string> ended() const {
        std::vector<std::string> out;
        for (const auto& e : runner.endedProcedures())
            out.push_back(e.name + "=" + std::to_string(responseNumber(e.response)));
        return out;
    }

    test::TempDirectory directory;
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd;
    ProcedureRegistry procedures;
    ScriptRunner runner;
};

TEST_F(PreviewScript, TheReportWaitsInThePreviewUntilTheScriptClosesIt) {
    auto failure = run(R"(start Izpis
preview pages 3
preview contains "Postavka 1"
preview contains "Postavka 25"
preview contains "3 od 3"
preview contains "Konec izpisa"
)");
    ASSERT_TRUE(failure);
    // The preview is still open at the end, and the report has not ended.
    EXPECT_EQ(failure->line, 0);
    EXPECT_EQ(failure->expected, "no report preview left open");
    EXPECT_EQ(failure->seen, "report preview \"Izpis preizkusa\" of 3 pages");
    EXPECT_NE(failure->report().find("  preview:  report preview \"Izpis preizkusa\" of 3 pages"),
              std::string::npos)
        << failure->report();
    EXPECT_TRUE(ended().empty());

    failure = run("preview close\nidle\n");
    ASSERT_FALSE(failure) << failure->report();
    // Closed without printing or saving: the report answers that it was not printed.
    EXPECT_EQ(ended(), std::vector<std::string>{"Izpis=2"});
    EXPECT_EQ(frontEnd.openPreview(), nullptr);
    // The kept copy outlives the report's own pages, which it dropped.
    ASSERT_NE(frontEnd.lastPreview(), nullptr);
    EXPECT_EQ(frontEnd.lastPreview()->pageCount(), 3);
    EXPECT_EQ(frontEnd.shownPreviews(), 1);
}

TEST_F(PreviewScript, SavingAsPdfWritesEveryPageAndCountsAsSaved) {
    const std::filesystem::path pdf = directory.path() / "izpis.pdf";
    auto failure = run("start Izpis\npreview pdf \"" + pdf.string() + "\"\npreview close\n");
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_EQ(ended(), std::vector<std::string>{"Izpis=1"});
    const std::string text = test::pdfText(pdf);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3) << text;
    EXPECT_NE(text.find("Postavka 25"), std::string::npos) << text;
    EXPECT_NE(text.find("2 od 3"), std::string::npos) << text;

    // A second run of the report, closed without saving, is not saved by the first one's PDF.
    failure = run("start Izpis\npreview close\n");
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_EQ(ended(), (std::vector<std::string>{"Izpis=1", "Izpis=2"}));
}

TEST_F(PreviewScript, AFailedSaveSaysWhyLeavesThePreviewOpenAndUnsaved) {
    const std::filesystem::path pdf = directory.path() / "ni" / "izpis.pdf";
    auto failure = run("start Izpis\npreview pdf \"" + pdf.string() + "\"\n");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 2);
    EXPECT_EQ(failure->expected, "the preview saved as PDF to \"" + pdf.string() + "\"");
    EXPECT_NE(failure->seen.find(pdf.string()), std::string::npos) << failure->seen;
    EXPECT_FALSE(std::filesystem::exists(pdf));
    ASSERT_NE(frontEnd.openPreview(), nullptr);

    failure = run("preview close\n");
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_EQ(ended(), std::vector<std::string>{"Izpis=2"});
}

TEST_F(PreviewScript, AnEmptyReportNeverOpensThePreview) {
    auto failure = run("start Prazen\nmessage-contains \"Report is empty!\"\nanswer OK\n");
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_EQ(ended(), std::vector<std::string>{"Prazen=2"});
    EXPECT_EQ(frontEnd.shownPreviews(), 0);
}

TEST(PreviewScriptFailures, EachSaysWhatWasExpectedAndWhatWasOpen) {
    struct Case {
        std::string script;
        int line;
        std::string expected;
        std::string seen;
    };
    const std::string open = "report preview \"Izpis preizkusa\" of 3 pages";
    const std::string closeFirst = "the report preview closed first (preview close)";
    const std::vector<Case> cases{
        {"start Izpis\npreview pages 2", 2, "a report preview of 2 pages", open},
        {"start Izpis\npreview pages 1\npreview close", 2, "a report preview of 1 page", open},
        {"start Izpis\npreview contains \"Postavka 26\"", 2,
         "a preview page containing \"Postavka 26\"", open + " without it"},
        {"start Izpis\nidle", 2, closeFirst, open},
        {"start Izpis\nclose", 2, closeFirst, open},
        {"start Izpis\nstart Izpis", 2, closeFirst, open},
        {"start Izpis\nfile \"a.txt\"", 2, closeFirst, open},
        {"start Izpis\nsql \"SELECT 1\" \"1\"", 2, closeFirst, open},
        // The commands of a message box run with a preview open.
        {"start Izpis\nmessage \"a\" \"b\"", 2, "message \"a\" \"b\"", "no message box"},
        {"start Izpis\nanswer OK", 2, "a message box with the button OK", "no message box is open"},
        {"preview close", 1, "the report preview (preview close)", "no report preview is open"},
        {"preview contains \"x\"", 1, "the report preview (preview contains)",
         "no report preview is open"},
        {"start Izpis\npreview close\npreview close", 3, "the report preview (preview close)",
         "no report preview is open"},
    };
    ProcedureRegistry procedures;
    test::addPreviewTestReport(procedures, "Izpis", 25);
    for (const Case& c : cases) {
        ProcedureScheduler scheduler;
        HeadlessFrontEnd frontEnd(scheduler);
        ScriptRunner runner(scheduler, frontEnd, procedures);
        auto failure = runner.run(parseScript(c.script));
        ASSERT_TRUE(failure) << c.script;
        EXPECT_EQ(failure->line, c.line) << c.script;
        EXPECT_EQ(failure->expected, c.expected) << c.script;
        EXPECT_EQ(failure->seen, c.seen) << c.script;
        // Ending the program while the report waits in the preview unwinds it cleanly.
        scheduler.shutdown();
        EXPECT_EQ(frontEnd.openPreview(), nullptr) << c.script;
    }
}

TEST(PreviewWithoutScript, ClosesAtOnceUnprintedAndKeepsThePages) {
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd(scheduler);
    test::PreviewTestReport report(25);
    scheduler.start("Izpis", [&] { return report(); });
    ASSERT_TRUE(scheduler.runUntilIdle());
    const auto ended = scheduler.takeEnded();
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_FALSE(ended[0].failed) << ended[0].failure;
    EXPECT_EQ(ended[0].response, RespCancelled);
    EXPECT_EQ(frontEnd.openPreview(), nullptr);
    ASSERT_NE(frontEnd.lastPreview(), nullptr);
    EXPECT_EQ(frontEnd.lastPreview()->pageCount(), 3);
    EXPECT_TRUE(frontEnd.lastPreview()->contains("Postavka 25"));
    std::string refusal;
    EXPECT_FALSE(frontEnd.closePreview(refusal));
    EXPECT_EQ(refusal, "no report preview is open");
    EXPECT_FALSE(frontEnd.savePreview("/tmp/never-written.pdf").ok());
    scheduler.shutdown();
}

}  // namespace
}  // namespace dv
