#pragma once

#include <optional>
#include <string>

#include "data/TableDef.h"
#include "runtime/Picture.h"

namespace dv {

// A listed column: a field of a table's record (the primary table's or a joined one's) shown in
// a column of the list (MapColumn: record field, row field), in a picture read once.
struct BrowseColumn {
    BrowseColumn(const TableDef& table, int field, int column, const std::string& picture);

    const TableDef* table;
    int field;
    int column;                      // from 1
    std::optional<Picture> picture;  // none: the field as it is

    // The field of `record` as the cell shows it.
    std::string format(const void* record) const;
};

// The picture a field is shown in when the list gives none: dates as dd.mm.yyyy, decimals with
// their places and the decimal comma; none for whole numbers and texts, which show as they are.
std::string defaultPicture(const FieldDef& field);

}  // namespace dv
