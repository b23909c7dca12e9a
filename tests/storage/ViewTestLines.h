#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "data/RecordBuffers.h"
#include "schema/Records.h"
#include "storage/FileManager.h"
#include "storage/ViewManager.h"

namespace dv::test {

// A template line of the view tests: the fields the views order and filter by.
struct ViewLine {
    int stocktake;
    int unit;
    std::string ean;
    int group;
    std::string name;
};

inline void addViewLine(FileManager& lines, const ViewLine& line) {
    clearRecord(lines.table(), &INVENDET);
    INVENDET.StevInventure = static_cast<std::uint16_t>(line.stocktake);
    INVENDET.Enota = static_cast<std::uint16_t>(line.unit);
    INVENDET.VrstaProdaje = "M";
    INVENDET.EAN = line.ean;
    INVENDET.Skupina = static_cast<std::uint16_t>(line.group);
    INVENDET.Naziv = line.name;
    ASSERT_EQ(lines.Insert(), kLevelBenign) << line.name;
}

// The names the view reads from the place set, in one direction, until the end.
inline std::vector<std::string> readViewNames(ViewManager& view, bool forward, int most) {
    std::vector<std::string> names;
    while (most-- > 0) {
        const ViewRead result = forward ? view.Next() : view.Previous();
        if (result != ViewRead::Record) {
            EXPECT_EQ(result, ViewRead::End);
            break;
        }
        names.push_back(INVENDET.Naziv.str());
    }
    return names;
}

// The names of the `lines` that satisfy `keep`, in the order of `less`.
template <typename Keep, typename Less>
std::vector<std::string> chosenNames(const std::vector<ViewLine>& lines, Keep keep, Less less) {
    std::vector<ViewLine> chosen;
    for (const ViewLine& line : lines)
        if (keep(line)) chosen.push_back(line);
    std::stable_sort(chosen.begin(), chosen.end(), less);
    std::vector<std::string> names;
    for (const ViewLine& line : chosen) names.push_back(line.name);
    return names;
}

inline bool byPrimaryKey(const ViewLine& a, const ViewLine& b) {
    return std::tie(a.stocktake, a.unit, a.ean) < std::tie(b.stocktake, b.unit, b.ean);
}

}  // namespace dv::test
