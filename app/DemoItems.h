#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/DemoTables.h"
#include "runtime/Decimal.h"

namespace dv {

// The demo company's item catalogue (ARTIKLI) and its stock in the warehouse units (ZALOGA).

// The number of items the demo company carries unless asked for another, and the most it can.
inline constexpr std::size_t kDemoItemCount = 2000;
inline constexpr std::size_t kMostDemoItems = 200000;
// The characters of an item's name: its short name and the second part together.
inline constexpr std::size_t kDemoItemNameLength = 60;

// One item of the catalogue: a product of a subgroup in one of its sizes under one brand
// (indexes into demoGroups() and demoBrands()).
struct DemoItemChoice {
    std::size_t group = 0;
    std::size_t subgroup = 0;
    std::size_t product = 0;
    std::size_t size = 0;
    std::size_t brand = 0;
    std::size_t series = 0;  // 0 for the first of the combination, then its later lines
};

// A stock row of the shop that the demo's terminal capture counts.
struct DemoStockRow {
    std::string ean;
    Decimal quantity;
    bool whole = true;  // counted in pieces, not weighed or measured
};

// The first `count` items: the subgroups take turns, each going through the sizes of its
// products under one brand after another, so that no two items are alike. When a subgroup's
// combinations are used up it starts again with a product line of the next series (named by
// demoItemName), so any count up to kMostDemoItems comes back whole.
std::vector<DemoItemChoice> chooseDemoItems(std::size_t count);

// "Kruh polnozrnati Planika 500 g", and for a later series "Kruh polnozrnati Planika 500 g bio"
// or "... bio 2"; never longer than the item's name of 60 characters.
std::string demoItemName(const DemoItemChoice& item);

// The value of a stock quantity at a price: their product, which the value field keeps to its
// two places (rounded half away from zero).
Decimal demoStockValue(const Decimal& quantity, const Decimal& price);

// Adds `count` items and their stock rows. Every item has a valid EAN-13 code with the
// Slovenian prefix 383, a group and subgroup, a tax rate, a unit of measure and prices; it is
// in stock in the first wholesale unit and, by chance, in the others. A few stock rows have no
// stock and a few a negative quantity, as stock that was sold before its receipt was entered.
// Returns the stock rows of unit `countedUnit`, in the order added.
std::vector<DemoStockRow> addDemoItems(DemoTables& tables, FileManager& items, FileManager& stock,
                                       std::size_t count, std::uint16_t countedUnit);

}  // namespace dv
