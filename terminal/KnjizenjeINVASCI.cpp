#include "framework/ProcedureDefinition.h"
#include "terminal/CaptureImportBatch.h"

namespace dv {

// The import of the barcode terminal's capture file into the selected stocktake, with its
// progress window; the file is archived and removed after it.
DV_PROCEDURE(KnjizenjeINVASCI) {
    return runCaptureImport(procedure);
}

}  // namespace dv
