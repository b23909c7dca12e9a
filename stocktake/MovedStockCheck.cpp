#include "stocktake/MovedStockCheck.h"

#include <string>

#include "framework/ProcedureByName.h"
#include "runtime/FrontEnd.h"
#include "runtime/ProcedureCall.h"
#include "schema/Records.h"
#include "stocktake/StocktakeLines.h"
#include "storage/FileManager.h"
#include "storage/ReadSnapshot.h"

namespace dv {
namespace {

bool ask(std::string text, MessageButtons defaultButton) {
    MessageBoxRequest box;
    box.caption = " OPOZORILO";
    box.text = std::move(text);
    box.icon = MessageIcon::Question;
    box.buttons = kButtonYes | kButtonNo;
    box.defaultButton = defaultButton;
    return currentFrontEnd().messageBox(box) == kButtonYes;
}

}  // namespace

std::vector<MovedStockItem> movedStock(FileManager& lines, FileManager& stock,
                                       const StocktakeKey& key, std::int64_t& rows) {
    std::vector<MovedStockItem> moved;
    rows = 0;
    // The template and the stock as they are at one moment, each row's stock read without
    // locking of its own.
    const ReadSnapshot snapshot;
    StocktakeLines template_(lines, key);
    template_.setQuickScan(true);
    if (template_.restart() != kLevelBenign) return moved;
    const int byItem = stock.table().findKey("SIFRAKLJUC");
    while (template_.next() == ReadResult::Record) {
        ++rows;
        ZALOGA.EAN = INVENDET.EAN.str();
        ZALOGA.ENOTA = key.unit;
        const Decimal now = stock.Fetch(byItem) == kLevelBenign ? ZALOGA.ZALOGA.value() : Decimal();
        if (now != INVENDET.RacZaloga.value())
            moved.push_back({INVENDET.EAN.str(), INVENDET.Naziv.str(), INVENDET.RacZaloga, now,
                             INVENDET.PopisanaZaloga});
    }
    template_.setQuickScan(false);
    return moved;
}

bool postDespiteMovedStock(const std::vector<MovedStockItem>& moved) {
    const std::string count = std::to_string(moved.size());
    if (ask(" Zaloga se je po pripravi predloge spremenila pri " + count +
                " artiklih.|| Ali želite izpis teh artiklov ?",
            kButtonYes))
        (void)callProcedure(procedureByName("IzpisSpremenjeneZaloge"), ReqView);
    return ask(" Ali kljub temu želite knjižiti inventurne razlike ?||"
               " Če odgovorite NE, lahko predlogo pripravite ponovno.",
               kButtonNo);
}

}  // namespace dv
