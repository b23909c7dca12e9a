#include "framework/BrowseRange.h"

#include <utility>

#include "runtime/Expression.h"
#include "runtime/TextCase.h"
#include "storage/ViewFields.h"

namespace dv {

BrowseValue bufferField(const TableDef& table, int field) {
    return [&table, field] { return readFieldValue(table, field, table.buffer); };
}

BrowseValue fixedValue(ExpressionValue value) {
    return [value = std::move(value)] { return value; };
}

std::string expressionFieldName(const TableDef& table, int field) {
    return std::string(table.prefix) + ":" +
           std::string(table.fields[static_cast<std::size_t>(field)].name);
}

BrowseRange::BrowseRange(const TableDef& table, int key, LimitType type,
                         std::vector<RangeField> fields)
    : table_(&table), key_(key), type_(type), fields_(std::move(fields)) {
    if (type_ == LimitType::None) fields_.clear();
    captured_.resize(fields_.size());
}

BrowseRange BrowseRange::over(int key) const {
    BrowseRange range = *this;
    range.key_ = key;
    return range;
}

void BrowseRange::capture(const void* record) {
    if (type_ != LimitType::CurrentValue) return;
    for (std::size_t f = 0; f < fields_.size(); ++f)
        captured_[f] = readFieldValue(*table_, fields_[f].field, record);
}

ExpressionValue BrowseRange::value(std::size_t field, bool high) const {
    if (type_ == LimitType::CurrentValue) return captured_[field];
    const BrowseValue& source = high ? fields_[field].high : fields_[field].low;
    return source ? source() : ExpressionValue();
}

// A text component of a case-insensitive key compares in upper case, as the key orders it.
bool BrowseRange::upperCased(std::size_t field) const {
    if (key_ < 0) return false;
    const KeyDef& key = table_->keys[static_cast<std::size_t>(key_)];
    if (!key.noCase) return false;
    const int index = fields_[field].field;
    if (!isTextField(table_->fields[static_cast<std::size_t>(index)])) return false;
    for (const KeyComponent& component : key.components)
        if (component.field == index) return true;
    return false;
}

std::string BrowseRange::condition(std::size_t field, const char* op,
                                   const ExpressionValue& value) const {
    const std::string name = expressionFieldName(*table_, fields_[field].field);
    if (!upperCased(field))
        return name + op + (value.isText() ? quoteExpressionText(value.toText()) : value.toText());
    return "UPPER(" + name + ")" + op + quoteExpressionText(upperSlovenian(value.toText()));
}

std::string BrowseRange::filterText() const {
    std::string text;
    for (std::size_t f = 0; f < fields_.size(); ++f) {
        if (!text.empty()) text += " AND ";
        if (type_ == LimitType::Range && f + 1 == fields_.size())
            text += condition(f, " >= ", value(f, false)) + " AND " +
                    condition(f, " <= ", value(f, true));
        else
            text += condition(f, " = ", value(f, false));
    }
    return text;
}

void BrowseRange::prime(void* record) const {
    std::size_t count = fields_.size();
    if (type_ == LimitType::Range && count > 0) --count;
    for (std::size_t f = 0; f < count; ++f)
        writeFieldValue(*table_, fields_[f].field, record, value(f, false));
}

int BrowseRange::freeElement() const {
    if (table_ == nullptr || key_ < 0) return 0;
    std::size_t fixed = fields_.size();
    if (type_ == LimitType::Range && fixed > 0) --fixed;
    const KeyDef& key = table_->keys[static_cast<std::size_t>(key_)];
    for (std::size_t c = 0; c < key.components.size(); ++c) {
        bool isFixed = false;
        for (std::size_t f = 0; f < fixed; ++f)
            isFixed = isFixed || fields_[f].field == key.components[c].field;
        if (!isFixed) return static_cast<int>(c);
    }
    return static_cast<int>(key.components.size());
}

std::string viewFilterText(const std::string& range, const std::vector<BrowseFilter>& filters) {
    std::string text = range;
    for (const BrowseFilter& filter : filters) {
        if (filter.expression.empty()) continue;
        text += (text.empty() ? "(" : " AND (") + filter.expression + ")";
    }
    return text;
}

}  // namespace dv
