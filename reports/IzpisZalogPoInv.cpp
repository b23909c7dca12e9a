#include <string>

#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "framework/ProcedureDefinition.h"
#include "framework/RecordFetch.h"
#include "framework/ReportEngine.h"
#include "framework/ViewRecordSource.h"
#include "reports/StocktakeLinesReport.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableGuard.h"
#include "storage/ViewManager.h"

namespace dv {
namespace {

// The stock after a stocktake: every line of the stocktake GLO:DIDEROVIV / GLO:ENOTAINV /
// GLO:VRSTAINV with a counted quantity other than 0, by group and name, valued at its purchase
// price, with the total of the values. The print conditions of the other printouts do not apply.
class StockAfterStocktake {
  public:
    StockAfterStocktake(FileManager& lines, FileManager& groups)
        : groups_(groups), view_(lines), records_(view_), names_{&locals_, &program_} {
        locals_.add("LOC:CENAVP", priceWholesale_);
        locals_.add("LOC:CENAMP", priceRetail_);
        locals_.add("LOC:ZALOGA", quantity_);
        locals_.add("LOC:VREDNOSTZALOGE", value_);
        locals_.add("LOC:SKUPAJZALOGA", total_);
        locals_.add("LOC:KRITERIJ1", criterion_);
    }
    ~StockAfterStocktake() {
        if (view_.opened()) view_.Close();
    }
    StockAfterStocktake(const StockAfterStocktake&) = delete;
    StockAfterStocktake& operator=(const StockAfterStocktake&) = delete;

    [[nodiscard]] Level Open() {
        if (const Level opened = view_.Open(); opened != kLevelBenign) return opened;
        view_.SetOrder(view_.table().findKey("STEVNAZIVGRUPAKLJUC"));
        return view_.SetFilter(
            "INVENDET:StevInventure = GLO:DIDEROVIV AND INVENDET:Enota = GLO:ENOTAINV AND "
            "INVENDET:VrstaProdaje = GLO:VRSTAINV AND INVENDET:PopisanaZaloga <> 0");
    }
    RecordSource& records() { return records_; }
    const NameResolver& names() const { return names_; }

    void PrintLine(ReportEngine& report) {
        clearRecord(groups_.table(), groups_.buffer());
        SFGRUPE.Sifra = INVENDET.Skupina;
        (void)groups_.FetchOrClear(groups_.primaryKey());
        priceWholesale_ = INVENDET.NABCENA.value();
        priceRetail_ = INVENDET.NABCENA.value();
        quantity_ = INVENDET.PopisanaZaloga.value();
        value_ = quantity_.value() * INVENDET.NABCENA.value();
        // The total adds the values as printed, so that it equals the sum of the column.
        total_ = total_.value() + value_.value();
        report.Print(INVENDET.VrstaProdaje == "M" ? "DetailMP" : "DetailVP");
    }

    void PrintTotal(ReportEngine& report) {
        criterion_ = "Razvrščanje: Po nazivu v okviru skupine izdelkov";
        report.Print("Skupaj");
    }

  private:
    FileManager& groups_;
    ViewManager view_;
    ViewRecordSource records_;
    FixedDecimal<13, 4> priceWholesale_;
    FixedDecimal<13, 4> priceRetail_;
    FixedDecimal<9, 3> quantity_;
    FixedDecimal<15, 4> value_;
    FixedDecimal<15, 4> total_;
    FixedText<100> criterion_;
    NamedVariables locals_;
    ProgramNames program_;
    NameResolverChain names_;
};

}  // namespace

// The stock by quantity and value after the stocktake chosen in EvidencaInventurZaIzpisZalog,
// in a progress window, then the preview. Printer and preview options are shared with the
// count sheet under "IzpisInvPredloge".
DV_PROCEDURE(IzpisZalogPoInv) {
    TableGuard tables;
    if (!openStocktakeLineTables(tables)) return RespCancelled;
    StockAfterStocktake stock(stocktakeLines(), stocktakeGroups());
    if (stock.Open() != kLevelBenign) return RespCancelled;
    return printStocktakeLines(procedure, stock, &StockAfterStocktake::PrintTotal);
}

}  // namespace dv
