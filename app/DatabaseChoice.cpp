#include "app/DatabaseChoice.h"

#include <filesystem>
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
    auto server = std::make_unique<PostgresDatabase>(
        connection, settings.readText("BAZA", "Postaja", ""));
    // A station with a program directory of its own works on the tables of the directory the
    // server knows by the name "Imenik", and on its company's (the parent directory).
    if (const std::string shared = settings.readText("BAZA", "Imenik", ""); !shared.empty()) {
        const std::filesystem::path own = settings.path().parent_path();
        const std::filesystem::path named(shared);
        server->mapDirectory(own, named);
        server->mapDirectory(own.parent_path(), named.parent_path());
    }
    if (!server->startError().empty()) {
        error = server->startError();
        return nullptr;
    }
    databaseNotice() = server->rebuildKeysUnderOtherCollation();
    return std::make_unique<TableAccess>(errors, std::move(server));
}

}  // namespace dv
