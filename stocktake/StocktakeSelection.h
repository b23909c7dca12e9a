#pragma once

#include <optional>

#include "framework/BrowseProcedure.h"
#include "stocktake/StocktakePosting.h"

namespace dv {

// A list of stocktakes (INVENTUR in number order) from which one is chosen for a later step:
// the highlighted stocktake, read again from the table, and the program-wide selection of it.
class StocktakeSelectionList : public BrowseProcedure {
  public:
    using BrowseProcedure::BrowseProcedure;

  protected:
    // The key of the highlighted row; nothing when the list is empty.
    std::optional<StocktakeKey> highlightedStocktake() const;
    // Reads the highlighted stocktake again into the INVENTUR buffer (another procedure may have
    // closed it meanwhile); false when the list is empty or the row is gone.
    bool readHighlighted();
    // GLO:DIDEROVIV, GLO:ENOTAINV and GLO:VRSTAINV from the INVENTUR buffer.
    static void selectStocktake();
    // Whether the highlighted row's number is not 0 (the buttons of the step are enabled then).
    bool highlightedNumberSet() const;
    // The focus back on the list.
    void focusList();
};

}  // namespace dv
