#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "storage/DriverCode.h"
#include "storage/TableDriver.h"

namespace dv {

class TableSchema;
struct ColumnSelection;

// What one step of a statement gave.
enum class StepResult : std::uint8_t { Row, Done, Failed };

// One prepared statement of a connection (SqlConnection). Values are always bound as parameters
// (1-based); the connection keeps the statement and hands it out again for the same SQL.
//
// An engine implements the calls per value, and the calls that move a whole record, so that
// reading or writing a row costs one call through this interface and the columns are read
// through the engine's own, inlined accessors.
class SqlStatement {
  public:
    virtual ~SqlStatement() = default;
    SqlStatement() = default;
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    virtual void bind(int index, std::int64_t value) = 0;
    // Empty text is bound as '' (never as NULL).
    virtual void bind(int index, std::string_view text) = 0;
    void bind(int index, const KeyValue& value) {
        if (const auto* number = std::get_if<std::int64_t>(&value))
            bind(index, *number);
        else
            bind(index, std::string_view(std::get<std::string>(value)));
    }

    virtual StepResult step() = 0;
    // Ends the run of the statement; the parameters stay bound.
    virtual void reset() = 0;

    virtual int columnCount() const = 0;
    virtual std::int64_t integer(int column) const = 0;
    // Valid until the next step or reset.
    virtual std::string_view text(int column) const = 0;

    // After Failed: the failure as the table layer reports it, `action` saying what was done.
    virtual DriverError failure(std::string_view action) const = 0;
    // After Done of a write: the rows it changed, and the row id of the row an insert added.
    virtual std::int64_t changes() const = 0;
    virtual std::int64_t insertedRow() const = 0;

    // Binds every column of the record to parameters 1..n.
    virtual void bindRecord(const TableSchema& layout, const void* record) = 0;
    // Binds the given columns of the record, in their order, to parameters 1..n.
    virtual void bindColumns(const TableSchema& layout, const void* record,
                             const std::vector<int>& columns) = 0;
    // Fills the record from the result columns `first`.. of the current row (the selected ones
    // only, when `selection` is not null).
    virtual void readRecord(int first, const TableSchema& layout,
                            const ColumnSelection* selection, void* record) const = 0;
};

// Resets a statement when the scope ends, so that it never holds the database.
class StatementUse {
  public:
    explicit StatementUse(SqlStatement& statement) : statement_(statement) {}
    ~StatementUse() { statement_.reset(); }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

  private:
    SqlStatement& statement_;
};

}  // namespace dv
