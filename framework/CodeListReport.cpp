#include "framework/CodeListReport.h"

#include <stdexcept>

#include "data/ExpressionNames.h"
#include "framework/BatchTableSource.h"
#include "framework/FormVariable.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/ReportProcedure.h"
#include "runtime/LayoutResources.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {

Response printCodeList(const CodeListPrintout& printout) {
    // Nothing else keeps the date of the heading current; the printout shows the day it ran.
    FormVariable::require("GLO:DANES").write(ExpressionValue::number(Decimal(today())));
    FileManager& file = tableAccess().file(printout.table);
    // The table is held open for the printout, and the record the buffer held comes back
    // however the printout ends. A table that cannot be opened has been reported.
    TableGuard guard;
    if (guard.open(file) != kLevelBenign) return RespCancelled;
    const int key = file.table().findKey(printout.key);
    if (key < 0) throw std::logic_error("table " + printout.table + " has no key " + printout.key);
    const ProgramNames program;
    const NameResolverChain names{printout.locals, &program};
    TableRecordSource records(file, key);
    Window progress(procedureLayout(printout.procedure));
    ReportProcedure report(printout.procedure, printout.procedure, reportLayout(printout.procedure),
                           names, &programErrors(), &programSettings());
    report.SetUp(progress, records);
    report.onRecord([&] {
        if (printout.selects && !printout.selects()) return kLevelBenign;
        if (printout.beforeDetail) printout.beforeDetail();
        report.report().Print(kCodeListDetailBand);
        if (printout.afterDetail) printout.afterDetail(report.report());
        return kLevelBenign;
    });
    if (printout.beforeClosing)
        report.onEndOfReport([&] {
            printout.beforeClosing();
            report.report().Print(kCodeListClosingBand);
        });
    return report.Run();
}

}  // namespace dv
