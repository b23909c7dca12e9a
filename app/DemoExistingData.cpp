#include "app/DemoExistingData.h"

#include "app/DemoTables.h"
#include "data/Dictionary.h"
#include "data/ProgramDirectory.h"
#include "data/TableFileNames.h"

namespace dv {
namespace {

bool liesInParentDirectory(const TableDef& table) {
    return table.file != nullptr && table.file->builtInName.starts_with("..");
}

}  // namespace

std::optional<std::string> findTableWithRows(TableAccess& access) {
    for (const TableDef& table : dictionary()) {
        if (liesInParentDirectory(table)) continue;
        const std::string file = hostPath(tableFileName(table.name));
        const auto driver = access.makeDriver(table, file);
        const DriverCode opened = driver->open(AccessMode::ReadOnly);
        if (opened == DriverCode::FileNotFound) continue;
        if (opened != DriverCode::Ok)
            throw DemoFailure("tabele " + std::string(table.name) + " (" + file +
                              ") ni mogoče prebrati: " + driver->lastError().text);
        const std::int64_t rows = driver->records();
        driver->close();
        if (rows != 0)
            return "tabela " + std::string(table.name) +
                   " ni prazna (število zapisov: " + (rows > 0 ? std::to_string(rows) : "neznano") +
                   ")";
    }
    return std::nullopt;
}

}  // namespace dv
