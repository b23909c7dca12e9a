// Speed of the table engine on the stocktake lines (INVENDET) against the raw client library
// doing the same work on the same schema in the same run: adding a template of 100,000 lines in
// one transaction, reading them in the order of every key, and reading each by its primary key.
// With --engine=postgresql both run on a throwaway PostgreSQL cluster (raw: libpq).

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchArguments.h"
#include "bench/BenchDirectory.h"
#include "bench/BenchEngine.h"
#include "bench/RawDatabase.h"
#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "schema/ProgramCatalogue.h"
#include "schema/Records.h"
#include "storage/SlovenianCollation.h"
#include "storage/SqliteTable.h"

namespace {

namespace fs = std::filesystem;
using dv::DriverCode;

constexpr int kRows = 100000;

// One template line in the storage form both variants start from.
struct Line {
    int stocktake;
    int unit;
    std::string kind;
    std::string ean;
    int group;
    std::string name;
    std::int64_t book;
    std::int64_t counted;
    std::int64_t wholesale;
    std::int64_t retail;
    std::int64_t purchase;
    int entered;
};

std::vector<Line> makeLines() {
    static const char* const words[] = {"čokolada", "Šumi",   "žele",  "Cvet", "sok",   "Zlato",
                                        "čaj",      "ŠKAMPI", "mleko", "Kruh", "ajvar", "Éclair"};
    std::vector<Line> lines;
    lines.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        const long code = 3830000000000L + (static_cast<long>(i) * 7919) % kRows;
        lines.push_back(Line{
            1, 1, "M", std::to_string(code), i % 50,
            std::string(words[i % 12]) + " " + words[(i / 12) % 12] + " " + std::to_string(i % 977),
            i * 10L, 0, i * 1234L, i * 1500L, i * 1000L, 0});
    }
    return lines;
}

const dv::TableDef& table() {
    return *dv::findTable("INVENDET");
}

const std::vector<Line>& lines() {
    static const std::vector<Line> all = makeLines();
    return all;
}

// The same lines as records of the program, ready to be copied into the table's buffer.
const std::vector<dv::INVENDETRecord>& records() {
    static const std::vector<dv::INVENDETRecord> all = [] {
        std::vector<dv::INVENDETRecord> made;
        made.reserve(kRows);
        for (const Line& line : lines()) {
            dv::INVENDETRecord record{};
            dv::clearRecord(table(), &record);
            record.StevInventure = static_cast<std::uint16_t>(line.stocktake);
            record.Enota = static_cast<std::uint16_t>(line.unit);
            record.VrstaProdaje = line.kind;
            record.EAN = line.ean;
            record.Skupina = static_cast<std::uint16_t>(line.group);
            record.Naziv = line.name;
            record.RacZaloga.setUnits(line.book);
            record.PopisanaZaloga.setUnits(line.counted);
            record.VPCENA.setUnits(line.wholesale);
            record.MPCENA.setUnits(line.retail);
            record.NABCENA.setUnits(line.purchase);
            record.NarejenVnos = static_cast<std::uint16_t>(line.entered);
            made.push_back(record);
        }
        return made;
    }();
    return all;
}

// Key orders as raw SQL: the same terms and collations as the engine's indexes.
const char* const kRawOrders[] = {
    "STEVINVENTURE,ENOTA,VRSTAPRODAJE,EAN,_ROW",
    "EAN,STEVINVENTURE,ENOTA,VRSTAPRODAJE,_ROW",
    "STEVINVENTURE,ENOTA,VRSTAPRODAJE COLLATE SL_NOCASE,NAZIV COLLATE SL_NOCASE,_ROW",
    "STEVINVENTURE,ENOTA,VRSTAPRODAJE COLLATE SL_NOCASE,SKUPINA,NAZIV COLLATE SL_NOCASE,_ROW",
};
constexpr const char* kColumns =
    "STEVINVENTURE,ENOTA,VRSTAPRODAJE,EAN,SKUPINA,NAZIV,RACZALOGA,POPISANAZALOGA,VPCENA,"
    "MPCENA,NABCENA,NAREJENVNOS";

using dv::bench::Directory;

void check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what);
}

// The engine's table in a directory, created there when missing.
struct EngineTable {
    explicit EngineTable(const fs::path& directory)
        : db(dv::bench::engineConnection()), driver(*db, table(), directory / "INVENDET.TPS") {
        if (driver.open(dv::AccessMode::ReadWrite) == DriverCode::FileNotFound)
            check(driver.create() == DriverCode::Ok, driver.lastError().text);
        check(driver.isOpen() || driver.open(dv::AccessMode::ReadWrite) == DriverCode::Ok,
              driver.lastError().text);
    }
    std::unique_ptr<dv::SqlConnection> db;
    dv::SqliteTable driver;
};

void engineAddAll(dv::SqliteTable& driver) {
    check(driver.beginTransaction() == DriverCode::Ok, driver.lastError().text);
    for (const dv::INVENDETRecord& record : records()) {
        std::memcpy(&dv::INVENDET, &record, sizeof record);
        check(driver.add() == DriverCode::Ok, driver.lastError().text);
    }
    check(driver.commit() == DriverCode::Ok, driver.lastError().text);
}

// Runs `work` with a plain connection of the engine's client library to the table the engine
// made in `directory` (same schema, same indexes).
template <typename Work>
void withRawTable(const fs::path& directory, Work work) {
    { EngineTable made(directory); }
    if (dv::bench::onServer()) {
        dv::bench::ServerRaw raw(dv::bench::serverConnection(), directory);
        work(raw);
        return;
    }
    sqlite3* db = nullptr;
    check(sqlite3_open_v2((directory / "dideroviv.db").c_str(), &db, SQLITE_OPEN_READWRITE,
                          nullptr) == SQLITE_OK,
          "open");
    dv::registerSlovenianCollation(db);
    dv::bench::SqliteRaw raw(db);
    // The settings the engine gives its connection, so that only the engine's own work differs.
    raw.exec("PRAGMA journal_mode=WAL; PRAGMA cache_size=-32768");
    work(raw);
    sqlite3_close(db);
}

template <typename Raw>
void rawAddAll(Raw& raw) {
    typename Raw::Statement insert(raw, (std::string("INSERT INTO INVENDET (") + kColumns +
                                         ") VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)")
                                            .c_str());
    raw.beginWrite();
    for (const Line& line : lines())
        insert.number(1, line.stocktake).number(2, line.unit).text(3, line.kind).text(4, line.ean)
            .number(5, line.group).text(6, line.name).number(7, line.book).number(8, line.counted)
            .number(9, line.wholesale).number(10, line.retail).number(11, line.purchase)
            .number(12, line.entered).run();
    raw.commit();
}

// What a reader does with a row: takes every column out of the result.
struct RawRow {
    std::int64_t numbers[12];
    char texts[3][64];
};

template <typename Statement>
void readRow(const Statement& statement, RawRow& row) {
    int text = 0;
    for (int c = 0; c < 12; ++c) {
        if (c == 2 || c == 3 || c == 5) {
            const std::string_view bytes = statement.view(c);
            std::memcpy(row.texts[text++], bytes.data(), std::min<std::size_t>(bytes.size(), 63));
        } else {
            row.numbers[c] = statement.integer(c);
        }
    }
}

void insertRaw(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            Directory directory;
            withRawTable(directory.path(), [&](auto& raw) {
                state.ResumeTiming();
                rawAddAll(raw);
                state.PauseTiming();
            });
        }
        state.ResumeTiming();
    }
    dv::bench::labelEngine(state);
}

void insertEngine(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            Directory directory;
            EngineTable engine(directory.path());
            state.ResumeTiming();
            engineAddAll(engine.driver);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    dv::bench::labelEngine(state);
}

void scanRaw(benchmark::State& state) {
    Directory directory;
    withRawTable(directory.path(), [&](auto& raw) {
        using Statement = typename std::remove_reference_t<decltype(raw)>::Statement;
        rawAddAll(raw);
        std::vector<std::unique_ptr<Statement>> scans;
        for (const char* order : kRawOrders)
            scans.push_back(std::make_unique<Statement>(
                raw, (std::string("SELECT ") + kColumns + " FROM INVENDET ORDER BY " + order)
                         .c_str()));
        RawRow row{};
        for (auto _ : state) {
            std::int64_t rows = 0;
            for (const auto& scan : scans) {
                while (scan->row()) {
                    readRow(*scan, row);
                    ++rows;
                }
                scan->reset();
            }
            check(rows == 4L * kRows, "raw scan count");
            benchmark::DoNotOptimize(row);
        }
    });
    dv::bench::labelEngine(state);
}

void scanEngine(benchmark::State& state) {
    Directory directory;
    EngineTable engine(directory.path());
    engineAddAll(engine.driver);
    for (auto _ : state) {
        std::int64_t rows = 0;
        for (int key = 0; key < 4; ++key) {
            check(engine.driver.setToStart(key) == DriverCode::Ok, engine.driver.lastError().text);
            while (engine.driver.next() == DriverCode::Ok) ++rows;
        }
        check(rows == 4L * kRows, "engine scan count");
        benchmark::DoNotOptimize(dv::INVENDET);
    }
    dv::bench::labelEngine(state);
}

// Every line once, in an order unrelated to the key.
std::vector<int> lookupOrder() {
    std::vector<int> order(kRows);
    for (int i = 0; i < kRows; ++i)
        order[static_cast<std::size_t>(i)] = static_cast<int>((i * 48271LL) % kRows);
    return order;
}

void getRaw(benchmark::State& state) {
    Directory directory;
    withRawTable(directory.path(), [&](auto& raw) {
        using Statement = typename std::remove_reference_t<decltype(raw)>::Statement;
        rawAddAll(raw);
        const std::vector<int> order = lookupOrder();
        Statement get(raw, (std::string("SELECT ") + kColumns +
                            " FROM INVENDET WHERE STEVINVENTURE=?1 AND ENOTA=?2 AND "
                            "VRSTAPRODAJE=?3 AND EAN=?4 ORDER BY _ROW LIMIT 1")
                               .c_str());
        RawRow row{};
        for (auto _ : state) {
            for (const int i : order) {
                const Line& line = lines()[static_cast<std::size_t>(i)];
                get.number(1, line.stocktake).number(2, line.unit).text(3, line.kind)
                    .text(4, line.ean);
                check(get.row(), "raw get");
                readRow(get, row);
                get.reset();
            }
            benchmark::DoNotOptimize(row);
        }
    });
    dv::bench::labelEngine(state);
}

void getEngine(benchmark::State& state) {
    Directory directory;
    EngineTable engine(directory.path());
    engineAddAll(engine.driver);
    const std::vector<int> order = lookupOrder();
    const int primary = table().findKey("STEVSIFRAKLJUC");
    for (auto _ : state) {
        for (const int i : order) {
            const dv::INVENDETRecord& record = records()[static_cast<std::size_t>(i)];
            dv::INVENDET.StevInventure = record.StevInventure;
            dv::INVENDET.Enota = record.Enota;
            dv::INVENDET.VrstaProdaje = record.VrstaProdaje;
            dv::INVENDET.EAN = record.EAN;
            check(engine.driver.get(primary) == DriverCode::Ok, engine.driver.lastError().text);
        }
        benchmark::DoNotOptimize(dv::INVENDET);
    }
    dv::bench::labelEngine(state);
}

void registerPair(const char* name, void (*raw)(benchmark::State&),
                  void (*engine)(benchmark::State&)) {
    dv::bench::registerOnEngine(std::string(name) + "/raw", raw);
    dv::bench::registerOnEngine(std::string(name) + "/engine", engine);
}

}  // namespace

int main(int argc, char** argv) {
    dv::installCatalogue(&dv::programCatalogue());
    dv::bench::takeEngineOption(argc, argv);
    // One iteration of each (every one handles 100,000 rows): a minimum time shorter than any
    // iteration fixes the count without adding "/iterations:n" to the names.
    const std::vector<char*> arguments = dv::bench::withShortMinimumTime(argc, argv);
    registerPair("BM_Insert100k", insertRaw, insertEngine);
    registerPair("BM_ScanByKey100k", scanRaw, scanEngine);
    registerPair("BM_GetByKey100k", getRaw, getEngine);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    records();  // prepared once, outside every measurement
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
