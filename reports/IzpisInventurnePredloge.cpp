#include "framework/ProcedureDefinition.h"
#include "reports/CountSheet.h"
#include "reports/StocktakeLinesReport.h"
#include "storage/TableGuard.h"

namespace dv {
// The count sheet of the stocktake GLO:DIDEROVIV, GLO:ENOTAINV, GLO:VRSTAINV under the
// conditions of OknoIzpisInventurnePredloge, in a progress window, then the preview. Printer
// and preview options are kept under "IzpisInvPredloge".
DV_PROCEDURE(IzpisInventurnePredloge) {
    TableGuard tables;
    if (!openStocktakeLineTables(tables)) return RespCancelled;
    CountSheet sheet(stocktakeLines(), stocktakeGroups());
    if (sheet.Open() != kLevelBenign) return RespCancelled;
    return printStocktakeLines(procedure, sheet, &CountSheet::PrintConditions);
}

}  // namespace dv
