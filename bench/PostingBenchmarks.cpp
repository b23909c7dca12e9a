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
#include <utility>

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
        // Tables are created on first use, which a transaction does not allow; they stay open
        // while the rows are added, so that each add does not open its table again.
        const auto tables = {"SFDDV", "SFEM", "INVENTUR", "INVENDET", "ZALOGA", "ARTIKLI",
                             "DOKUMENT", "DOKPROME", "SFPARTN", "SFENOTE", "SFOPOMBE"};
        for (const char* table : tables) {
            dv::FileManager& file = program.tables->file(table);
            check(file.Open() == dv::kLevelBenign && file.UseFile() == dv::kLevelBenign, table);
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
        for (const char* table : tables) program.tables->file(table).Close();
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

// The settings and the selection the program holds when the user starts the posting: the
// transaction types, the chosen stocktake, the posting date and the committee's chairman.
void selectPosting() {
    dv::GLO.VRSTAPROMETAINVVISEKMP = 15;
    dv::GLO.VRSTAPROMETAINVMANJKOMP = 35;
    dv::GLO.DIDEROVIV = kStocktake.number;
    dv::GLO.ENOTAINV = static_cast<std::int16_t>(kStocktake.unit);
    dv::GLO.VRSTAINV = kStocktake.saleType;
    dv::GLO.DATUM = dv::dayNumber(2024, 3, 10);
    dv::GLO.PostingChairman = "Predsednik";
}

// The program's procedures, driven by UI scripts through the headless front end.
struct Procedures {
    Procedures() : frontEnd(scheduler), runner(scheduler, frontEnd, dv::programProcedures()) {
        frontEnd.setPreviewsWait(true);
    }
    ~Procedures() { scheduler.shutdown(); }
    void run(const std::string& script) {
        const auto failure = runner.run(dv::parseScript(script));
        check(!failure, failure ? failure->report() : "");
    }

    dv::ProcedureScheduler scheduler;
    dv::HeadlessFrontEnd frontEnd;
    dv::ScriptRunner runner;
};

// The posting as the user runs it: KnjizenjeInventurnihRazlik on its procedure thread with its
// progress window (the check for moved stock, the headers, every template row, the closing of
// the stocktake), ending with its notice of both counts.
constexpr const char* kPostingScript =
    "start KnjizenjeInventurnihRazlik\n"
    "message \" OBVESTILO\" \" Knjiženje  viškov in manjkov za inventuro št. 1 je končano.|| "
    "Število zapisov inventurnih viškov  50000, inventurnih manjkov pa 50000|\"\n"
    "answer OK\n";

// The database is attached to the program's connection before the posting starts, as the
// stocktake list the user starts it from has it open.
void connect(Program& program) {
    dv::FileManager& stocktakes = program.tables->file("INVENTUR");
    check(stocktakes.Open() == dv::kLevelBenign && stocktakes.UseFile() == dv::kLevelBenign,
          "INVENTUR");
    stocktakes.Close();
}

void postingEngine(benchmark::State& state) {
    dv::bench::Directory directory;
    selectPosting();
    dv::registerProgramProcedures(dv::programProcedures());
    for (auto _ : state) {
        state.PauseTiming();
        copyMaster(directory.path());
        {
            Program program(directory.path());
            connect(program);
            Procedures procedures;
            state.ResumeTiming();
            procedures.run(kPostingScript);
            state.PauseTiming();
        }  // the connection is closed outside the timing, as the raw one is
        state.ResumeTiming();
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

// The checks the posting makes before it writes, and again inside its transaction: the
// stocktake exists and is open, no document or line of either kind carries its number.
void rawChecks(Statement& stocktake, Statement& document, Statement& line) {
    check(stocktake.row() && stocktake.integer(2) == 0, "stocktake open");
    stocktake.reset();
    for (const auto& [mark, type] : {std::pair{"N", 15}, std::pair{"I", 35}}) {
        document.text(1, mark).number(2, type);
        line.text(1, mark).number(2, type);
        check(!document.row() && !line.row(), "no documents");
        document.reset();
        line.reset();
    }
}

// The same work with SQLite alone: the checks; the template read with the stock per row (the
// check of moved stock, in a read transaction before the posting asks the user anything); then
// in one transaction the checks again, the two headers with the owner's partner row, the
// template read again with the item and stock per row (each rate and unit of measure once),
// one line added and the stock updated per row (only if nobody changed it since it was read),
// and the stocktake read and closed.
void rawPosting(sqlite3* db) {
    Statement stocktake(db, "SELECT _ROW, _VERSION, DATUMZAKLJUCKA FROM INVENTUR WHERE "
                            "STEVINVENTURE=1 AND ENOTA=1 AND VRSTAPRODAJE='M'");
    Statement document(db, "SELECT _ROW FROM DOKUMENT WHERE VRSTAPRODAJE='M' AND ENOTA=1 AND "
                           "OZNAKADOKUMENTA=?1 AND VRSTAPROMETA=?2 AND STEVILKADOKUMENTA=1");
    Statement existing(db, "SELECT _ROW FROM DOKPROME WHERE VRSTAPRODAJE='M' AND ENOTA=1 AND "
                           "OZNAKADOKUMENTA=?1 AND VRSTAPROMETA=?2 AND STEVILKADOKUMENTA=1 "
                           "LIMIT 1");
    Statement lines(db, "SELECT EAN, RACZALOGA, POPISANAZALOGA, NAZIV FROM INVENDET WHERE "
                        "STEVINVENTURE=1 AND ENOTA=1 AND VRSTAPRODAJE='M' ORDER BY "
                        "STEVINVENTURE, ENOTA, VRSTAPRODAJE, EAN, _ROW");
    Statement stock(db, "SELECT _ROW, _VERSION, ZALOGA, VREDNOSTZALOGE, ZADNJANABCENA FROM "
                        "ZALOGA WHERE EAN=?1 AND ENOTA=1");
    Statement item(db, "SELECT KRATEKNAZIV, DRUGIDELNAZIVA, DAVEK, MERSKAENOTA FROM ARTIKLI "
                       "WHERE EAN=?1");
    Statement rate(db, "SELECT STOPNJADDV FROM SFDDV WHERE SIFRADDV=?1");
    Statement measure(db, "SELECT NAZIVEM FROM SFEM WHERE SIFRAEM=?1");
    Statement partner(db, "SELECT DDV FROM SFPARTN WHERE SIFRA=0");
    Statement line(db, "INSERT INTO DOKPROME (VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, "
                       "STEVILKADOKUMENTA, ENOTA, POSTAVKADOKUMENTA, EAN, NAZIV, KOLICINA, "
                       "NAZIVEM, NABAVNACENA, PRODAJNACENABREZDDV, PRODAJNACENAZDDV, SIFRADDV, "
                       "STOPNJADDV, DATUMDOKUMENTA, PROMETNAZALOGO, BLAGOALISTORITEV) VALUES "
                       "('M', ?1, ?2, 1, 1, ?3, ?4, ?5, ?6, ?7, ?8, ?8, ?9, ?10, ?11, 81522, ?12, "
                       "'B')");
    Statement update(db, "UPDATE ZALOGA SET ZALOGA=?1, VREDNOSTZALOGE=?2, _VERSION=_VERSION+1 "
                         "WHERE _ROW=?3 AND _VERSION=?4");
    Statement header(db, "INSERT INTO DOKUMENT (ID, VRSTAPRODAJE, OZNAKADOKUMENTA, VRSTAPROMETA, "
                         "STEVILKADOKUMENTA, ENOTA, DATUMDOKUMENTA, REFERENT, PARTNER, "
                         "STATUSPARTNERJA, STEVILKADOBAVNICE, DATUMDOBAVNICE, "
                         "STEVILKAPREJETEGARACUNA, DATUMPREJETEGARACUNA, DATUMSTORITVE, PREVZEL, "
                         "IZDAL, OPOMBEDOKUMENTA1) SELECT IFNULL(MAX(ID), 0) + 1, 'M', ?1, ?2, 1, "
                         "1, 81522, 1, 0, ?3, ?4, 81522, ?5, ?6, ?6, ?7, ?8, ?9 FROM DOKUMENT");
    Statement close(db, "UPDATE INVENTUR SET DATUMINVENTURE=81522, DATUMZAKLJUCKA=81527, "
                        "DOKUMENTMANJKOV=1, DOKUMENTVISKOV=1, _VERSION=_VERSION+1 WHERE _ROW=?1 "
                        "AND _VERSION=?2");
    rawChecks(stocktake, document, existing);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    std::int64_t moved = 0, rows = 0;
    while (lines.row()) {
        ++rows;
        stock.text(1, lines.string(0));
        if (!stock.row() || stock.integer(2) != lines.integer(1)) ++moved;
        stock.reset();
    }
    lines.reset();
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    check(moved == 0 && rows == kRows, "moved stock");
    check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK, "begin");
    rawChecks(stocktake, document, existing);
    for (const bool surplus : {true, false}) {
        const std::string status = partner.row() ? partner.string(0) : "";
        partner.reset();
        header.text(1, surplus ? "N" : "I").number(2, surplus ? 15 : 35).text(3, status)
            .text(4, surplus ? "INV.VIŠEK" : "INV.MANJKO").text(5, surplus ? "" : "INV. 1")
            .number(6, surplus ? 0 : 81522).text(7, surplus ? "Predsednik" : "")
            .text(8, surplus ? "" : "Predsednik")
            .text(9, surplus ? "Dokument inv. viškov pri inventuri štev. 1"
                             : "Dokument inv. manjkov pri inventuri štev. 1")
            .run();
    }
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
        const std::int64_t row = stock.integer(0), version = stock.integer(1),
                           q = stock.integer(2), w = stock.integer(3), last = stock.integer(4);
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
            .number(2, rounded(w * 100 + (surplus ? change : -change), 100)).number(3, row)
            .number(4, version).run();
        check(sqlite3_changes(db) == 1, "stock changed by another station");
    }
    lines.reset();
    check(stocktake.row(), "stocktake");
    close.number(1, stocktake.integer(0)).number(2, stocktake.integer(1));
    stocktake.reset();
    close.run();
    check(sqlite3_changes(db) == 1, "stocktake changed by another station");
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
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK,
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
    selectPosting();
    dv::registerProgramProcedures(dv::programProcedures());
    dv::PdfPageExporter pdfExport;
    Procedures procedures;
    procedures.run(kPostingScript);
    int pages = 0;
    for (auto _ : state) {
        pages = 0;
        for (const char* report : {"IzpisInvManjkovVele", "IzpisInvViskovVele"}) {
            const std::string pdf = (directory.path() / (std::string(report) + ".pdf")).string();
            procedures.run(std::string("start ") + report + "\npreview pdf \"" + pdf +
                           "\"\npreview close\nidle\n");
            pages += procedures.frontEnd.lastPreview()->pageCount();
        }
    }
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
    // The engine posts on a procedure thread: CPU time is the whole process's for both.
    benchmark::RegisterBenchmark("BM_Posting100k/raw", postingRaw)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
    benchmark::RegisterBenchmark("BM_Posting100k/engine", postingEngine)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
    benchmark::RegisterBenchmark("BM_Documents100k/pdf", documentsPdf)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace dv::bench
