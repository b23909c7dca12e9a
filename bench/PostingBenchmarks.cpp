// The posting of stocktake differences (part of bench_stocktake): a template of 100,000 rows, every one with a
// difference (half surpluses, half shortages), posted through the batch's own code, against raw
// SQLite doing the same reads, inserts and updates in one transaction in the same run; and both
// documents of that posting printed to PDF.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/BenchArguments.h"
#include "bench/BenchDirectory.h"
#include "bench/PostingBenchmarks.h"
#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "framework/ErrorReporter.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProgramServices.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"
#include "frontend/qt/pdf/PdfPageExporter.h"
#include "runtime/Date.h"
#include "runtime/ProcedureCall.h"
#include "runtime/ProcedureScheduler.h"
#include "schema/ProgramCatalogue.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeLines.h"
#include "stocktake/StocktakePosting.h"
#include "storage/SlovenianCollation.h"
#include "storage/TableAccess.h"

namespace {

namespace fs = std::filesystem;
using dv::DriverCode;

constexpr int kRows = 100000;
const dv::StocktakeKey kStocktake{1, 1, "M"};

void check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what);
}

// The program's tables in a directory, opened as the program opens them.
struct Program {
    explicit Program(const fs::path& directory) {
        check(dv::resolveTableFileNames(settings, directory).ok(), "table files");
        dv::clearAllRecordBuffers();
        tables = std::make_unique<dv::TableAccess>(&errors);
        previous = dv::setProgramServices({&errors, &settings});
    }
    ~Program() {
        dv::setProgramServices(previous);
        tables.reset();
        dv::resetTableFileNames();
    }

    template <typename Fill>
    void add(const char* table, Fill fill) {
        dv::FileManager& file = tables->file(table);
        check(file.Open() == dv::kLevelBenign && file.UseFile() == dv::kLevelBenign, table);
        dv::clearRecord(file.table(), file.buffer());
        fill();
        check(file.driver()->add() == DriverCode::Ok, file.driver()->lastError().text);
        file.Close();
    }

    dv::SettingsManager settings;
    dv::ErrorReporter errors;
    std::unique_ptr<dv::TableAccess> tables;
    dv::ProgramServices previous;
};

std::string code(int i) { return std::to_string(3830000000000L + i); }

// A stocktake of 100,000 template rows with their items and stock; the database is copied from
// here for every posting.
const fs::path& masterDatabase() {
    static dv::bench::Directory directory;
    static const bool made = [] {
        Program program(directory.path());
        // Tables are created on first use, which a transaction does not allow.
        for (const char* table : {"SFDDV", "SFEM", "INVENTUR", "INVENDET", "ZALOGA", "ARTIKLI",
                                  "DOKUMENT", "DOKPROME", "SFPARTN", "SFENOTE", "SFOPOMBE"}) {
            dv::FileManager& file = program.tables->file(table);
            check(file.Open() == dv::kLevelBenign && file.UseFile() == dv::kLevelBenign, table);
            file.Close();
        }
        check(program.tables->beginTransaction() == DriverCode::Ok, "begin");
        program.add("SFDDV", [] {
            dv::SFDDV.SifraDDV = 1;
            dv::SFDDV.STOPNJADDV = dv::Decimal(22);
        });
        program.add("SFEM", [] {
            dv::SFEM.SIFRAEM = 1;
            dv::SFEM.NAZIVEM = "kos";
        });
        program.add("INVENTUR", [] {
            dv::INVENTUR.StevInventure = kStocktake.number;
            dv::INVENTUR.Enota = kStocktake.unit;
            dv::INVENTUR.VRSTAPRODAJE = kStocktake.saleType;
        });
        for (int i = 0; i < kRows; ++i) {
            const std::int64_t book = 1000 + (i % 997) * 1000;
            program.add("INVENDET", [&] {
                dv::INVENDET.StevInventure = kStocktake.number;
                dv::INVENDET.Enota = kStocktake.unit;
                dv::INVENDET.VrstaProdaje = kStocktake.saleType;
                dv::INVENDET.EAN = code(i);
                dv::INVENDET.Naziv = "Artikel " + std::to_string(i);
                dv::INVENDET.RacZaloga.setUnits(book);
                dv::INVENDET.PopisanaZaloga.setUnits(i % 2 == 0 ? book + 500 : book - 500);
            });
            program.add("ZALOGA", [&] {
                dv::ZALOGA.EAN = code(i);
                dv::ZALOGA.ENOTA = kStocktake.unit;
                dv::ZALOGA.ZALOGA.setUnits(book);
                dv::ZALOGA.VREDNOSTZALOGE.setUnits(book / 10 * (i % 13 + 1));
                dv::ZALOGA.ZADNJANABCENA.setUnits(i % 3 == 0 ? 0 : 1234567);
            });
            program.add("ARTIKLI", [&] {
                dv::ARTIKLI.EAN = code(i);
                dv::ARTIKLI.KRATEKNAZIV = "Artikel " + std::to_string(i);
                dv::ARTIKLI.DAVEK = 1;
                dv::ARTIKLI.MERSKAENOTA = 1;
            });
        }
        check(program.tables->commit() == DriverCode::Ok, "commit");
        return true;
    }();
    (void)made;
    static const fs::path file = directory.path() / "dideroviv.db";
    return file;
}

// A fresh copy of the stocktake's database in `directory`.
void copyMaster(const fs::path& directory) {
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(directory / ("dideroviv.db" + std::string(suffix)));
    fs::copy_file(masterDatabase(), directory / "dideroviv.db");
}

void setTypes() {
    dv::GLO.VRSTAPROMETAINVVISEKMP = 15;
    dv::GLO.VRSTAPROMETAINVMANJKOMP = 35;
}

// The posting as KnjizenjeInventurnihRazlik runs it: the check for moved stock, the headers,
// every template row, the closing of the stocktake.
bool postStocktake(dv::TableAccess& tables) {
    dv::StocktakePosting posting(kStocktake, dv::dayNumber(2024, 3, 10), "Predsednik",
                                 [](const dv::MessageBoxRequest&) {});
    if (!posting.Open()) return false;
    std::int64_t rows = 0;
    const auto moved = posting.MovedStock(rows);
    if (!moved.empty() || rows != kRows || !posting.Start()) return false;
    dv::TableGuard guard;
    if (guard.open(tables.file("INVENDET")) != dv::kLevelBenign) return false;
    dv::StocktakeLines lines(tables.file("INVENDET"), kStocktake);
    lines.setQuickScan(true);
    if (lines.restart() != dv::kLevelBenign) return false;
    while (lines.next() == dv::ReadResult::Record)
        if (!posting.PostRow()) return false;
    return posting.Finish() && posting.surplusLines() + posting.shortageLines() == kRows;
}

void postingEngine(benchmark::State& state) {
    dv::bench::Directory directory;
    setTypes();
    for (auto _ : state) {
        state.PauseTiming();
        copyMaster(directory.path());
        Program program(directory.path());
        state.ResumeTiming();
        check(postStocktake(*program.tables), "posting");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// ---- raw SQLite

struct Statement {
    Statement(sqlite3* db, const char* sql) {
        check(sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &handle, nullptr) ==
                  SQLITE_OK,
              sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(handle); }
    Statement& text(int i, const std::string& value) {
        sqlite3_bind_text(handle, i, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& number(int i, std::int64_t value) {
        sqlite3_bind_int64(handle, i, value);
        return *this;
    }
    bool row() { return sqlite3_step(handle) == SQLITE_ROW; }
    void run() {
        check(sqlite3_step(handle) == SQLITE_DONE, "step");
        sqlite3_reset(handle);
    }
    std::int64_t integer(int c) const { return sqlite3_column_int64(handle, c); }
    std::string string(int c) const {
        const auto* text = sqlite3_column_text(handle, c);
        return text != nullptr ? reinterpret_cast<const char*>(text) : "";
    }
    void reset() { sqlite3_reset(handle); }
    sqlite3_stmt* handle = nullptr;
};

std::int64_t rounded(dv::Int128 a, dv::Int128 b) {
    if (b == 0) return 0;
    if (b < 0) a = -a, b = -b;
    dv::Int128 q = a / b;
    const dv::Int128 r = a % b;
    if (2 * (r < 0 ? -r : r) >= b) q += a < 0 ? -1 : 1;
    return static_cast<std::int64_t>(q);
}

// The same work with SQLite alone: the template read twice (the check of moved stock, the
// posting), the item and stock read per row (each rate and unit of measure once), one line added and the
// stock updated per row, the two headers and the stocktake written, all in one transaction.
void rawPosting(sqlite3* db) {
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    Statement lines(db, "SELECT EAN, RACZALOGA, POPISANAZALOGA, NAZIV FROM INVENDET WHERE "
                        "STEVINVENTURE=1 AND ENOTA=1 AND VRSTAPRODAJE='M' ORDER BY "
                        "STEVINVENTURE, ENOTA, VRSTAPRODAJE, EAN, _ROW");
    Statement stock(db, "SELECT _ROW, ZALOGA, VREDNOSTZALOGE, ZADNJANABCENA FROM ZALOGA WHERE "
                        "EAN=?1 AND ENOTA=1");
    Statement item(db, "SELECT KRATEKNAZIV, DRUGIDELNAZIVA, DAVEK, MERSKAENOTA FROM ARTIKLI "
                       "WHERE EAN=?1");
    Statement rate(db, "SELECT STOPNJADDV FROM SFDDV WHERE SIFRADDV=?1");
    Statement measure(db, "SELECT NAZIVEM FROM SFEM WHERE SIFRAEM=?1");
    Statement line(db, "INSERT INTO DOKPROME (VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, "
                       "STEVILKADOKUMENTA, ENOTA, POSTAVKADOKUMENTA, EAN, NAZIV, KOLICINA, "
                       "NAZIVEM, NABAVNACENA, PRODAJNACENABREZDDV, PRODAJNACENAZDDV, SIFRADDV, "
                       "STOPNJADDV, DATUMDOKUMENTA, PROMETNAZALOGO, BLAGOALISTORITEV) VALUES "
                       "('M', ?1, ?2, 1, 1, ?3, ?4, ?5, ?6, ?7, ?8, ?8, ?9, ?10, ?11, 81522, ?12, "
                       "'B')");
    Statement update(db, "UPDATE ZALOGA SET ZALOGA=?1, VREDNOSTZALOGE=?2, _VERSION=_VERSION+1 "
                         "WHERE _ROW=?3");
    Statement header(db, "INSERT INTO DOKUMENT (ID, VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, "
                         "STEVILKADOKUMENTA, ENOTA, DATUMDOKUMENTA) SELECT IFNULL(MAX(ID), 0) + 1, "
                         "'M', ?1, ?2, 1, 1, 81522 FROM DOKUMENT");
    std::int64_t moved = 0;
    while (lines.row()) {
        stock.text(1, lines.string(0));
        if (!stock.row() || stock.integer(1) != lines.integer(1)) ++moved;
        stock.reset();
    }
    lines.reset();
    check(moved == 0, "moved stock");
    header.text(1, "N").number(2, 15).run();
    header.text(1, "I").number(2, 35).run();
    std::int64_t surplusLine = 0, shortageLine = 0;
    std::map<std::int64_t, std::int64_t> rates;  // each code read once, as the posting does
    std::map<std::int64_t, std::string> measures;
    while (lines.row()) {
        const std::string ean = lines.string(0);
        const std::int64_t book = lines.integer(1), counted = lines.integer(2);
        if (book == counted) continue;
        item.text(1, ean);
        const bool hasItem = item.row();
        const std::string name = hasItem ? item.string(0) + item.string(1) : "";
        const std::int64_t rateCode = hasItem ? item.integer(2) : 0, unit = hasItem ? item.integer(3) : 0;
        item.reset();
        auto knownRate = rates.find(rateCode);
        if (knownRate == rates.end()) {
            rate.number(1, rateCode);
            knownRate = rates.emplace(rateCode, rate.row() ? rate.integer(0) : 0).first;
            rate.reset();
        }
        const std::int64_t rateUnits = knownRate->second;
        auto knownMeasure = measures.find(unit);
        if (knownMeasure == measures.end()) {
            measure.number(1, unit);
            knownMeasure = measures.emplace(unit, measure.row() ? measure.string(0) : "").first;
            measure.reset();
        }
        const std::string& unitName = knownMeasure->second;
        stock.text(1, ean);
        check(stock.row(), "stock row");
        const std::int64_t row = stock.integer(0), q = stock.integer(1), w = stock.integer(2),
                           last = stock.integer(3);
        stock.reset();
        const bool surplus = counted > book;
        const std::int64_t d = surplus ? counted - book : book - counted;
        const std::int64_t average = rounded(dv::Int128(w) * 100000, q);
        const std::int64_t price = surplus && last > 0 ? last : average * 100;
        line.text(1, surplus ? "N" : "I").number(2, surplus ? 15 : 35)
            .number(3, surplus ? ++surplusLine : ++shortageLine).text(4, ean).text(5, name)
            .number(6, d).text(7, unitName).number(8, price)
            .number(9, rounded(dv::Int128(price) * (10000 + rateUnits), 10000))
            .number(10, rateCode).number(11, rateUnits).text(12, surplus ? "+" : "-").run();
        const std::int64_t change = rounded(dv::Int128(d) * average, 1000);
        update.number(1, surplus ? q + d : q - d)
            .number(2, rounded(w * 100 + (surplus ? change : -change), 100)).number(3, row).run();
    }
    lines.reset();
    sqlite3_exec(db, "UPDATE INVENTUR SET DATUMINVENTURE=81522, DATUMZAKLJUCKA=81527, "
                     "DOKUMENTMANJKOV=1, DOKUMENTVISKOV=1 WHERE STEVINVENTURE=1",
                 nullptr, nullptr, nullptr);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK, sqlite3_errmsg(db));
    check(surplusLine + shortageLine == kRows, "raw lines");
}

void postingRaw(benchmark::State& state) {
    dv::bench::Directory directory;
    for (auto _ : state) {
        state.PauseTiming();
        copyMaster(directory.path());
        sqlite3* db = nullptr;
        check(sqlite3_open_v2((directory.path() / "dideroviv.db").c_str(), &db,
                              SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK,
              "open");
        dv::registerSlovenianCollation(db);
        sqlite3_exec(db, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
        state.ResumeTiming();
        rawPosting(db);
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// ---- the documents of that posting

void documentsPdf(benchmark::State& state) {
    dv::bench::Directory directory;
    copyMaster(directory.path());
    Program program(directory.path());
    setTypes();
    check(postStocktake(*program.tables), "posting");
    dv::registerProgramProcedures(dv::programProcedures());
    dv::PdfPageExporter pdfExport;
    dv::ProcedureScheduler scheduler;
    dv::HeadlessFrontEnd frontEnd(scheduler);
    frontEnd.setPreviewsWait(true);
    dv::ScriptRunner runner(scheduler, frontEnd, dv::programProcedures());
    dv::GLO.DIDEROVIV = kStocktake.number;
    dv::GLO.ENOTAINV = static_cast<std::int16_t>(kStocktake.unit);
    dv::GLO.VRSTAINV = kStocktake.saleType;
    int pages = 0;
    for (auto _ : state) {
        pages = 0;
        for (const char* report : {"IzpisInvManjkovVele", "IzpisInvViskovVele"}) {
            const std::string pdf = (directory.path() / (std::string(report) + ".pdf")).string();
            const auto failure = runner.run(dv::parseScript(std::string("start ") + report +
                                                            "\npreview pdf \"" + pdf +
                                                            "\"\npreview close\nidle\n"));
            check(!failure, failure ? failure->report() : "");
            pages += frontEnd.lastPreview()->pageCount();
        }
    }
    scheduler.shutdown();
    state.counters["pages"] = pages;
    state.counters["pages_per_second"] = benchmark::Counter(
        static_cast<double>(pages) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

}  // namespace

namespace dv::bench {

// Registers the posting's benchmarks beside the other stocktake benchmarks of bench_stocktake.
void registerPostingBenchmarks() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    dv::setFixedToday(dv::dayNumber(2024, 3, 15));
    benchmark::RegisterBenchmark("BM_Posting100k/raw", postingRaw)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Posting100k/engine", postingEngine)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Documents100k/pdf", documentsPdf)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace dv::bench
