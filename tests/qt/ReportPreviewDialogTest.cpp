#include <QAction>
#include <QLabel>
#include <cstdio>
#include <memory>

#include "QtDialogsTestSupport.h"
#include "frontend/TempDirectory.h"
#include "frontend/qt/ReportPreview.h"
#include "support/PdfFiles.h"

namespace dv {
namespace {

using test::QtDialogsTest;

PageQueue pagesTitled(const std::string& title, int count) {
    PageQueue pages;
    pages.title = title;
    for (int p = 1; p <= count; ++p) {
        pages.pages.emplace_back();
        pages.pages.back().texts.push_back(
            {2000, 2000, 12000, 600, "Stran " + std::to_string(p), 0, TextAlign::Left, ""});
    }
    return pages;
}

ReportPreviewRequest requestFor(const PageQueue& pages, int zoom = 100) {
    ReportPreviewRequest request;
    request.pages = &pages;
    request.copies = 2;
    request.zoom = zoom;
    return request;
}

void trigger(const QWidget& window, const char* action, int times = 1) {
    auto* found = window.findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(found, nullptr) << action;
    for (int i = 0; i < times; ++i) found->trigger();
}

TEST_F(QtDialogsTest, PreviewNavigatesPagesAndCountsThem) {
    const PageQueue pages = pagesTitled("IzpisPreizkus", 4);
    ReportPreview preview(requestFor(pages));
    const QWidget& window = *preview.window();
    auto* position = window.findChild<QLabel*>(QStringLiteral("pagePosition"));
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->text(), QStringLiteral("Stran 1 od 4"));
    trigger(window, "nextPage", 2);
    EXPECT_EQ(preview.currentPage(), 3);
    EXPECT_EQ(position->text(), QStringLiteral("Stran 3 od 4"));
    trigger(window, "lastPage");
    EXPECT_EQ(preview.pagePositionText(), "Stran 4 od 4");
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("nextPage"))->isEnabled());
    trigger(window, "previousPage");
    EXPECT_EQ(preview.currentPage(), 3);
    trigger(window, "firstPage");
    EXPECT_EQ(preview.currentPage(), 1);
    preview.showPage(99);
    EXPECT_EQ(preview.currentPage(), 4);
}

TEST_F(QtDialogsTest, PreviewZoomsInStepsAndFitsThePage) {
    const PageQueue pages = pagesTitled("IzpisPreizkus", 2);
    ReportPreview preview(requestFor(pages, 100));
    const QWidget& window = *preview.window();
    trigger(window, "zoomIn");
    EXPECT_EQ(preview.zoom(), 125);
    trigger(window, "zoomOut", 2);
    EXPECT_EQ(preview.zoom(), 80);
    trigger(window, "zoomOut", 30);
    EXPECT_EQ(preview.zoom(), 10) << "zooming out stops short of fitting";
    trigger(window, "zoomIn", 30);
    EXPECT_EQ(preview.zoom(), 800);
    trigger(window, "fitPage");
    EXPECT_EQ(preview.zoom(), 0);
    trigger(window, "zoomIn");  // from the size the page was fitted to
    EXPECT_GT(preview.zoom(), 0);
    EXPECT_EQ(preview.result().zoom, preview.zoom());
}

TEST_F(QtDialogsTest, PreviewSavesPdfThroughItsFileDialogAndReportsFailures) {
    test::TempDirectory directory;
    const PageQueue pages = pagesTitled("Izpis: zaloga/enota 1", 3);
    ReportPreview preview(requestFor(pages));
    preview.setPdfFolder(directory.path());
    useAnswers({0, 1});
    trigger(*preview.window(), "savePdf");
    EXPECT_EQ(preview.result().response, RespCancelled) << "cancelled: nothing saved";
    EXPECT_TRUE(std::filesystem::is_empty(directory.path()));
    // Accepted as proposed: the report's title as a file name in the folder.
    trigger(*preview.window(), "savePdf");
    const std::filesystem::path pdf = directory.path() / "Izpis_ zaloga_enota 1.pdf";
    EXPECT_EQ(test::pdfPageCount(pdf), 3);
    EXPECT_EQ(preview.result().response, RespCompleted);

    ReportPreview failing(requestFor(pages));
    failing.setPdfFolder(directory.path() / "ni mape");
    useAnswers({1, kButtonOk});
    trigger(*failing.window(), "savePdf");
    EXPECT_EQ(asked().back(), kDialogMessageBox) << "the user is told";
    EXPECT_EQ(failing.result().response, RespCancelled);
}

TEST_F(QtDialogsTest, ShowReportPreviewAnswersTheHookOrTheUser) {
    PrinterSettings printer{"", 3};
    const PageQueue none = pagesTitled("Prazno", 0);
    useAnswers({1, 0});
    EXPECT_EQ(showReportPreview(requestFor(none), printer, nullptr).response, RespCancelled);
    EXPECT_TRUE(asked().empty()) << "an empty report is never shown";
    const PageQueue pages = pagesTitled("Zaloga", 2);
    const ReportPreviewResult printed = showReportPreview(requestFor(pages, 150), printer, nullptr);
    EXPECT_EQ(printed.response, RespCompleted);
    EXPECT_EQ(printed.zoom, 150);
    EXPECT_EQ(showReportPreview(requestFor(pages), printer, nullptr).response, RespCancelled);

    // Shown: the print dialog cancelled, a zoom step, closed.
    int printerDialogs = 0;
    setDialogAnswerHook([&](const char* kind) -> std::optional<int> {
        if (std::string_view(kind) != kDialogPrinter) return std::nullopt;
        ++printerDialogs;
        return 0;
    });
    test::whenShown<QDialog>([](QDialog& shown) {
        trigger(shown, "print");
        trigger(shown, "zoomIn");
        trigger(shown, "close");
    });
    const ReportPreviewResult closed = showReportPreview(requestFor(pages, 100), printer, nullptr);
    EXPECT_EQ(closed.response, RespCancelled);
    EXPECT_EQ(closed.zoom, 125);
    EXPECT_EQ(closed.copies, 2);
    EXPECT_EQ(printerDialogs, 1);
    EXPECT_EQ(printer, (PrinterSettings{"", 3})) << "no printer was chosen";
}

}  // namespace
}  // namespace dv
