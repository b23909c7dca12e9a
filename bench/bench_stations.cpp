// Several stations counting one stocktake on a server (always the throwaway PostgreSQL cluster):
// the demo company of 2,000 items copied to the server, stocktake 1 opened with its template.
// Each station imports a capture file of 5,000 lines (the two files overlapping in half their
// items) and types 40 counts into the form. BM_Stations/2 runs the two stations at once, each
// a program process of its own driven by a UI script (the first imports, then counts; the
// second counts, then imports); BM_Stations/1 has one station do the same work of both, one
// after the other. The time is the wall time of the work (setting up is not counted); counts_per_s
// is the lines imported and counts typed per second, start-up of the programs included.

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchDirectory.h"
#include "bench/BenchEngine.h"
#include "support/StationSetup.h"

namespace {

namespace fs = std::filesystem;
namespace stations = dv::stations;

constexpr int kItems = 2000;
constexpr int kLines = 5000;
constexpr std::size_t kHandCounts = 40;

// The codes of stocktake 1's template, read on the server.
std::vector<std::string> templateCodes(const std::string& server, const fs::path& program) {
    std::vector<std::string> codes;
    PGconn* conn = PQconnectdb(server.c_str());
    const std::string directory = fs::weakly_canonical(program).string();
    const char* values[] = {directory.c_str()};
    PGresult* schema = PQexecParams(conn, "SELECT \"SCHEMA\" FROM public.\"_SCHEMAS\" WHERE \"DIRECTORY\" = $1",
                                    1, nullptr, values, nullptr, nullptr, 0);
    if (PQresultStatus(schema) == PGRES_TUPLES_OK && PQntuples(schema) == 1) {
        const std::string sql = "SELECT ean FROM " + std::string(PQgetvalue(schema, 0, 0)) +
                                ".invendet WHERE stevinventure = 1 ORDER BY ean";
        PGresult* rows = PQexec(conn, sql.c_str());
        for (int i = 0; PQresultStatus(rows) == PGRES_TUPLES_OK && i < PQntuples(rows); ++i)
            codes.emplace_back(PQgetvalue(rows, i, 0));
        PQclear(rows);
    }
    PQclear(schema);
    PQfinish(conn);
    return codes;
}

std::vector<std::string> slice(const std::vector<std::string>& codes, std::size_t from,
                               std::size_t to) {
    return {codes.begin() + static_cast<std::ptrdiff_t>(from),
            codes.begin() + static_cast<std::ptrdiff_t>(to)};
}

void check(const dv::test::ProgramRun& run) {
    if (run.status != 0) throw std::runtime_error(run.output);
}

void BM_Stations(benchmark::State& state) {
    const bool together = state.range(0) == 2;
    static int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dv::bench::Directory folder;
        const fs::path first = folder.path() / "firma";
        const fs::path second = folder.path() / "druga" / "postaja2";
        fs::create_directories(first);
        dv::bench::serverConnection();
        const std::string server = stations::newDatabase(
            "postaje" + std::to_string(state.range(0)) + "_" + std::to_string(++round));
        if (server.empty()) throw std::runtime_error("no database on the cluster");
        if (const std::string failed = stations::makeTwoStations(first, second, server, kItems);
            !failed.empty())
            throw std::runtime_error(failed);
        const std::vector<std::string> codes = templateCodes(server, first);
        if (codes.size() < 300 + 2 * kHandCounts) throw std::runtime_error("too few items");
        const auto firstHand = stations::handCounts(slice(codes, 300, 300 + kHandCounts), 1);
        const auto secondHand =
            stations::handCounts(slice(codes, 300 + kHandCounts, 300 + 2 * kHandCounts), 100);
        const std::string firstScript = std::string(stations::kStart) + stations::kImport +
                                        stations::countByHand(firstHand) + stations::kExit;
        const std::string secondScript = std::string(stations::kStart) +
                                         stations::countByHand(secondHand) + stations::kImport +
                                         stations::kExit;
        stations::writeCapture(first, slice(codes, 0, 200), kLines, 1);
        stations::writeCapture(second, slice(codes, 100, 300), kLines, 3);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (together) {
            auto one = stations::startScript(first, firstScript);
            auto two = stations::startScript(second, secondScript);
            check(one.get());
            check(two.get());
        } else {
            // One station alone does the second one's work after its own: its file, its counts.
            check(stations::startScript(first, firstScript).get());
            fs::rename(second / "terminal" / "INVASCII.txt", first / "terminal" / "INVASCII.txt");
            check(stations::startScript(first, secondScript).get());
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.counters["counts_per_s"] = (2.0 * kLines + 2.0 * kHandCounts) / seconds;
    }
    state.SetLabel(together ? "two stations at once" : "one station, the same work");
}

BENCHMARK(BM_Stations)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
