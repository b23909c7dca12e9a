// Speed of the stocktake's hot paths, each against the raw client library doing the same work in
// the same run: the first preparation of a template of 100,000 items with a stock row each, the
// count sheet of that template written to PDF, and a thousand counts saved one by one into it.
// With --engine=postgresql the batches run on a throwaway PostgreSQL cluster (raw: libpq); the
// printouts are measured on SQLite only.

#include <benchmark/benchmark.h>
#include <sqlite3.h>


#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchArguments.h"
#include "bench/BenchEngine.h"
#include "bench/PostingBenchmarks.h"
#include "bench/StocktakeBenchmarks.h"
#include "bench/BenchDirectory.h"
#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "framework/BatchProcess.h"
#include "framework/BatchTableSource.h"
#include "framework/ErrorReporter.h"
#include "framework/ProgramServices.h"
#include "framework/ProcessSlicer.h"
#include "framework/ReportEngine.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"
#include "frontend/qt/pdf/PageExport.h"
#include "reports/CountSheet.h"
#include "runtime/Date.h"
#include "runtime/PageQueue.h"
#include "runtime/TimeOfDay.h"
#include "schema/ProgramCatalogue.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/TemplatePreparation.h"
#include "storage/BatchTransaction.h"
#include "storage/SlovenianCollation.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableAccess.h"
#include "terminal/CaptureImportBatch.h"

namespace {

namespace fs = std::filesystem;
using dv::DriverCode;

constexpr int kItems = 100000;

using dv::bench::check;
using dv::bench::openRaw;

// A company of 100,000 items, each with a stock row in unit 1, and stocktake 1 of unit 1 in the
// INVENTUR buffer; made once for the whole run.
class Company {
  public:
    Company() {
        check(dv::resolveTableFileNames(settings_, directory_.path()).ok(), "table files");
        access_ = dv::bench::engineTables();
        fill();
        dv::INVENTUR.StevInventure = 1;
        dv::INVENTUR.Enota = 1;
        dv::INVENTUR.VRSTAPRODAJE = "M";
    }
    ~Company() {
        access_.reset();
        dv::resetTableFileNames();
    }

    dv::TableAccess& access() { return *access_; }
    const fs::path& directory() const { return directory_.path(); }
    fs::path database() const { return directory_.path() / "dideroviv.db"; }
    fs::path pdf() const { return directory_.path() / "predloga.pdf"; }
    // The table in the company's schema, for the benchmarks' own statements.
    std::string table(const char* name) {
        return dv::bench::tableIn(access_->database(), directory_.path(), name);
    }
    void execute(const std::string& sql) {
        dv::DriverError error;
        check(access_->database().execute(sql, "prepare the data", error) == DriverCode::Ok,
              error.text);
    }
    // On the server the planner's statistics of the tables brought up to date, as the server's
    // own autovacuum would after a while: every run then starts from the same plans.
    void analyze() {
        if (dv::bench::onServer()) execute("ANALYZE");
    }
    // On the server the rows go at once, leaving no dead rows for the next template to pass.
    void clearTemplate() {
        execute((dv::bench::onServer() ? "TRUNCATE " : "DELETE FROM ") + table("INVENDET"));
    }

  private:
    void fill() {
        dv::FileManager& items = access_->file("ARTIKLI");
        dv::FileManager& stock = access_->file("ZALOGA");
        check(items.Open() == dv::kLevelBenign && stock.Open() == dv::kLevelBenign, "open");
        check(items.UseFile() == dv::kLevelBenign && stock.UseFile() == dv::kLevelBenign, "use");
        check(access_->beginTransaction() == DriverCode::Ok, "begin");
        for (int i = 0; i < kItems; ++i) {
            const std::string ean = std::to_string(3830000000000L + (i * 7919L) % kItems);
            dv::clearRecord(items.table(), items.buffer());
            dv::ARTIKLI.EAN = ean;
            dv::ARTIKLI.KRATEKNAZIV = "Artikel " + std::to_string(i);
            dv::ARTIKLI.DRUGIDELNAZIVA = "šifra " + ean + " pakiranje 1 kos";
            dv::ARTIKLI.SKUPINA = static_cast<std::uint16_t>(i % 50);
            dv::ARTIKLI.CENABREZDDV.setUnits(1234567L + i);
            dv::ARTIKLI.MPCENA.setUnits(1505050L + i);
            check(items.driver()->add() == DriverCode::Ok, items.driver()->lastError().text);
            dv::clearRecord(stock.table(), stock.buffer());
            dv::ZALOGA.EAN = ean;
            dv::ZALOGA.ENOTA = 1;
            dv::ZALOGA.ZALOGA.setUnits(i % 7 == 0 ? 0 : i * 10L);
            dv::ZALOGA.ZADNJANABCENA.setUnits(999995L + i);
            check(stock.driver()->add() == DriverCode::Ok, stock.driver()->lastError().text);
        }
        check(access_->commit() == DriverCode::Ok, "commit");
        analyze();
        (void)items.Close();
        (void)stock.Close();
        // The template's tables are made on their first open.
        for (const char* table : {"INVENDET", "SFGRUPE"}) {
            dv::FileManager& file = access_->file(table);
            check(file.Open() == dv::kLevelBenign && file.UseFile() == dv::kLevelBenign, table);
            (void)file.Close();
        }
    }

    dv::bench::Directory directory_;
    dv::SettingsManager settings_;
    std::unique_ptr<dv::TableAccess> access_;
};

Company& company() {
    static Company made;
    return made;
}

// Runs `work` with a raw connection of the engine's client library to the company's database.
template <typename Work>
void withRaw(Company& data, Work work) {
    if (dv::bench::onServer()) {
        dv::bench::ServerRaw raw(dv::bench::serverConnection(), data.directory());
        work(raw);
        return;
    }
    sqlite3* db = openRaw(data.database());
    {
        dv::bench::SqliteRaw raw(db);
        work(raw);
    }
    sqlite3_close(db);
}

// ---- the first preparation of the template

void templateEngine(benchmark::State& state) {
    Company& data = company();
    dv::FileManager& items = data.access().file("ARTIKLI");
    dv::FileManager& stock = data.access().file("ZALOGA");
    dv::FileManager& lines = data.access().file("INVENDET");
    check(items.Open() == dv::kLevelBenign && stock.Open() == dv::kLevelBenign &&
              lines.Open() == dv::kLevelBenign,
          "open");
    dv::TableRecordSource records(items, items.table().findKey("SIFRAKLJUC"));
    dv::BatchProcess process;
    process.SetUp(records);
    process.setQuickScanMode(true);
    for (auto _ : state) {
        state.PauseTiming();
        data.clearTemplate();
        state.ResumeTiming();
        dv::TemplatePreparation preparation(items, stock, lines, false, true);
        dv::BatchTransaction batch(data.access());
        check(batch.Begin() == DriverCode::Ok, "begin");
        process.setRecordHandler([&] {
            return preparation.prepareItem() == dv::TemplateItem::Written ? dv::kLevelBenign
                                                                           : dv::kLevelNotify;
        });
        dv::ProcessSlicer slicer;
        check(process.Restart() == dv::kLevelBenign, "restart");
        bool ended = false;
        while (!ended)
            ended = !slicer.tick([&] {
                return process.ReadNext() == dv::ReadResult::Record &&
                       process.HandleRecord() == dv::kLevelBenign;
            });
        process.EndPass();
        check(batch.Commit() == DriverCode::Ok, "commit");
        check(preparation.written() == kItems, preparation.failureText());
    }
    (void)items.Close();
    (void)stock.Close();
    (void)lines.Close();
    state.SetItemsProcessed(state.iterations() * kItems);
    dv::bench::labelEngine(state);
}

// The same reads of ARTIKLI (item-code order) and ZALOGA (by unit and item) and the same
// inserts into INVENDET, with prepared statements in one transaction.
void templateRaw(benchmark::State& state) {
    Company& data = company();
    withRaw(data, [&](auto& db) {
        dv::bench::RawTemplate raw(db);
        for (auto _ : state) {
            state.PauseTiming();
            data.clearTemplate();
            state.ResumeTiming();
            check(raw.run() == kItems, "raw count");
        }
    });
    state.SetItemsProcessed(state.iterations() * kItems);
    dv::bench::labelEngine(state);
}

// The template of the preparation benchmarks, made when a benchmark that reads it runs alone.
// `lines` is open.
void ensureTemplate(Company& data, dv::FileManager& lines) {
    check(lines.UseFile() == dv::kLevelBenign, "use");
    data.analyze();
    if (lines.driver()->records() == kItems) return;
    dv::FileManager& items = data.access().file("ARTIKLI");
    dv::FileManager& stock = data.access().file("ZALOGA");
    check(items.Open() == dv::kLevelBenign && stock.Open() == dv::kLevelBenign, "open");
    data.clearTemplate();
    dv::TemplatePreparation preparation(items, stock, lines, false, true);
    dv::TableRecordSource records(items, items.table().findKey("SIFRAKLJUC"));
    check(records.restart() == dv::kLevelBenign, "restart");
    while (records.next() == dv::ReadResult::Record) (void)preparation.prepareItem();
    (void)items.Close();
    (void)stock.Close();
    data.analyze();
}

// ---- a thousand counts, as the count form saves them

constexpr int kCounts = 1000;

// The code of count n: spread over the whole template.
std::string countedCode(int n) {
    return std::to_string(3830000000000L + (n * 97L) % kItems);
}

// Each count as the form makes it: the row located by its code on the primary key and read,
// the counted quantity and the count-entered flag changed, the row written back (with the
// check that no other station changed it meanwhile), each write committed on its own.
void countEntryEngine(benchmark::State& state) {
    Company& data = company();
    dv::FileManager& lines = data.access().file("INVENDET");
    check(lines.Open() == dv::kLevelBenign, "open");
    ensureTemplate(data, lines);
    const int key = lines.primaryKey();
    std::int64_t round = 0;
    for (auto _ : state) {
        ++round;
        for (int n = 0; n < kCounts; ++n) {
            dv::clearRecord(lines.table(), lines.buffer());
            dv::INVENDET.StevInventure = 1;
            dv::INVENDET.Enota = 1;
            dv::INVENDET.VrstaProdaje = "M";
            dv::INVENDET.EAN = countedCode(n);
            check(lines.Fetch(key) == dv::kLevelBenign, "fetch " + countedCode(n));
            dv::INVENDET.PopisanaZaloga.setUnits(round * 1000 + n);
            dv::INVENDET.NarejenVnos = 1;
            check(lines.Update() == dv::kLevelBenign, "update");
        }
    }
    (void)lines.Close();
    state.SetItemsProcessed(state.iterations() * kCounts);
    dv::bench::labelEngine(state);
}

// The same with the database alone: the row by its key, then an update of the two fields by
// row id, each write committed on its own.
template <typename Raw>
void rawCountEntries(benchmark::State& state, Raw& db) {
    typename Raw::Statement read(db,
                                 "SELECT _ROW, POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE "
                                 "STEVINVENTURE = 1 AND ENOTA = 1 AND VRSTAPRODAJE = 'M' AND "
                                 "EAN = ?1");
    typename Raw::Statement write(
        db, "UPDATE INVENDET SET POPISANAZALOGA = ?1, NAREJENVNOS = 1 WHERE _ROW = ?2");
    std::int64_t round = 0;
    for (auto _ : state) {
        ++round;
        for (int n = 0; n < kCounts; ++n) {
            const std::string code = countedCode(n);
            read.text(1, code);
            check(read.row(), "read " + code);
            const std::int64_t row = read.integer(0);
            read.reset();
            write.number(1, round * 1000 + n).number(2, row).run();
        }
    }
}

void countEntryRaw(benchmark::State& state) {
    Company& data = company();
    {
        dv::FileManager& lines = data.access().file("INVENDET");
        check(lines.Open() == dv::kLevelBenign, "open");
        ensureTemplate(data, lines);
        (void)lines.Close();
    }
    if (dv::bench::onServer()) {
        dv::bench::ServerRaw db(dv::bench::serverConnection(), data.directory());
        rawCountEntries(state, db);
    } else {
        sqlite3* db = nullptr;
        check(sqlite3_open_v2(data.database().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
                  SQLITE_OK,
              "open raw");
        sqlite3_busy_timeout(db, 5000);
        {
            dv::bench::SqliteRaw raw(db);
            rawCountEntries(state, raw);
        }
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations() * kCounts);
    dv::bench::labelEngine(state);
}

// ---- the count sheet

// The count sheet of the whole template, with prices and stock, by name, paginated and
// written to PDF.
void countSheetPdf(benchmark::State& state) {
    Company& data = company();
    dv::FileManager& lines = data.access().file("INVENDET");
    dv::FileManager& groups = data.access().file("SFGRUPE");
    check(lines.Open() == dv::kLevelBenign && groups.Open() == dv::kLevelBenign, "open");
    ensureTemplate(data, lines);
    dv::bench::selectStocktake();
    dv::GLO.SORT = 1;
    dv::GLO.CHECKBOX1 = 1;
    dv::GLO.CHECKBOX2 = 1;
    dv::GLO.NAZIVIZPISA = "PREDLOGA INVENTURE ŠT. 1  Z DNE 15.3.2024";
    int pages = 0;
    for (auto _ : state) {
        dv::CountSheet sheet(lines, groups);
        check(sheet.Open() == dv::kLevelBenign, "view");
        dv::ReportEngine engine(dv::reportLayout("IzpisInventurnePredloge"), sheet.names());
        dv::PageQueue queue;
        engine.Open(queue);
        check(sheet.records().restart() == dv::kLevelBenign, "restart");
        while (sheet.records().next() == dv::ReadResult::Record) sheet.PrintLine(engine);
        sheet.PrintConditions(engine);
        engine.Close();
        queue.renumber(dv::kPageNumberControl, dv::kPageCountConnector);
        const dv::FileResult written = dv::writePagesToPdf(queue, data.pdf());
        check(written.ok(), written.error);
        pages = queue.pageCount();
    }
    (void)lines.Close();
    (void)groups.Close();
    state.counters["pages"] = pages;
    state.counters["pages_per_second"] =
        benchmark::Counter(static_cast<double>(pages) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

// ---- the import of a terminal's capture file

constexpr int kCaptureLines = 100000;

// The capture file of the import benchmarks: 100,000 lines, a quarter of them repeating the code
// of the line three before, an eighth of the others unknown codes, the rest items of the
// template; quantities with a decimal comma or none.
const std::string& captureFile() {
    static const std::string file = [] {
        std::vector<std::string> codes;
        std::string text = "EAN;KOLICINA\r\n";
        for (int n = 0; n < kCaptureLines; ++n) {
            std::string code;
            if (n % 4 == 3)
                code = codes[static_cast<std::size_t>(n - 3)];
            else if (n % 8 == 1)
                code = std::to_string(3840000000000L + n);
            else
                code = std::to_string(3830000000000L + (n * 7L) % kItems);
            codes.push_back(code);
            text += "\"" + code + "\";\"" + (n % 2 == 0 ? "1,5" : "2") + "\"\r\n";
        }
        return text;
    }();
    return file;
}

// Where the capture file lies and where its copies go, for both import benchmarks.
struct CaptureFiles {
    CaptureFiles() { fs::create_directory(archive()); }
    fs::path capture() const { return directory.path() / "INVASCII.txt"; }
    fs::path archive() const { return directory.path() / "arhiv"; }
    // The capture file written anew, the copies of earlier rounds gone.
    void prepare() const {
        for (const auto& entry : fs::directory_iterator(archive())) fs::remove(entry.path());
        std::ofstream(capture(), std::ios::binary) << captureFile();
    }
    dv::bench::Directory directory;
};

// The template of the company, and the tables the import opens made.
void prepareImportTables(Company& data) {
    dv::FileManager& lines = data.access().file("INVENDET");
    check(lines.Open() == dv::kLevelBenign, "open");
    ensureTemplate(data, lines);
    for (const char* table : {"INVTPS", "INVENTUR", "ARTIKLI"}) {
        dv::FileManager& file = data.access().file(table);
        check(file.Open() == dv::kLevelBenign && file.UseFile() == dv::kLevelBenign, table);
        (void)file.Close();
    }
    (void)lines.Close();
}

// The template's counts and the archive table as before any import, stocktake 1 of unit 1 there.
// On the server the dead rows the reset leaves are cleared away before the next import.
void resetImport(Company& data) {
    const std::string lines = data.table("INVENDET"), archive = data.table("INVTPS"),
                      stocktakes = data.table("INVENTUR");
    data.execute("UPDATE " + lines + " SET POPISANAZALOGA = 0, NAREJENVNOS = 0");
    data.execute("DELETE FROM " + archive);
    data.execute("DELETE FROM " + stocktakes);
    data.execute("INSERT INTO " + stocktakes +
                 " (STEVINVENTURE, ENOTA, VRSTAPRODAJE) VALUES (1, 1, 'M')");
    if (dv::bench::onServer())
        for (const std::string& table : {lines, archive, stocktakes}) data.execute("VACUUM ANALYZE " + table);
}

// Counts posted to the template by one import of the capture file: every known line.
std::string importedTotals(Company& data) {
    dv::DriverError error;
    dv::SqlStatement* statement = data.access().database().statement(
        "SELECT (SELECT COUNT(*) FROM " + data.table("INVTPS") +
            "), (SELECT SUM(POPISANAZALOGA) FROM " + data.table("INVENDET") + ")",
        "count the imported lines", error);
    check(statement != nullptr, error.text);
    dv::StatementUse use(*statement);
    check(statement->step() == dv::StepResult::Row, "totals");
    return std::to_string(statement->integer(0)) + "|" + std::to_string(statement->integer(1));
}

// The import as the start button runs it (KnjizenjeINVASCI): the checks and the reading of the
// file for unreadable quantities, the pass in its progress window in one transaction, the
// archive copy written and flushed, the capture file removed. Message boxes would fail it.
void importEngine(benchmark::State& state) {
    Company& data = company();
    prepareImportTables(data);
    CaptureFiles files;
    dv::setTableFileName("INVASCI", files.capture().string());
    dv::GLO.DIDEROVIV = 1;
    dv::GLO.ENOTAINV = 1;
    dv::GLO.VRSTAINV = "M";
    dv::GLO.POTARHIVZAJEMAASCII = files.archive().string() + "/";
    dv::ErrorReporter errors;
    dv::SettingsManager settings;
    const dv::ProgramServices previous = dv::setProgramServices({&errors, &settings});
    dv::ProcedureScheduler scheduler;
    dv::HeadlessFrontEnd frontEnd(scheduler);
    dv::ProcedureRegistry procedures;
    procedures.add("KnjizenjeINVASCI", [] { return dv::runCaptureImport("KnjizenjeINVASCI"); });
    dv::ScriptRunner runner(scheduler, frontEnd, procedures);
    const auto script = dv::parseScript("start KnjizenjeINVASCI\n");
    std::string totals;
    for (auto _ : state) {
        state.PauseTiming();
        resetImport(data);
        files.prepare();
        state.ResumeTiming();
        const auto failure = runner.run(script);
        check(!failure, failure ? failure->report() : "");
        state.PauseTiming();
        check(!fs::exists(files.capture()), "the capture file was not removed");
        totals = importedTotals(data);
        state.ResumeTiming();
    }
    scheduler.shutdown();
    dv::setProgramServices(previous);
    dv::bench::labelEngine(state, totals);
    state.SetItemsProcessed(state.iterations() * kCaptureLines);
}

// The same import with SQLite alone: the file read line by line, the three item lookups, the
// template line, the code's last archived counter and the highest record number read per line,
// the archive record added and the template line updated or added, in one transaction; then the
// copy written and flushed and the file removed.
void importRaw(benchmark::State& state) {
    Company& data = company();
    prepareImportTables(data);
    CaptureFiles files;
    std::string totals;
    withRaw(data, [&](auto& db) {
        dv::bench::RawImport raw(db);
        for (auto _ : state) {
            state.PauseTiming();
            resetImport(data);
            files.prepare();
            state.ResumeTiming();
            raw.run(files.capture(), files.archive());
            state.PauseTiming();
            totals = importedTotals(data);
            state.ResumeTiming();
        }
    });
    dv::bench::labelEngine(state, totals);
    state.SetItemsProcessed(state.iterations() * kCaptureLines);
}

}  // namespace

int main(int argc, char** argv) {
    dv::installCatalogue(&dv::programCatalogue());
    dv::bench::takeEngineOption(argc, argv);
    const std::vector<char*> arguments = dv::bench::withShortMinimumTime(argc, argv);
    const bool printouts = !dv::bench::onServer();
    dv::bench::registerOnEngine("BM_Template100k/raw", templateRaw);
    dv::bench::registerOnEngine("BM_Template100k/engine", templateEngine);
    if (printouts)
        benchmark::RegisterBenchmark("BM_CountSheet100k/pdf", countSheetPdf)
            ->Unit(benchmark::kMillisecond);
    dv::bench::registerOnEngine("BM_CountEntry1k/raw", countEntryRaw);
    dv::bench::registerOnEngine("BM_CountEntry1k/engine", countEntryEngine);
    // The engine imports on a procedure thread: CPU time is the whole process's for both.
    dv::bench::registerOnEngine("BM_Import100k/raw", importRaw)->MeasureProcessCPUTime();
    dv::bench::registerOnEngine("BM_Import100k/engine", importEngine)->MeasureProcessCPUTime();
    dv::bench::registerPostingBenchmarks(printouts);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
