#pragma once

#include <cstdint>
#include <vector>

#include "stocktake/StocktakePosting.h"

namespace dv {

class FileManager;

// The template rows of a stocktake whose item's stock quantity in the unit (0 without a stock
// row) differs from the book quantity the template froze, in item order; `rows` is left with the
// number of template rows read. Both tables must be open.
std::vector<MovedStockItem> movedStock(FileManager& lines, FileManager& stock,
                                       const StocktakeKey& key, std::int64_t& rows);

// Says how many items moved since the template was prepared, offers the printout of them
// (IzpisSpremenjeneZaloge) and asks whether to post all the same (No by default, so that the
// template can be prepared again). Whether to post.
bool postDespiteMovedStock(const std::vector<MovedStockItem>& moved);

}  // namespace dv
