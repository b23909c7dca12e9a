#pragma once

#include "runtime/PageExporter.h"

namespace dv {

// The page exporter of the Qt page export (PageExport.h), installed while it lives: the program
// and the tests that save report previews as PDF make one on their main thread, where Qt wants
// its application made.
class PdfPageExporter : public PageExporter {
  public:
    PdfPageExporter();
    ~PdfPageExporter() override;
    PdfPageExporter(const PdfPageExporter&) = delete;
    PdfPageExporter& operator=(const PdfPageExporter&) = delete;

    bool writePdf(const PageQueue& pages, const std::filesystem::path& file,
                  std::string& error) override;

  private:
    PageExporter* previous_;
};

}  // namespace dv
