#include "storage/SqliteStatement.h"

#include "storage/SqlRecordColumns.h"
#include "storage/SqliteError.h"

namespace dv {

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql)
    : db_(db),
      prepareResult_(sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                        SQLITE_PREPARE_PERSISTENT, &statement_, nullptr)) {}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

DriverError SqliteStatement::failure(std::string_view action) const {
    return sqliteFailure(db_, lastResult_, action);
}

void SqliteStatement::bindRecord(const TableSchema& layout, const void* record) {
    record_columns::bindRecord(*this, layout, record);
}

void SqliteStatement::bindColumns(const TableSchema& layout, const void* record,
                                  const std::vector<int>& columns) {
    record_columns::bindColumns(*this, layout, record, columns);
}

void SqliteStatement::readRecord(int first, const TableSchema& layout,
                                 const ColumnSelection* selection, void* record) const {
    record_columns::readRecord(*this, first, layout, selection, record);
}

}  // namespace dv
