#include <gtest/gtest.h>

#include "PdfTestSupport.h"
#include "TempDirectory.h"
#include "frontend/qt/ReportPreview.h"

namespace dv {
namespace {

PageQueue samplePages(int count) {
    PageQueue pages;
    pages.title = "Predogled";
    for (int p = 1; p <= count; ++p) {
        Page page;
        page.texts.push_back({2000, 2000, 12000, 600,
                              "Žiri, Šmarje, Čatež — stran " + std::to_string(p), 0,
                              TextAlign::Left, ""});
        page.lines.push_back({2000, 2800, 19000, 2800, 30});
        pages.pages.push_back(page);
    }
    return pages;
}

TEST(ReportPreview, ShowsEveryPageAtTheZoomItWasLeftAt) {
    const PageQueue pages = samplePages(4);
    ReportPreviewRequest request;
    request.pages = &pages;
    request.copies = 2;
    request.zoom = 150;
    ReportPreview preview(request);
    EXPECT_EQ(preview.pageCount(), 4);
    EXPECT_EQ(preview.zoom(), 150);
    preview.setZoom(5000);
    EXPECT_EQ(preview.zoom(), 800);
    preview.setZoom(0);
    const ReportPreviewResult result = preview.result();
    EXPECT_EQ(result.response, RespCancelled);  // nothing printed yet
    EXPECT_EQ(result.copies, 2);
    EXPECT_EQ(result.zoom, 0);
}

TEST(ReportPreview, SavingAsPdfCountsAsPrintedAndAMissingPrinterIsReported) {
    test::TempDirectory directory;
    const PageQueue pages = samplePages(2);
    ReportPreviewRequest request;
    request.pages = &pages;
    ReportPreview preview(request);
    const FileResult missing = preview.printTo({"Ni takega tiskalnika", 1});
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error.find("Ni takega tiskalnika"), std::string::npos);
    EXPECT_EQ(preview.result().response, RespCancelled);

    EXPECT_FALSE(preview.saveAsPdf(directory.path() / "none" / "x.pdf").ok());
    EXPECT_EQ(preview.result().response, RespCancelled);
    const std::filesystem::path pdf = directory.path() / "predogled.pdf";
    ASSERT_TRUE(preview.saveAsPdf(pdf).ok());
    EXPECT_EQ(preview.result().response, RespCompleted);
    const std::string text = test::pdfText(pdf, "-raw");
    EXPECT_NE(text.find("Žiri, Šmarje, Čatež — stran 2"), std::string::npos) << text;
}

}  // namespace
}  // namespace dv
