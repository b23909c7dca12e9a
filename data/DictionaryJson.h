#pragma once

#include <string>

namespace dv {

// The data dictionary as one JSON array, one object per table in the order of dictionary():
// name, prefix, file (built-in file name), entry (its "FILE" entry), version (null when the
// table is not registered), recordSize, and
//   fields: name ("DOK:Id"), type (byte, short, ushort, long, ulong, string, cstring, decimal,
//           date, memo, group), size (bytes of one element; a group's span), offset (null for a
//           memo, stored apart), digits and places (decimals), dim (arrays), fields (groups: how
//           many following fields they span);
//   keys: name, components (field, ascending), unique, primary, autoInc (field name or null),
//         noCase, description;
//   rules: every field with allowed codes or a default: field, allowed and labels (null without
//          a list), fieldText, default (null without one);
//   relations: every relation the table takes part in: parent, child, childKey, fields (parent,
//              child), updateMode, deleteMode ("RelCascade", ...).
std::string dictionaryJson();

}  // namespace dv
