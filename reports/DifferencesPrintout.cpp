#include "reports/DifferencesPrintout.h"

#include <optional>
#include <string>

#include "framework/ReportEngine.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv {
namespace {

std::string orderText() {
    switch (GLO.SORT) {
        case 2: return "Razvrščanje: Po skupini¸/ nazivu izdelkov";
        case 3: return "Razvrščanje: Po EAN kodi";
        default: return "Razvrščanje: Po nazivu";
    }
}

}  // namespace

DifferencesPrintout::DifferencesPrintout() {
    locals_.add("LOC:CENAVP", shownWholesale_);
    locals_.add("LOC:CENAMP", shownRetail_);
    locals_.add("LOC:OZNAKAMANJKO", shortageMark_);
    locals_.add("LOC:KRITERIJ1", criterion1_);
    locals_.add("LOC:KRITERIJ2", criterion2_);
    locals_.add("LOC:KRITERIJRAZVRSCANJE", criterionOrder_);
    locals_.add("LOC:SUMMANJKONAB", shortagePurchase_);
    locals_.add("LOC:SUMMANJKO", shortageSale_);
    locals_.add("LOC:SUMVISEKNAB", surplusPurchase_);
    locals_.add("LOC:SUMVISEK", surplusSale_);
}

// Shortages and surpluses are valued at purchase price and at the selling price without VAT:
// the wholesale price, or the retail price taken out of VAT by the item's rate.
void DifferencesPrintout::printLine(ReportEngine& report) {
    const std::string saleType = GLO.VRSTAINV.str();
    const bool prices = GLO.CHECKBOX1 == 1;
    shownWholesale_ = prices ? INVENDET.VPCENA.value() : Decimal();
    shownRetail_ = prices ? INVENDET.MPCENA.value() : Decimal();
    const Decimal book = INVENDET.RacZaloga;
    const Decimal counted = INVENDET.PopisanaZaloga;
    const bool shortage = book > counted;
    const Decimal quantity = shortage ? book - counted : counted - book;
    shortageMark_ = shortage ? "*" : "";
    const Decimal purchase = quantity * INVENDET.NABCENA.value();
    std::optional<Decimal> sale;
    if (saleType == "V")
        sale = quantity * INVENDET.VPCENA.value();
    else if (saleType == "M")
        sale = (quantity * INVENDET.MPCENA.value() * Decimal(100))
                   .divide(Decimal(100) + SFDDV.STOPNJADDV, 4);
    if (sale) {
        (shortage ? shortagePurchase_ : surplusPurchase_) += purchase;
        (shortage ? shortageSale_ : surplusSale_) += *sale;
    }
    report.Print(saleType == "M" ? "DetailMP" : "DetailVP");
}

void DifferencesPrintout::printConditions(ReportEngine& report) {
    criterion1_ = "Od naziva: " + GLO.OdNaziva.str() + " do naziva: " + GLO.DoNaziva.str();
    criterion2_ = "Od skupine izdelkov: " + std::to_string(GLO.OdSkupine) +
                  " do skupine izdelkov: " + std::to_string(GLO.DoSkupine);
    criterionOrder_ = orderText();
    report.Print("Pogoji");
}

}  // namespace dv
