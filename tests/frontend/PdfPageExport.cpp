// The previews of this executable's scripts are saved as PDF as the program saves them: through
// the Qt page export, installed for the whole run.
#include "frontend/qt/pdf/PdfPageExporter.h"

namespace {

const dv::PdfPageExporter pdfExport;

}  // namespace
