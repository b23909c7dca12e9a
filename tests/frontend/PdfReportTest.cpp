#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "PdfTestSupport.h"
#include "TempDirectory.h"
#include "data/ExpressionNames.h"
#include "framework/BatchTableSource.h"
#include "framework/ReportProcedure.h"
#include "frontend/qt/pdf/PageExport.h"
#include "runtime/GlobalVariables.h"
#include "runtime/ProcedureScheduler.h"

namespace dv {
namespace {

// 277 mm between the margins, less 20 mm of header and 8 of footer: 49 lines of 5 mm a page.
constexpr std::string_view kLayout =
    R"(report PdfTest "Šifrant skladišč" paper=A4 margins=15,10,10,10
  font normal "DejaVu Sans" size=9
  font bold "DejaVu Sans" size=9 bold
  header height=20
    text "Šifrant skladišč – čšž ČŠŽ" at=0,0 width=120 font=bold
    text "Stran:" at=140,0 width=15
    field StevilkaStrani at=155,0 width=30 align=right
    line from=0,8 to=185,8
  footer height=8
    line from=0,1 to=185,1
    text "Noga izpisa" at=0,3
  detail Detail height=5
    field SFENOTE:Enota at=0,0 width=12 picture=@N3
    field SFENOTE:Naziv at=20,0 width=110 picture=@S60
  band Zakljucek height=10
    text "Konec: število enot" at=0,2
)";
constexpr int kLinesPerPage = (277 - 20 - 8) / 5;

const WindowLayout& progressLayout() {
    static const WindowLayout layout = parseLayout(R"(window Napredovanje "Napredovanje..."
  string ?ProgressText "0% Completed"
  button ?Cancel "Prekliči"
)",
                                                   "test");
    return layout;
}

// A front end without a display whose preview keeps the pages, as the headless front end does
// for automation, which then saves them as PDF.
class KeepingFrontEnd : public FrontEnd {
  public:
    KeepingFrontEnd() : previous_(setCurrentFrontEnd(this)) {}
    ~KeepingFrontEnd() override { setCurrentFrontEnd(previous_); }

    MessageButtons messageBox(const MessageBoxRequest& request) override {
        ADD_FAILURE() << "unexpected message: " << request.caption << ": " << request.text;
        return kButtonOk;
    }
    ReportPreviewResult previewReport(const ReportPreviewRequest& request) override {
        kept = *request.pages;
        return {RespCompleted, request.copies, request.zoom};
    }

    PageQueue kept;

  private:
    FrontEnd* previous_;
};

std::vector<std::string> splitPages(const std::string& text) {
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t feed; (feed = text.find('\f', start)) != std::string::npos; start = feed + 1)
        pages.push_back(text.substr(start, feed - start));
    return pages;
}

TEST(PdfReport, AReportOverARealTableBecomesAPdfWithEveryPageNumbered) {
    test::TempDirectory directory;
    constexpr int kUnits = 300;
    test::UnitsTable units(directory.path(), kUnits);
    const ReportLayout layout = parseReportLayout(kLayout, "PdfTest.report");
    ProgramNames names;
    KeepingFrontEnd frontEnd;

    ProcedureScheduler scheduler;
    scheduler.desktop().setImmediateTimers(true);
    scheduler.start("PdfTest", [&] {
        units.file().Open();
        TableRecordSource view(units.file(), units.codeKey());
        Window window(progressLayout(), scheduler.desktop());
        ReportProcedure report("PdfTest", "PdfTest", layout, names);
        report.SetUp(window, view);
        report.onRecord([&] {
            report.report().Print("Detail");
            return kLevelBenign;
        });
        report.onEndOfReport([&] { report.report().Print("Zakljucek"); });
        const Response response = report.Run();
        units.file().Close();
        return response;
    });
    ASSERT_TRUE(scheduler.runUntilIdle());
    const auto ended = scheduler.takeEnded();
    ASSERT_EQ(ended.size(), 1u);
    ASSERT_FALSE(ended[0].failed) << ended[0].failure;
    EXPECT_EQ(ended[0].response, RespCompleted);
    const std::filesystem::path pdf = directory.path() / "izpis.pdf";
    const FileResult written = writePagesToPdf(frontEnd.kept, pdf);
    ASSERT_TRUE(written.ok()) << written.error;

    const int expectedPages = (kUnits + kLinesPerPage - 1) / kLinesPerPage;
    EXPECT_EQ(frontEnd.kept.pageCount(), expectedPages);
    const std::vector<std::string> pages = splitPages(test::pdfText(pdf));
    ASSERT_EQ(static_cast<int>(pages.size()), expectedPages);
    for (int p = 0; p < expectedPages; ++p) {
        const std::string& page = pages[static_cast<std::size_t>(p)];
        const std::regex number("Stran:\\s+" + std::to_string(p + 1) + " od " +
                                std::to_string(expectedPages) + "\\b");
        EXPECT_TRUE(std::regex_search(page, number)) << "page " << p + 1 << ":\n" << page;
        EXPECT_NE(page.find("Šifrant skladišč – čšž ČŠŽ"), std::string::npos) << p + 1;
        EXPECT_NE(page.find("Noga izpisa"), std::string::npos) << p + 1;
        // The header comes before the lines, the footer after them.
        EXPECT_LT(page.find("Šifrant"), page.find("Skladišče Žiri"));
        EXPECT_GT(page.find("Noga izpisa"), page.rfind("Skladišče Žiri"));
    }
    const std::string& first = pages.front();
    EXPECT_NE(first.find("Skladišče Žiri 001"), std::string::npos);
    EXPECT_NE(first.find("Skladišče Žiri 049"), std::string::npos);
    EXPECT_EQ(first.find("Skladišče Žiri 050"), std::string::npos);
    const std::string& last = pages.back();
    EXPECT_LT(last.find("Skladišče Žiri 300"), last.find("Konec: število enot"));
    EXPECT_EQ(test::pdfText(pdf).find("Konec: število enot"), test::pdfText(pdf).rfind("Konec"));
}

class PdfExport : public ::testing::Test {
  protected:
    PdfExport() {
        pages.title = "Preizkus";
        pages.fonts = {PageFont{}, PageFont{"DejaVu Sans", 14, true, false, false}};
        for (int p = 1; p <= 3; ++p) {
            Page page;
            page.texts.push_back(
                {2000, 2000, 10000, 600, "Čebula, šipek, žafran", 1, TextAlign::Left, ""});
            page.texts.push_back(
                {2000, 3000, 17000, 500, "Stran " + std::to_string(p), 0, TextAlign::Right, ""});
            page.lines.push_back({2000, 2800, 19000, 2800, 30});
            page.boxes.push_back({1500, 1500, 18000, 26000, 20});
            pages.pages.push_back(page);
        }
    }
    test::TempDirectory directory;
    PageQueue pages;
};

TEST_F(PdfExport, TextStaysTextInEmbeddedFonts) {
    const std::filesystem::path pdf = directory.path() / "strani.pdf";
    ASSERT_TRUE(writePagesToPdf(pages, pdf).ok());
    const std::vector<std::string> text = splitPages(test::pdfText(pdf, "-raw"));
    ASSERT_EQ(text.size(), 3u);
    for (int p = 0; p < 3; ++p) {
        EXPECT_NE(text[static_cast<std::size_t>(p)].find("Čebula, šipek, žafran"),
                  std::string::npos);
        EXPECT_NE(text[static_cast<std::size_t>(p)].find("Stran " + std::to_string(p + 1)),
                  std::string::npos);
    }
    // pdffonts lists every font with "yes" under "emb" when it is embedded.
    std::unique_ptr<FILE, int (*)(FILE*)> fonts(
        ::popen(("pdffonts '" + pdf.string() + "'").c_str(), "r"), ::pclose);
    ASSERT_TRUE(fonts);
    std::string listing;
    char buffer[1024];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, fonts.get()))
        listing.append(buffer, n);
    EXPECT_NE(listing.find("DejaVuSans-Bold"), std::string::npos) << listing;
    std::istringstream lines(listing);
    int fontLines = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find("DejaVu") == std::string::npos) continue;
        ++fontLines;
        EXPECT_TRUE(std::regex_search(line, std::regex("\\byes\\b"))) << line;
    }
    EXPECT_GE(fontLines, 2);
}

TEST_F(PdfExport, AFailedWriteSaysSoAndKeepsTheFileThatWasThere) {
    const std::filesystem::path missing = directory.path() / "no" / "such" / "dir" / "x.pdf";
    const FileResult failed = writePagesToPdf(pages, missing);
    EXPECT_FALSE(failed.ok());
    EXPECT_NE(failed.error.find(missing.string()), std::string::npos) << failed.error;
    EXPECT_FALSE(std::filesystem::exists(missing));

    const std::filesystem::path existing = directory.path() / "old.pdf";
    std::ofstream(existing) << "old contents";
    PageQueue none;
    EXPECT_FALSE(writePagesToPdf(none, existing).ok());
    std::ifstream kept(existing);
    std::string contents;
    std::getline(kept, contents);
    EXPECT_EQ(contents, "old contents");
    ASSERT_TRUE(writePagesToPdf(pages, existing).ok());
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "old.pdf.part"));
}

// The bytes of a file.
std::string contentsOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The width and height a PNG file declares in its header.
std::pair<int, int> pngSize(const std::string& png) {
    auto number = [&](std::size_t at) {
        int value = 0;
        for (std::size_t i = at; i < at + 4; ++i)
            value = value * 256 + static_cast<unsigned char>(png[i]);
        return value;
    };
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
    return {number(16), number(20)};
}

TEST_F(PdfExport, APageDrawsIntoAPictureOfItsSize) {
    const std::filesystem::path png = directory.path() / "stran.png";
    ASSERT_TRUE(writePageToPng(pages, 1, png, 50).ok());
    const std::string drawn = contentsOf(png);
    // 210 x 297 mm at 50 dots per inch, rounded to whole dots.
    EXPECT_EQ(pngSize(drawn), std::make_pair(413, 585));

    // A blank page of the same size gives another picture.
    PageQueue blank = pages;
    blank.pages[1] = Page{};
    ASSERT_TRUE(writePageToPng(blank, 1, png, 50).ok());
    const std::string empty = contentsOf(png);
    EXPECT_EQ(pngSize(empty), std::make_pair(413, 585));
    EXPECT_LT(empty.size(), drawn.size());

    EXPECT_FALSE(writePageToPng(pages, 3, png).ok());
    EXPECT_FALSE(writePageToPng(pages, -1, png).ok());
    EXPECT_FALSE(writePageToPng(pages, 0, png, 5).ok());
    EXPECT_FALSE(writePageToPng(pages, 0, directory.path() / "none" / "x.png").ok());
}

}  // namespace
}  // namespace dv
