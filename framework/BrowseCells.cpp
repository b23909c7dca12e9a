#include "framework/BrowseCells.h"

#include "data/FieldAccess.h"
#include "runtime/PictureFormat.h"
#include "storage/StoredText.h"
#include "storage/ViewFields.h"

namespace dv {

std::string defaultPicture(const FieldDef& field) {
    if (field.type == FieldType::Date) return "@d17";
    if (field.type == FieldType::Decimal) {
        const int width = field.digits + field.digits / 3 + 2;
        return "@n-" + std::to_string(width) + (field.places > 0 ? "`" : "") +
               (field.places > 0 ? std::to_string(field.places) : "");
    }
    return {};
}

BrowseColumn::BrowseColumn(const TableDef& table, int field, int column, const std::string& picture)
    : table(&table), field(field), column(column) {
    const std::string text =
        picture.empty() ? defaultPicture(table.fields[static_cast<std::size_t>(field)]) : picture;
    if (!text.empty()) this->picture = Picture::parse(text);
}

std::string BrowseColumn::format(const void* record) const {
    const FieldDef& definition = table->fields[static_cast<std::size_t>(field)];
    // Plain texts and whole numbers, the most common cells, without a value in between.
    if (!picture && (definition.type == FieldType::String || definition.type == FieldType::CString))
        return storedText(readText(record, definition));
    const ExpressionValue value = readFieldValue(*table, field, record);
    if (!picture) return value.toText();
    switch (picture->kind()) {
        case PictureKind::date:
            return formatDate(static_cast<DayNumber>(value.toNumber().unitsAt(0)), *picture);
        case PictureKind::time:
            return formatTime(static_cast<TimeValue>(value.toNumber().unitsAt(0)), *picture);
        case PictureKind::number:
            return dv::format(value.toNumber(), *picture);
        case PictureKind::text:
        case PictureKind::pattern:
            return value.isText() ? formatText(value.toText(), *picture)
                                  : dv::format(value.toNumber(), *picture);
    }
    return value.toText();
}

}  // namespace dv
