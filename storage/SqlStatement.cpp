#include "storage/SqlStatement.h"

namespace dv {

SqlStatement::SqlStatement(sqlite3* db, std::string_view sql)
    : prepareResult_(sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                        SQLITE_PREPARE_PERSISTENT, &statement_, nullptr)) {}

SqlStatement::~SqlStatement() {
    sqlite3_finalize(statement_);
}

void SqlStatement::bind(int index, const KeyValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value))
        bind(index, *number);
    else
        bind(index, std::string_view(std::get<std::string>(value)));
}

std::string_view SqlStatement::text(int column) const {
    const auto* bytes = sqlite3_column_text(statement_, column);
    if (bytes == nullptr) return {};
    return std::string_view(reinterpret_cast<const char*>(bytes),
                            static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

}  // namespace dv
