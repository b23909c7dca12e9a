#include <string>

#include "data/RecordBuffers.h"
#include "framework/FormVariable.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/RecordFetch.h"
#include "framework/ReportProcedure.h"
#include "reports/CountSheet.h"
#include "runtime/Window.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {

// The lines of the stocktake GLO:DIDEROVIV, GLO:ENOTAINV, GLO:VRSTAINV for which no count has
// been entered, under the conditions of OknoIzpisInvNeazur (those of the count sheet), with
// the book quantity always printed. Printer and preview options are shared with the count
// sheet under "IzpisInvPredloge".
DV_PROCEDURE(IzpisInvNeazuriranih) {
    FormVariable::require("GLO:DANES").write(ExpressionValue::number(Decimal(today())));
    FileManager& lines = tableAccess().file("INVENDET");
    FileManager& groups = tableAccess().file("SFGRUPE");
    FileManager& units = tableAccess().file("SFENOTE");
    TableGuard tables;
    if (tables.open(lines) != kLevelBenign || tables.open(groups) != kLevelBenign ||
        tables.open(units) != kLevelBenign)
        return RespCancelled;
    clearRecord(units.table(), units.buffer());
    SFENOTE.Enota = static_cast<std::uint16_t>(GLO.ENOTAINV);
    (void)fetchRecord(units, units.primaryKey());
    CountSheet sheet(lines, groups);
    if (sheet.Open("INVENDET:NarejenVnos = 0") != kLevelBenign) return RespCancelled;

    Window progress(procedureLayout(procedure));
    ReportProcedure report(std::string(procedure), "IzpisInvPredloge", reportLayout(procedure),
                           sheet.names(), &programErrors(), &programSettings());
    report.SetUp(progress, sheet.records());
    report.process().setQuickScanMode(true);
    report.onRecord([&] {
        sheet.PrintLine(report.report());
        return kLevelBenign;
    });
    report.onEndOfReport([&] { sheet.PrintConditions(report.report()); });
    return report.Run();
}

}  // namespace dv
