#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "runtime/MessageRaiser.h"
#include "storage/DatabaseOptions.h"
#include "storage/SqlConnection.h"
#include "storage/TableAccess.h"

namespace dv::test {

// The engine the tests of a test program run on: the embedded database, or the server when the
// environment variable DV_TEST_ENGINE is "postgresql" (then every test shares one throwaway
// cluster, each keeping apart by its own data directories, which are schemas of their own).
// CTest runs the storage, stocktake and terminal tests once more that way.
bool testsOnServer();

// The cluster's connection string; fails the test (and gives "") when it could not be started.
std::string testServerConnection();

// The connection the tests' table access uses: the server's when the tests run on it.
std::unique_ptr<SqlConnection> testConnection(const DatabaseOptions& options = {});
std::unique_ptr<TableAccess> testTableAccess(MessageRaiser* errors,
                                             const DatabaseOptions& options = {});

// Runs `sql` on the test cluster through a connection of its own (another program, an
// administrator); fails the test when the server refuses it.
void runOnServer(const std::string& sql);
// The first value of the first row of `sql` on the test cluster, through a connection of its
// own ("" when there is none; a refused query fails the test).
std::string queryServer(const std::string& sql);

// The schema of the server that holds the tables of `directory` for `access` ("" and a failed
// test when there is none).
std::string serverSchema(TableAccess& access, const std::filesystem::path& directory);

// Makes the server end the connection that writes to `table` of `schema` when it writes its
// row number `rows` + 1 there (as a server that goes away in the middle of a batch);
// serverConnectionsKeep ends that.
void cutConnectionAfter(const std::string& schema, const std::string& table, int rows);
void serverConnectionsKeep(const std::string& schema, const std::string& table);

}  // namespace dv::test

// Skips a test that is about the embedded database itself (its files, locks, journal) when the
// tests run on the server, saying why.
#define DV_EMBEDDED_ONLY(why)                                                       \
    do {                                                                            \
        if (::dv::test::testsOnServer()) GTEST_SKIP() << "embedded database only: " << why; \
    } while (false)

// Skips a test about several stations on one database when the tests run on the embedded one,
// which serves one station.
#define DV_SERVER_ONLY()                                                                 \
    do {                                                                                 \
        if (!::dv::test::testsOnServer())                                                \
            GTEST_SKIP() << "several stations share only a server's database";           \
    } while (false)
