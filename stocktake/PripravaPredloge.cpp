#include "framework/ProcedureDefinition.h"
#include "stocktake/TemplateBatch.h"

namespace dv {

// The template preparation of the stocktake in the INVENTUR buffer: the first preparation from
// the register, the re-preparation (RepreparationMode) from the stocktake selection of count
// entry.
DV_PROCEDURE(PripravaPredloge) {
    return runTemplateBatch(procedure);
}

}  // namespace dv
