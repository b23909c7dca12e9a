// The posting of stocktake differences (part of bench_stocktake): a template of 100,000 rows, every one with a
// difference (half surpluses, half shortages), posted through the batch's own code, against raw
// SQLite (or, with --engine=postgresql, raw libpq on the throwaway cluster) doing the same reads,
// inserts and updates in one transaction in the same run; and both documents of that posting
// printed to PDF (on SQLite only).

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/BenchArguments.h"
#include "bench/BenchDirectory.h"
#include "bench/BenchEngine.h"
#include "bench/BenchProcedures.h"
#include "bench/PostingBenchmarks.h"
#include "bench/StocktakeBenchmarks.h"
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
    // `database`: the cluster's database the tables lie in, on the server.
    explicit Program(const fs::path& directory, const std::string& database = {}) {
        check(dv::resolveTableFileNames(settings, directory).ok(), "table files");
        dv::clearAllRecordBuffers();
        tables = dv::bench::engineTables(&errors, database);
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

// The server's databases of the posting: the stocktake as made, and the copy each posting runs on.
constexpr const char* kMasterDatabase = "dv_posting_master";
constexpr const char* kPostingDatabase = "dv_posting";

// A stocktake of 100,000 template rows with their items and stock; the database is copied from
// here for every posting. On the server it is a database of its own, for the copies to be made
// from, and its tables stand for the master directory in every copy.
const fs::path& masterDirectory() {
    static dv::bench::Directory directory;
    static const bool made = [] {
        if (dv::bench::onServer())
            dv::bench::serverCommand(std::string("CREATE DATABASE ") + kMasterDatabase);
        Program program(directory.path(), kMasterDatabase);
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
        // The planner's statistics, which every copy takes along.
        if (dv::bench::onServer()) {
            dv::DriverError error;
            check(program.tables->database().execute("ANALYZE", "analyze", error) ==
                      DriverCode::Ok,
                  error.text);
        }
        return true;
    }();
    (void)made;
    return directory.path();
}

// A fresh copy of the stocktake's database, in `directory` for SQLite; the directory whose
// tables the posting reads (on the server: the master's, in the copied database).
fs::path copyMaster(const fs::path& directory) {
    if (dv::bench::onServer()) {
        const fs::path& master = masterDirectory();
        dv::bench::serverCommand(std::string("DROP DATABASE IF EXISTS ") + kPostingDatabase);
        dv::bench::serverCommand(std::string("CREATE DATABASE ") + kPostingDatabase + " TEMPLATE " +
                                 kMasterDatabase);
        return master;
    }
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(directory / ("dideroviv.db" + std::string(suffix)));
    fs::copy_file(masterDirectory() / "dideroviv.db", directory / "dideroviv.db");
    return directory;
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

using dv::bench::Procedures;

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
        const fs::path tables = copyMaster(directory.path());
        {
            Program program(tables, kPostingDatabase);
            connect(program);
            Procedures procedures;
            state.ResumeTiming();
            procedures.run(kPostingScript);
            state.PauseTiming();
        }  // the connection is closed outside the timing, as the raw one is
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    dv::bench::labelEngine(state);
}

// ---- the database alone

void postingServer(benchmark::State& state) {
    dv::bench::Directory directory;
    for (auto _ : state) {
        state.PauseTiming();
        {
            dv::bench::ServerRaw db(dv::bench::serverConnection(kPostingDatabase),
                                    copyMaster(directory.path()));
            state.ResumeTiming();
            check(dv::bench::rawPosting(db, 0, kRows) == kRows, "raw lines");
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void postingRaw(benchmark::State& state) {
    if (dv::bench::onServer()) {
        postingServer(state);
        state.SetItemsProcessed(state.iterations() * kRows);
        dv::bench::labelEngine(state);
        return;
    }
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
        dv::bench::SqliteRaw raw(db);
        state.ResumeTiming();
        check(dv::bench::rawPosting(raw, 0, kRows) == kRows, "raw lines");
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
        for (const char* report : {"IzpisInvManjkovVele", "IzpisInvViskovVele"})
            pages += procedures.printToPdf(report, directory.path() / (std::string(report) + ".pdf"));
    }
    state.counters["pages"] = pages;
    state.counters["pages_per_second"] = benchmark::Counter(
        static_cast<double>(pages) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

}  // namespace

namespace dv::bench {

// Registers the posting's benchmarks beside the other stocktake benchmarks of bench_stocktake.
void registerPostingBenchmarks(bool printouts) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    dv::setFixedToday(dv::dayNumber(2024, 3, 15));
    // The engine posts on a procedure thread: CPU time is the whole process's for both.
    dv::bench::registerOnEngine("BM_Posting100k/raw", postingRaw)->MeasureProcessCPUTime();
    dv::bench::registerOnEngine("BM_Posting100k/engine", postingEngine)->MeasureProcessCPUTime();
    if (printouts)
        benchmark::RegisterBenchmark("BM_Documents100k/pdf", documentsPdf)
            ->Unit(benchmark::kMillisecond);
}

}  // namespace dv::bench
