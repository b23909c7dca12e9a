#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "data/TableDef.h"
#include "runtime/ExpressionNames.h"

namespace dv {

// A field of a table as the source of a name in an expression: read from the record that
// `record` points to when the expression is evaluated. Integers and dates (day numbers) are
// numbers, decimals exact numbers with the field's places, texts their UTF-8 text.
class RecordFieldSource final : public ValueSource {
  public:
    RecordFieldSource(const TableDef& table, int field, const void* const* record);

    const TableDef& table() const { return table_; }
    int fieldIndex() const { return field_; }
    const FieldDef& field() const { return table_.fields[static_cast<std::size_t>(field_)]; }

    ValueKind kind() const override;
    ExpressionValue read() const override;

  private:
    const TableDef& table_;
    int field_;
    const void* const* record_;
};

// Binds "PREFIX:Field" (the table's prefix or name, any letter case) to a field of a table's
// record: by default its program-wide record buffer. A group of text fields reads as one text;
// other groups and arrays are refused.
class RecordFieldResolver final : public NameResolver {
  public:
    // Every table of the dictionary.
    RecordFieldResolver();
    // Only these tables.
    explicit RecordFieldResolver(std::vector<const TableDef*> tables);

    // Fields of `table` are read from the record *record points to, not from the buffer.
    void readFrom(const TableDef& table, const void* const* record);

    std::unique_ptr<ValueSource> resolve(std::string_view name) const override;

  private:
    struct Binding {
        const TableDef* table;
        const void* const* record;
    };
    const Binding* find(std::string_view prefix) const;

    std::vector<Binding> tables_;
};

}  // namespace dv
