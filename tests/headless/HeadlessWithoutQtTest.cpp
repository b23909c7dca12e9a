// This executable links the headless front end and no Qt library (a CTest checks its libraries),
// so everything here runs as a build of the program without Qt would.
#include <gtest/gtest.h>

#include <filesystem>

#include "frontend/PreviewTestReport.h"
#include "frontend/TempDirectory.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"
#include "runtime/PageExporter.h"

namespace dv {
namespace {

// An exporter that writes the title and page count of what it is given into the file, or
// fails with `failure` when that is set: enough to see what the front end hands over.
class TextExporter : public PageExporter {
  public:
    TextExporter() : previous_(setPageExporter(this)) {}
    ~TextExporter() override { setPageExporter(previous_); }
    TextExporter(const TextExporter&) = delete;
    TextExporter& operator=(const TextExporter&) = delete;

    bool writePdf(const PageQueue& pages, const std::filesystem::path& file,
                  std::string& error) override {
        if (!failure.empty()) {
            error = failure;
            return false;
        }
        std::FILE* out = std::fopen(file.c_str(), "w");
        if (out == nullptr) {
            error = "cannot open " + file.string();
            return false;
        }
        std::fprintf(out, "%s: %d\n", pages.title.c_str(), pages.pageCount());
        std::fclose(out);
        return true;
    }

    std::string failure;

  private:
    PageExporter* previous_;
};

std::string fileText(const std::filesystem::path& file) {
    std::string text;
    if (std::FILE* in = std::fopen(file.c_str(), "r")) {
        char buffer[256];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, in))
            text.append(buffer, n);
        std::fclose(in);
    }
    return text;
}

// The test report of 25 lines on three pages, driven by scripts through the headless front end.
class HeadlessWithoutQt : public ::testing::Test {
  protected:
    HeadlessWithoutQt() : frontEnd(scheduler), runner(scheduler, frontEnd, procedures) {
        test::addPreviewTestReport(procedures, "Izpis", 25);
    }
    ~HeadlessWithoutQt() override { scheduler.shutdown(); }

    std::optional<ScriptFailure> run(const std::string& script) {
        return runner.run(parseScript(script));
    }
    // The responses of the reports that ended, oldest first.
    std::vector<Response> responses() const {
        std::vector<Response> out;
        for (const auto& e : runner.endedProcedures()) out.push_back(e.response);
        return out;
    }
    std::string savePdf() const { return "preview pdf \"" + pdf.string() + "\"\n"; }

    test::TempDirectory directory;
    std::filesystem::path pdf = directory.path() / "izpis.pdf";
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd;
    ProcedureRegistry procedures;
    ScriptRunner runner;
};

TEST_F(HeadlessWithoutQt, AReportIsPreviewedAndClosedWithoutAnExporter) {
    ASSERT_EQ(currentPageExporter(), nullptr);
    const auto failure = run(R"(start Izpis
preview pages 3
preview contains "Postavka 25"
preview contains "3 od 3"
preview close
idle
)");
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_EQ(responses(), std::vector<Response>{RespCancelled});
}

// Without an exporter the script fails on the line that saves, says why, writes nothing and
// leaves the preview open and unsaved.
TEST_F(HeadlessWithoutQt, SavingAsPdfWithoutAnExporterFailsAndSaysWhy) {
    auto failure = run("start Izpis\n" + savePdf());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->line, 2);
    EXPECT_EQ(failure->expected, "the preview saved as PDF to \"" + pdf.string() + "\"");
    EXPECT_EQ(failure->seen,
              "no PDF export is installed, so " + pdf.string() + " cannot be written");
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_NE(frontEnd.openPreview(), nullptr);

    failure = run("preview close\nidle\n");
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_EQ(responses(), std::vector<Response>{RespCancelled});
}

// With one installed, the open preview's pages go to it, and a saved preview counts as
// printed; its failure is the script's, and the preview then stays unsaved.
TEST_F(HeadlessWithoutQt, AnInstalledExporterSavesThePreview) {
    {
        TextExporter exporter;
        exporter.failure = "the disk is full";
        auto failure = run("start Izpis\n" + savePdf());
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->seen, "the disk is full");
        exporter.failure.clear();
        failure = run(savePdf() + "preview close\nidle\n");
        ASSERT_FALSE(failure) << failure->report();
        EXPECT_EQ(fileText(pdf), "Izpis preizkusa: 3\n");
        EXPECT_EQ(responses(), std::vector<Response>{RespCompleted});
    }
    EXPECT_EQ(currentPageExporter(), nullptr);
}

}  // namespace
}  // namespace dv
