#include "stocktake/StocktakeSelection.h"

#include "data/RecordBuffers.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/ViewFields.h"

namespace dv {

std::optional<StocktakeKey> StocktakeSelectionList::highlightedStocktake() const {
    const void* record = highlightedRecord();
    if (record == nullptr) return std::nullopt;
    const TableDef& table = file().table();
    const auto number = [&](const char* field) {
        return static_cast<std::uint16_t>(
            readFieldValue(table, table.findField(field), record).toNumber().unitsAt(0));
    };
    return StocktakeKey{number("StevInventure"), number("Enota"),
                        readFieldValue(table, table.findField("VRSTAPRODAJE"), record).toText()};
}

bool StocktakeSelectionList::readHighlighted() {
    const std::optional<StocktakeKey> key = highlightedStocktake();
    if (!key) return false;
    clearRecord(file().table(), file().buffer());
    INVENTUR.StevInventure = key->number;
    INVENTUR.Enota = key->unit;
    INVENTUR.VRSTAPRODAJE = key->saleType;
    return file().Fetch(file().table().findKey("STEVILKAKLJUC")) == kLevelBenign;
}

void StocktakeSelectionList::selectStocktake() {
    GLO.DIDEROVIV = INVENTUR.StevInventure;
    GLO.ENOTAINV = static_cast<std::int16_t>(INVENTUR.Enota);
    GLO.VRSTAINV = INVENTUR.VRSTAPRODAJE.str();
}

bool StocktakeSelectionList::highlightedNumberSet() const {
    const std::optional<StocktakeKey> key = highlightedStocktake();
    return key && key->number != 0;
}

void StocktakeSelectionList::focusList() { window()->select("?Seznam"); }

}  // namespace dv
