#include "framework/ProcedureDefinition.h"
#include "reports/CountSheet.h"
#include "reports/StocktakeLinesReport.h"
#include "storage/TableGuard.h"

namespace dv {

// The lines of the stocktake GLO:DIDEROVIV, GLO:ENOTAINV, GLO:VRSTAINV for which no count has
// been entered, under the conditions of OknoIzpisInvNeazur (those of the count sheet), with
// the book quantity always printed. Printer and preview options are shared with the count
// sheet under "IzpisInvPredloge".
DV_PROCEDURE(IzpisInvNeazuriranih) {
    TableGuard tables;
    if (!openStocktakeLineTables(tables)) return RespCancelled;
    CountSheet sheet(stocktakeLines(), stocktakeGroups());
    if (sheet.Open("INVENDET:NarejenVnos = 0") != kLevelBenign) return RespCancelled;
    return printStocktakeLines(procedure, sheet, &CountSheet::PrintConditions);
}

}  // namespace dv
