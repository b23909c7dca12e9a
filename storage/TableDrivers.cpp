#include "storage/TableDrivers.h"

#include "storage/SqliteTable.h"
#include "storage/TextFileTable.h"

namespace dv {

bool isTextFileTable(const TableDef& table) {
    return table.file != nullptr && table.file->version < 0;
}

std::unique_ptr<TableDriver> makeTableDriver(SqlConnection& db, const TableDef& table,
                                             const std::filesystem::path& file) {
    if (isTextFileTable(table))
        return std::make_unique<TextFileTable>(table, file,
                                               parseTextFileOptions(kCaptureFileOptions));
    return std::make_unique<SqliteTable>(db, table, file);
}

}  // namespace dv
