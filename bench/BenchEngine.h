#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "runtime/MessageRaiser.h"
#include "storage/SqlConnection.h"
#include "storage/TableAccess.h"

namespace dv::bench {

// The engine a benchmark program runs the table engine (and its raw counterpart) on: the
// embedded database, or a throwaway PostgreSQL cluster started once for the whole run.
enum class Engine { Sqlite, Postgresql };

// Takes "--engine=sqlite|postgresql" out of the command line before Google Benchmark reads it
// and remembers the choice; an unknown engine ends the program with a message.
Engine takeEngineOption(int& argc, char** argv);
Engine engine();
inline bool onServer() {
    return engine() == Engine::Postgresql;
}

// The connection string of database `database` of the throwaway cluster (its own database when
// empty), the cluster started at the first call; throws when it cannot be started.
std::string serverConnection(const std::string& database = {});
// Runs one statement on the cluster's own database, outside any transaction (CREATE DATABASE).
void serverCommand(const std::string& sql);

// A connection of the chosen engine: the embedded database, or the cluster's `database`.
std::unique_ptr<SqlConnection> engineConnection(const std::string& database = {});
// The program's table access on a connection of the chosen engine.
std::unique_ptr<TableAccess> engineTables(MessageRaiser* errors = nullptr,
                                          const std::string& database = {});

// "schema"."TABLE" of a table of `directory` on `connection`, for statements of the benchmarks'
// own that set up or check the data outside the measurements.
std::string tableIn(SqlConnection& connection, const std::filesystem::path& directory,
                    const char* table);

// Registers a benchmark under its usual name, in milliseconds. On the server the CPU time is
// the program's alone: the server's work is another process, so compare the wall time too.
benchmark::internal::Benchmark* registerOnEngine(const std::string& name,
                                                 void (*run)(benchmark::State&));
// The label of a run: `text` and, on the server, the engine's name.
void labelEngine(benchmark::State& state, const std::string& text = {});

}  // namespace dv::bench
