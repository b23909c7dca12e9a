#include "reports/CountSheet.h"

#include "data/RecordBuffers.h"
#include "framework/ReportEngine.h"
#include "reports/StocktakeCriteria.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/FileManager.h"

namespace dv {

CountSheet::CountSheet(FileManager& lines, FileManager& groups)
    : groups_(groups), view_(lines), records_(view_), names_{&locals_, &program_} {
    locals_.add("LOC:CENAVP", priceWholesale_);
    locals_.add("LOC:CENAMP", priceRetail_);
    locals_.add("LOC:ZALOGA", stock_);
    locals_.add("LOC:KRITERIJ1", criterion1_);
    locals_.add("LOC:KRITERIJ2", criterion2_);
    locals_.add("LOC:KRITERIJRAZVRSCANJE", criterionOrder_);
}

CountSheet::~CountSheet() {
    if (view_.opened()) view_.Close();
}

Level CountSheet::Open(std::string_view also) {
    if (const Level opened = view_.Open(); opened != kLevelBenign) return opened;
    const CountSheetSelection selection = countSheetSelection();
    view_.SetOrder(view_.table().findKey(selection.key));
    if (also.empty()) return view_.SetFilter(selection.filter);
    return view_.SetFilter(selection.filter + " AND " + std::string(also));
}

void CountSheet::PrintLine(ReportEngine& report) {
    clearRecord(groups_.table(), groups_.buffer());
    SFGRUPE.Sifra = INVENDET.Skupina;
    (void)groups_.FetchOrClear(groups_.primaryKey());
    const bool prices = GLO.CHECKBOX1 == 1;
    priceWholesale_ = prices ? INVENDET.VPCENA.value() : Decimal();
    priceRetail_ = prices ? INVENDET.MPCENA.value() : Decimal();
    stock_ = GLO.CHECKBOX2 == 1 ? INVENDET.RacZaloga.value() : Decimal();
    report.Print(INVENDET.VrstaProdaje == "M" ? "DetailMP" : "DetailVP");
}

void CountSheet::PrintConditions(ReportEngine& report) {
    const StocktakeCriteria criteria = stocktakeCriteria();
    criterion1_ = criteria.names;
    criterion2_ = criteria.groups;
    criterionOrder_ = criteria.order;
    report.Print("Pogoji");
}

}  // namespace dv
