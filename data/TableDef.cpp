#include "data/TableDef.h"

#include <cstddef>
#include <optional>

#include "runtime/TextCase.h"

namespace dv {
namespace {

// "INVENDET:PopisanaZaloga" -> "PopisanaZaloga" when the prefix is the table's (or its name),
// "PopisanaZaloga" as it is; nothing for another table's prefix.
std::optional<std::string_view> withoutPrefix(const TableDef& table, std::string_view name) {
    const auto colon = name.find(':');
    if (colon == std::string_view::npos) return name;
    const std::string_view prefix = name.substr(0, colon);
    if (!equalsIgnoreCaseAscii(prefix, table.prefix) && !equalsIgnoreCaseAscii(prefix, table.name))
        return std::nullopt;
    return name.substr(colon + 1);
}

template <typename Items>
int indexByName(const Items& items, std::optional<std::string_view> name) {
    if (!name) return -1;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (equalsIgnoreCaseAscii(items[i].name, *name)) return static_cast<int>(i);
    return -1;
}

}  // namespace

int TableDef::findField(std::string_view name) const {
    return indexByName(fields, withoutPrefix(*this, name));
}

int TableDef::findKey(std::string_view name) const {
    return indexByName(keys, withoutPrefix(*this, name));
}

}  // namespace dv
