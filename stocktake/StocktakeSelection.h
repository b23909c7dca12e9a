#pragma once

#include <optional>

#include "framework/BrowseProcedure.h"
#include "stocktake/StocktakePosting.h"

namespace dv {

// The stocktake the user last chose for a step of the stocktake, kept in the settings file
// (section "INVENTURA", entry "ZadnjaIzbrana", as "number;unit;sale type") so that the next
// session starts there too; nothing when none was chosen yet or the entry is damaged.
std::optional<StocktakeKey> lastChosenStocktake();
void rememberChosenStocktake(const StocktakeKey& key);

// Makes `list`, about to be filled, open on the last chosen stocktake when it is still in the
// register `stocktakes` (INVENTUR); a lookup keeps opening on its caller's record.
void preselectLastStocktake(BrowseList& list, FileManager& stocktakes, Request request);

// A list of stocktakes (INVENTUR in number order) from which one is chosen for a later step:
// the highlighted stocktake, read again from the table, and the program-wide selection of it.
class StocktakeSelectionList : public BrowseProcedure {
  public:
    using BrowseProcedure::BrowseProcedure;

  protected:
    // The list opens on the last chosen stocktake.
    void DefineList() override;
    // The key of the highlighted row; nothing when the list is empty.
    std::optional<StocktakeKey> highlightedStocktake() const;
    // Reads the highlighted stocktake again into the INVENTUR buffer (another procedure may have
    // closed it meanwhile); false when the list is empty or the row is gone.
    bool readHighlighted();
    // GLO:DIDEROVIV, GLO:ENOTAINV and GLO:VRSTAINV from the INVENTUR buffer; the stocktake is
    // remembered as the last chosen.
    static void selectStocktake();
    // Whether the highlighted row's number is not 0 (the buttons of the step are enabled then).
    bool highlightedNumberSet() const;
    // The focus back on the list.
    void focusList();
};

}  // namespace dv
