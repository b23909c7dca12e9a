#include <gtest/gtest.h>

#include "BatchTestSupport.h"
#include "ReportTestSupport.h"
#include "framework/ReportProcedure.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"
#include "runtime/ProcedureScheduler.h"

namespace dv {
namespace {

using test::MemoryRecordSource;
using test::numberedRecords;

const WindowLayout& progressLayout() {
    static const WindowLayout layout = parseLayout(R"(window Napredovanje "Napredovanje..."
  string ?ProgressText "0% Completed"
  button ?Cancel "Prekliči"
)",
                                                   "test");
    return layout;
}

// Ten detail lines a page.
constexpr std::string_view kLayout =
    R"(report IzpisTest "Izpis" paper=100x100 margins=10,10,10,10 options=101
  header height=10
    text "Stran:" at=0,0 width=20
    field StevilkaStrani at=20,0 width=30
  detail Vrstica height=7
    field LOC:Naziv at=0,0 width=60
  band Konec height=5
    text "Konec izpisa" at=0,0
)";

class ReportProcedureTest : public ::testing::Test {
  protected:
    ReportProcedureTest() : layout(parseReportLayout(kLayout, "IzpisTest.report")) {
        scheduler.desktop().setImmediateTimers(true);
        names.add("LOC:Naziv", name);
        EXPECT_TRUE(settings.open(directory.path()).ok());
    }

    // Runs the report over `source` on a procedure thread; `cancelAt` presses Cancel while that
    // record (from 1) is printed. The response.
    Response run(MemoryRecordSource& source, int cancelAt = 0) {
        std::int64_t at = -1;
        source.current = &at;
        scheduler.start("IzpisTest", [&] {
            Window window(progressLayout(), scheduler.desktop());
            ReportProcedure report("IzpisTest", "IzpisTest", layout, names, &reporter, &settings);
            report.SetUp(window, source, [this] { return now; });
            settingsSeen = report.previewSettings();
            report.onRecord([&] {
                now += std::chrono::milliseconds(100);
                procedureDuringPass = reporter.currentProcedure();
                name.assign("Postavka " + std::to_string(at + 1));
                report.report().Print("Vrstica");
                if (at + 1 == cancelAt) window.post(EventKind::Accepted, window.control("Cancel"));
                return kLevelBenign;
            });
            report.onEndOfReport([&] { report.report().Print("Konec"); });
            const Response response = report.Run();
            leftPages = report.pages().pageCount();
            empty = report.reportEmpty();
            cancelled = report.reportCancelled();
            return response;
        });
        EXPECT_TRUE(scheduler.runUntilIdle());
        const auto ended = scheduler.takeEnded();
        EXPECT_EQ(ended.size(), 1u);
        if (ended.empty()) return Response::None;
        EXPECT_FALSE(ended[0].failed) << ended[0].failure;
        return ended[0].response;
    }

    test::ScratchDirectory directory;
    SettingsManager settings;
    ErrorReporter reporter;
    test::PreviewFrontEnd frontEnd;
    ProcedureScheduler scheduler;
    ReportLayout layout;
    NamedVariables names;
    FixedText<30> name;
    std::chrono::microseconds now{0};
    ReportPreviewSettings settingsSeen;
    std::string procedureDuringPass;
    int leftPages = -1;
    bool empty = false;
    bool cancelled = false;
};

TEST_F(ReportProcedureTest, AReportOverAnEmptyRangeIsEmptyAndNeverReachesThePreview) {
    frontEnd.answer(kButtonOk);
    MemoryRecordSource source;
    EXPECT_EQ(run(source), RespCancelled);
    EXPECT_EQ(CallerResponse, RespCancelled);
    EXPECT_TRUE(frontEnd.previewed.empty());
    EXPECT_TRUE(empty);
    EXPECT_FALSE(cancelled);
    // Only the report's own notice: no "No Records" before it.
    ASSERT_EQ(frontEnd.boxes().size(), 1u);
    EXPECT_EQ(frontEnd.boxes()[0].caption, "Please note...");
    EXPECT_EQ(frontEnd.boxes()[0].text, "|Report is empty!||Nothing to print or preview.|");
    EXPECT_EQ(frontEnd.boxes()[0].buttons, kButtonOk);
}

TEST_F(ReportProcedureTest, ACompletedReportIsNumberedPreviewedAndDropped) {
    MemoryRecordSource source = numberedRecords(25);
    EXPECT_EQ(run(source), RespCompleted);
    EXPECT_EQ(CallerResponse, RespCompleted);
    EXPECT_TRUE(frontEnd.boxes().empty());
    ASSERT_EQ(frontEnd.previewed.size(), 1u);
    const PageQueue& pages = frontEnd.previewed[0];
    ASSERT_EQ(pages.pageCount(), 3);  // 25 lines and the closing band, ten to a page
    for (int p = 0; p < 3; ++p)
        EXPECT_NE(pages.pageText(p).find("Stran:\n" + std::to_string(p + 1) + " od 3\n"),
                  std::string::npos)
            << pages.pageText(p);
    const std::string last = pages.pageText(2);
    EXPECT_LT(last.find("Postavka 25"), last.find("Konec izpisa"));
    EXPECT_EQ(frontEnd.requests[0].reportName, "IzpisTest");
    EXPECT_EQ(frontEnd.requests[0].printerDialogTitle, "Select Printer");
    EXPECT_EQ(leftPages, 0);  // the pages are dropped after the preview
    EXPECT_EQ(procedureDuringPass, "IzpisTest");
    EXPECT_EQ(reporter.currentProcedure(), "");
}

TEST_F(ReportProcedureTest, ThePreviewsAnswerBecomesTheResponse) {
    frontEnd.previewAnswer = {RespCancelled, 1, 0};
    MemoryRecordSource source = numberedRecords(3);
    EXPECT_EQ(run(source), RespCancelled);
    EXPECT_EQ(frontEnd.previewed.size(), 1u);
    EXPECT_TRUE(frontEnd.boxes().empty());
    EXPECT_FALSE(empty);
    EXPECT_FALSE(cancelled);
}

TEST_F(ReportProcedureTest, CancellingAfterPagesWerePrintedSaysSo) {
    frontEnd.answer(kButtonOk);
    MemoryRecordSource source = numberedRecords(200);
    EXPECT_EQ(run(source, 15), RespCancelled);
    EXPECT_TRUE(frontEnd.previewed.empty());
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(leftPages, 0);
    ASSERT_EQ(frontEnd.boxes().size(), 1u);
    EXPECT_EQ(frontEnd.boxes()[0].caption, "Please note...");
    EXPECT_EQ(frontEnd.boxes()[0].text, "|Report was canceled!|");
}

TEST_F(ReportProcedureTest, TheSettingsRecordCarriesTheFixedValues) {
    MemoryRecordSource source = numberedRecords(1);
    run(source);
    const ReportPreviewSettings& s = settingsSeen;
    EXPECT_EQ(s.options, (std::array<std::uint8_t, 7>{1, 0, 24, 161, 128, 98, 0}));
    EXPECT_EQ(s.archiveFileName, "RPM___DM");
    EXPECT_EQ(s.destination, 1);
    EXPECT_EQ(s.procedureName, "IzpisTest");
    EXPECT_EQ(s.reportTitle, "IzpisTest");
    EXPECT_EQ(s.iniFileName, "ZALTO.INI");
    EXPECT_EQ(s.startPage, 1);
    EXPECT_EQ(s.popFill, "0");
    EXPECT_EQ(s.pageNumberControl, "StevilkaStrani");
    EXPECT_EQ(s.connector, "od");
    EXPECT_EQ(s.dialogTitle, "Select Printer");
    EXPECT_EQ(s.helpFile, "RPMHELP.HLP");
    const ReportPreviewSettings other = reportPreviewSettings("X", {false, true, false}, {"P", 4});
    EXPECT_EQ(other.options, (std::array<std::uint8_t, 7>{0, 0, 56, 160, 128, 98, 0}));
    EXPECT_EQ(other.copies, 4);
}

TEST_F(ReportProcedureTest, ThePrinterBeforeTheReportIsCurrentAgainAfterIt) {
    ASSERT_TRUE(settings.write("IzpisTest", "Printer", "Tiskalnik B").ok());
    frontEnd.chooseInPreview = "Tiskalnik C";
    MemoryRecordSource source = numberedRecords(2);
    EXPECT_EQ(run(source), RespCompleted);
    EXPECT_EQ(frontEnd.printerDuringPreview, std::vector<std::string>{"Tiskalnik B"});
    EXPECT_EQ(frontEnd.current.device, "Tiskalnik A");
    // The printer chosen in the preview is kept for the next time.
    EXPECT_EQ(settings.readText("IzpisTest", "Printer", ""), "Tiskalnik C");
}

TEST_F(ReportProcedureTest, PreviewOptionsAreKeptUnderTheReportsName) {
    frontEnd.previewAnswer = {RespCompleted, 2, 150};
    MemoryRecordSource source = numberedRecords(2);
    run(source);
    SettingsManager reread;
    ASSERT_TRUE(reread.open(directory.path()).ok());
    EXPECT_EQ(reread.readNumber("IzpisTest", "Copies", 0), 2);
    EXPECT_EQ(reread.readNumber("IzpisTest", "Zoom", 0), 150);

    // The next run starts from them; the printer's copies count when they are more.
    frontEnd.current.copies = 3;
    MemoryRecordSource again = numberedRecords(2);
    run(again);
    ASSERT_EQ(frontEnd.requests.size(), 2u);
    EXPECT_EQ(frontEnd.requests[1].zoom, 150);
    EXPECT_EQ(frontEnd.requests[1].copies, 3);
}

TEST_F(ReportProcedureTest, BadStoredOptionsAreIgnored) {
    ASSERT_TRUE(settings.write("IzpisTest", "Copies", "-4").ok());
    ASSERT_TRUE(settings.write("IzpisTest", "Zoom", "100000").ok());
    MemoryRecordSource source = numberedRecords(1);
    run(source);
    ASSERT_EQ(frontEnd.requests.size(), 1u);
    EXPECT_EQ(frontEnd.requests[0].copies, 1);
    EXPECT_EQ(frontEnd.requests[0].zoom, 0);
}

}  // namespace
}  // namespace dv
