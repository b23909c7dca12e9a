#include "app/DatabaseChoice.h"

#include <utility>

#include "storage/PostgresDatabase.h"

namespace dv {
namespace {

std::optional<std::string>& databaseOverride() {
    static std::optional<std::string> connection;
    return connection;
}

std::string& databaseNotice() {
    static std::string notice;
    return notice;
}

}  // namespace

std::string takeDatabaseNotice() {
    return std::exchange(databaseNotice(), std::string());
}

void setDatabaseOverride(std::optional<std::string> connection) {
    databaseOverride() = std::move(connection);
}

std::string chosenDatabase(const SettingsManager& settings) {
    if (databaseOverride()) return *databaseOverride();
    return settings.readText("BAZA", "Povezava", "");
}

std::unique_ptr<TableAccess> openTableAccess(MessageRaiser* errors, const SettingsManager& settings,
                                             std::string& error) {
    const std::string connection = chosenDatabase(settings);
    if (connection.empty()) return std::make_unique<TableAccess>(errors);
    auto server = std::make_unique<PostgresDatabase>(connection);
    if (!server->startError().empty()) {
        error = server->startError();
        return nullptr;
    }
    databaseNotice() = server->rebuildKeysUnderOtherCollation();
    return std::make_unique<TableAccess>(errors, std::move(server));
}

}  // namespace dv
