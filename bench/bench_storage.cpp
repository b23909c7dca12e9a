// Speed of the table engine on the stocktake lines (INVENDET) against raw SQLite doing the same
// work on the same schema in the same run: adding a template of 100,000 lines in one
// transaction, reading them in the order of every key, and reading each by its primary key.

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
#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "schema/ProgramCatalogue.h"
#include "schema/Records.h"
#include "storage/SlovenianCollation.h"
#include "storage/SqliteDatabase.h"
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
        : driver(db, table(), directory / "INVENDET.TPS") {
        if (driver.open(dv::AccessMode::ReadWrite) == DriverCode::FileNotFound)
            check(driver.create() == DriverCode::Ok, driver.lastError().text);
        check(driver.isOpen() || driver.open(dv::AccessMode::ReadWrite) == DriverCode::Ok,
              driver.lastError().text);
    }
    dv::SqliteDatabase db;
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

// A plain connection to the database file the engine made (same schema, same indexes).
class RawTable {
  public:
    explicit RawTable(const fs::path& directory) {
        { EngineTable made(directory); }
        check(sqlite3_open_v2((directory / "dideroviv.db").c_str(), &db_, SQLITE_OPEN_READWRITE,
                              nullptr) == SQLITE_OK,
              "open");
        dv::registerSlovenianCollation(db_);
        // The settings the engine gives its connection, so that only the engine's own work differs.
        exec("PRAGMA journal_mode=WAL; PRAGMA cache_size=-32768");
    }
    ~RawTable() { sqlite3_close(db_); }
    sqlite3_stmt* prepare(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK,
              sqlite3_errmsg(db_));
        return statement;
    }
    void exec(const char* sql) {
        check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sql);
    }

    void addAll() {
        sqlite3_stmt* insert = prepare(std::string("INSERT INTO INVENDET (") + kColumns +
                                       ") VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)");
        exec("BEGIN IMMEDIATE");
        for (const Line& line : lines()) {
            sqlite3_bind_int64(insert, 1, line.stocktake);
            sqlite3_bind_int64(insert, 2, line.unit);
            sqlite3_bind_text(insert, 3, line.kind.data(), static_cast<int>(line.kind.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 4, line.ean.data(), static_cast<int>(line.ean.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_int64(insert, 5, line.group);
            sqlite3_bind_text(insert, 6, line.name.data(), static_cast<int>(line.name.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_int64(insert, 7, line.book);
            sqlite3_bind_int64(insert, 8, line.counted);
            sqlite3_bind_int64(insert, 9, line.wholesale);
            sqlite3_bind_int64(insert, 10, line.retail);
            sqlite3_bind_int64(insert, 11, line.purchase);
            sqlite3_bind_int64(insert, 12, line.entered);
            check(sqlite3_step(insert) == SQLITE_DONE, sqlite3_errmsg(db_));
            sqlite3_reset(insert);
        }
        exec("COMMIT");
        sqlite3_finalize(insert);
    }

  private:
    sqlite3* db_ = nullptr;
};

// What a reader does with a row: takes every column out of SQLite.
struct RawRow {
    std::int64_t numbers[12];
    char texts[3][64];
};

void readRow(sqlite3_stmt* statement, RawRow& row) {
    int text = 0;
    for (int c = 0; c < 12; ++c) {
        if (c == 2 || c == 3 || c == 5) {
            const auto* bytes = sqlite3_column_text(statement, c);
            const int length = sqlite3_column_bytes(statement, c);
            std::memcpy(row.texts[text++], bytes, static_cast<std::size_t>(std::min(length, 63)));
        } else {
            row.numbers[c] = sqlite3_column_int64(statement, c);
        }
    }
}

void insertRaw(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            Directory directory;
            RawTable raw(directory.path());
            state.ResumeTiming();
            raw.addAll();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
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
}

void scanRaw(benchmark::State& state) {
    Directory directory;
    RawTable raw(directory.path());
    raw.addAll();
    RawRow row{};
    for (auto _ : state) {
        std::int64_t rows = 0;
        for (const char* order : kRawOrders) {
            sqlite3_stmt* scan =
                raw.prepare(std::string("SELECT ") + kColumns + " FROM INVENDET ORDER BY " + order);
            while (sqlite3_step(scan) == SQLITE_ROW) {
                readRow(scan, row);
                ++rows;
            }
            sqlite3_finalize(scan);
        }
        check(rows == 4L * kRows, "raw scan count");
        benchmark::DoNotOptimize(row);
    }
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
    RawTable raw(directory.path());
    raw.addAll();
    const std::vector<int> order = lookupOrder();
    sqlite3_stmt* get = raw.prepare(std::string("SELECT ") + kColumns +
                                    " FROM INVENDET WHERE STEVINVENTURE=?1 AND ENOTA=?2 AND "
                                    "VRSTAPRODAJE=?3 AND EAN=?4 ORDER BY _ROW LIMIT 1");
    RawRow row{};
    for (auto _ : state) {
        for (const int i : order) {
            const Line& line = lines()[static_cast<std::size_t>(i)];
            sqlite3_bind_int64(get, 1, line.stocktake);
            sqlite3_bind_int64(get, 2, line.unit);
            sqlite3_bind_text(get, 3, line.kind.data(), static_cast<int>(line.kind.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_text(get, 4, line.ean.data(), static_cast<int>(line.ean.size()),
                              SQLITE_TRANSIENT);
            check(sqlite3_step(get) == SQLITE_ROW, "raw get");
            readRow(get, row);
            sqlite3_reset(get);
        }
        benchmark::DoNotOptimize(row);
    }
    sqlite3_finalize(get);
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
}

void registerPair(const char* name, void (*raw)(benchmark::State&),
                  void (*engine)(benchmark::State&)) {
    benchmark::RegisterBenchmark((std::string(name) + "/raw").c_str(), raw)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string(name) + "/engine").c_str(), engine)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    dv::installCatalogue(&dv::programCatalogue());
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
