#pragma once

#include <string>

namespace dv {

// How the embedded database is kept.
struct DatabaseOptions {
    // Name of the database file in every data directory.
    std::string fileName = "dideroviv.db";
    // How long an operation waits for a database that another program has locked.
    int busyTimeoutMs = 5000;
};

}  // namespace dv
