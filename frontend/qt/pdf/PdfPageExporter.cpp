#include "frontend/qt/pdf/PdfPageExporter.h"

#include "frontend/qt/pdf/PageExport.h"

namespace dv {

PdfPageExporter::PdfPageExporter() : previous_(setPageExporter(this)) {}

PdfPageExporter::~PdfPageExporter() {
    setPageExporter(previous_);
}

bool PdfPageExporter::writePdf(const PageQueue& pages, const std::filesystem::path& file,
                               std::string& error) {
    FileResult written = writePagesToPdf(pages, file);
    if (written.ok()) return true;
    error = std::move(written.error);
    return false;
}

}  // namespace dv
