#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/TableDef.h"
#include "runtime/ExpressionValue.h"

namespace dv {

// How a sort order limits the records it shows (LIMITTYPE).
enum class LimitType : std::uint8_t {
    None = 0,
    CurrentValue = 1,  // each range field keeps the value it had when the order was chosen
    SingleValue = 2,   // each range field equals a given value
    Range = 3,         // the fields before the last equal given values, the last lies low..high
    FileRelation = 4,  // the range fields equal the linking fields of a parent record
};

// A value a range takes each time the list refreshes: a variable, a parent record's field.
using BrowseValue = std::function<ExpressionValue()>;

// The value of a field of a table's record buffer, read when asked.
BrowseValue bufferField(const TableDef& table, int field);
// A fixed value.
BrowseValue fixedValue(ExpressionValue value);

// One range field (RANGELIST): a field of the primary table and its value, or its low and high
// values for the last field of a Range. CurrentValue takes no values.
struct RangeField {
    int field;
    BrowseValue low;
    BrowseValue high;
};

// The range limit of a sort order over a key of the primary table.
class BrowseRange {
  public:
    BrowseRange() = default;
    BrowseRange(const TableDef& table, int key, LimitType type, std::vector<RangeField> fields);

    LimitType type() const { return type_; }
    // The same range over another key (the captured values kept).
    BrowseRange over(int key) const;
    const std::vector<RangeField>& fields() const { return fields_; }

    // A CurrentValue range takes the fields' values from the record now.
    void capture(const void* record);
    // The conditions as filter text: "PREFIX:Field = value" joined by " AND ", the last field of
    // a Range as "F >= low AND F <= high"; a text component of a case-insensitive key as
    // "UPPER(PREFIX:Field)" with its value in upper case. Empty without a range.
    std::string filterText() const;
    // Gives the record the range's values (all but the last field of a Range), as a new record
    // in the list must have them.
    void prime(void* record) const;
    // FREEELEMENT: the first component of the key that the range does not fix (the number of
    // components when it fixes them all), which the locator and the thumb set.
    int freeElement() const;

  private:
    ExpressionValue value(std::size_t field, bool high) const;
    std::string condition(std::size_t field, const char* op, const ExpressionValue& value) const;
    bool upperCased(std::size_t field) const;

    const TableDef* table_ = nullptr;
    int key_ = -1;
    LimitType type_ = LimitType::None;
    std::vector<RangeField> fields_;
    std::vector<ExpressionValue> captured_;
};

// An extra filter of a sort order, with the id it is replaced or removed by.
struct BrowseFilter {
    std::string expression;
    std::string id;
};

// The view's filter text: the range's conditions, then each extra filter appended as
// " AND (" filter ")" (the first one without " AND " when there is no range).
std::string viewFilterText(const std::string& range, const std::vector<BrowseFilter>& filters);

// "PREFIX:Field" as an expression names the field.
std::string expressionFieldName(const TableDef& table, int field);

}  // namespace dv
