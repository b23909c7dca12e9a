#pragma once

#include <memory>
#include <optional>
#include <string>

#include "data/SettingsManager.h"
#include "runtime/MessageRaiser.h"
#include "storage/TableAccess.h"

namespace dv {

// Where the tables lie: the connection string of section "BAZA", entry "Povezava" of the
// settings file (a libpq connection string such as "service=trgovina"; its password, if any,
// comes from libpq's own password or service file), unless the command line's --database gives
// one for this run. Empty means the embedded database of each data directory.
void setDatabaseOverride(std::optional<std::string> connection);
std::string chosenDatabase(const SettingsManager& settings);

// The table access on the chosen database; nullptr with the reason (in Slovenian) when the
// server cannot be used.
std::unique_ptr<TableAccess> openTableAccess(MessageRaiser* errors, const SettingsManager& settings,
                                             std::string& error);

// What the server's check at start has to tell the user (its keys over names rebuilt under new
// rules of the Slovenian order), once; empty when nothing.
std::string takeDatabaseNotice();

}  // namespace dv
