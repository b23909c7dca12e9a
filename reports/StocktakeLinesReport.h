#pragma once

#include <string>
#include <string_view>

#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/ReportProcedure.h"
#include "runtime/Request.h"
#include "runtime/Window.h"

namespace dv {

class FileManager;
class ReportEngine;
class TableGuard;

// The tables of a printout of a stocktake's template lines: the lines (INVENDET) and the item
// groups (SFGRUPE) they name.
FileManager& stocktakeLines();
FileManager& stocktakeGroups();

// Makes ready a printout of the template lines of the stocktake GLO:DIDEROVIV / GLO:ENOTAINV /
// GLO:VRSTAINV: today's date for the heading, the lines, groups and units opened under
// `tables`, the unit of the heading read (a blank name when there is none). False when a table
// cannot be opened (reported).
bool openStocktakeLineTables(TableGuard& tables);

// Runs such a printout in the progress window of `procedure`, then the preview: every record
// of `printout` prints its line, and `printEnd` the band after the last line. Printer and
// preview options are kept under "IzpisInvPredloge", shared by these printouts.
template <typename Printout>
Response printStocktakeLines(std::string_view procedure, Printout& printout,
                             void (Printout::*printEnd)(ReportEngine&)) {
    Window progress(procedureLayout(procedure));
    ReportProcedure report(std::string(procedure), "IzpisInvPredloge", reportLayout(procedure),
                           printout.names(), &programErrors(), &programSettings());
    report.SetUp(progress, printout.records());
    report.process().setQuickScanMode(true);
    report.onRecord([&] {
        printout.PrintLine(report.report());
        return kLevelBenign;
    });
    report.onEndOfReport([&] { (printout.*printEnd)(report.report()); });
    return report.Run();
}

}  // namespace dv
