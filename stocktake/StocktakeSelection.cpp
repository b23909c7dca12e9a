#include "stocktake/StocktakeSelection.h"

#include <charconv>

#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "framework/ProgramServices.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/ViewFields.h"

namespace dv {
namespace {

constexpr std::string_view kSection = "INVENTURA";
constexpr std::string_view kEntry = "ZadnjaIzbrana";

std::optional<std::uint16_t> readNumber(std::string_view text) {
    std::uint16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<StocktakeKey> lastChosenStocktake() {
    const std::string text = programSettings().readText(kSection, kEntry, "");
    const std::size_t first = text.find(';');
    const std::size_t second = text.find(';', first == std::string::npos ? first : first + 1);
    if (second == std::string::npos) return std::nullopt;
    const auto number = readNumber(std::string_view(text).substr(0, first));
    const auto unit = readNumber(std::string_view(text).substr(first + 1, second - first - 1));
    const std::string saleType = text.substr(second + 1);
    if (!number || !unit || *number == 0 || saleType.size() > 1) return std::nullopt;
    return StocktakeKey{*number, *unit, saleType};
}

void rememberChosenStocktake(const StocktakeKey& key) {
    // Failing to remember only costs the next list its preselection; the step goes on.
    (void)programSettings().write(kSection, kEntry,
                                  std::to_string(key.number) + ";" + std::to_string(key.unit) +
                                      ";" + key.saleType);
}

void preselectLastStocktake(BrowseList& list, FileManager& stocktakes, Request request) {
    if (request == ReqSelect) return;
    const std::optional<StocktakeKey> last = lastChosenStocktake();
    if (!last) return;
    clearRecord(stocktakes.table(), stocktakes.buffer());
    INVENTUR.StevInventure = last->number;
    INVENTUR.Enota = last->unit;
    INVENTUR.VRSTAPRODAJE = last->saleType;
    const bool found = stocktakes.Fetch(stocktakes.table().findKey("STEVILKAKLJUC")) == kLevelBenign;
    if (!found) clearRecord(stocktakes.table(), stocktakes.buffer());
    list.options().startAtCurrent = found;
}

void StocktakeSelectionList::DefineList() {
    BrowseProcedure::DefineList();
    preselectLastStocktake(list(), file(), request());
}

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
    rememberChosenStocktake({INVENTUR.StevInventure, INVENTUR.Enota, INVENTUR.VRSTAPRODAJE.str()});
}

bool StocktakeSelectionList::highlightedNumberSet() const {
    const std::optional<StocktakeKey> key = highlightedStocktake();
    return key && key->number != 0;
}

void StocktakeSelectionList::focusList() { window()->select("?Seznam"); }

}  // namespace dv
