#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "RecordingFrontEnd.h"
#include "runtime/FrontEnd.h"

namespace dv::test {

// A front end with a printer and a report preview: the preview keeps a copy of the pages it was
// shown and answers as told; it may choose another printer, as a user can there.
class PreviewFrontEnd : public RecordingFrontEnd {
  public:
    PrinterSettings current{"Tiskalnik A", 1};
    std::vector<std::string> printersSet;
    std::vector<PageQueue> previewed;
    std::vector<ReportPreviewRequest> requests;
    std::vector<std::string> printerDuringPreview;
    ReportPreviewResult previewAnswer{RespCompleted, 1, 0};
    std::string chooseInPreview;  // a printer the user picks in the preview

    PrinterSettings printer() const override { return current; }
    void setPrinter(const PrinterSettings& printer) override {
        current = printer;
        printersSet.push_back(printer.device);
    }
    ReportPreviewResult previewReport(const ReportPreviewRequest& request) override {
        previewed.push_back(*request.pages);
        requests.push_back(request);
        requests.back().pages = nullptr;
        printerDuringPreview.push_back(current.device);
        if (!chooseInPreview.empty()) current.device = chooseInPreview;
        return previewAnswer;
    }
};

// A fresh directory, removed with its contents.
class ScratchDirectory {
  public:
    ScratchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "dv-report-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace dv::test
