// Speed of the stocktake's hot paths, each against raw SQLite doing the same work in the same
// run: the first preparation of a template of 100,000 items with a stock row each, the count
// sheet of that template written to PDF, and a thousand counts saved one by one into it.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchArguments.h"
#include "bench/PostingBenchmarks.h"
#include "bench/BenchDirectory.h"
#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "framework/BatchProcess.h"
#include "framework/BatchTableSource.h"
#include "framework/ProcessSlicer.h"
#include "framework/ReportEngine.h"
#include "frontend/qt/pdf/PageExport.h"
#include "reports/CountSheet.h"
#include "runtime/PageQueue.h"
#include "schema/ProgramCatalogue.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/TemplatePreparation.h"
#include "storage/BatchTransaction.h"
#include "storage/SlovenianCollation.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableAccess.h"

namespace {

namespace fs = std::filesystem;
using dv::DriverCode;

constexpr int kItems = 100000;

void check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what);
}

// A company of 100,000 items, each with a stock row in unit 1, and stocktake 1 of unit 1 in the
// INVENTUR buffer; made once for the whole run.
class Company {
  public:
    Company() {
        check(dv::resolveTableFileNames(settings_, directory_.path()).ok(), "table files");
        access_ = std::make_unique<dv::TableAccess>();
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
    fs::path database() const { return directory_.path() / "dideroviv.db"; }
    fs::path pdf() const { return directory_.path() / "predloga.pdf"; }
    void clearTemplate() {
        dv::DriverError error;
        check(access_->database().execute("DELETE FROM INVENDET", "clear", error) ==
                  DriverCode::Ok,
              error.text);
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
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    check(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK, sqlite3_errmsg(db));
    return statement;
}

// A price of 6 places kept to 4, half away from zero.
std::int64_t toFourPlaces(std::int64_t units) {
    return units >= 0 ? (units + 50) / 100 : -((-units + 50) / 100);
}

void bindText(sqlite3_stmt* statement, int column, const unsigned char* text) {
    sqlite3_bind_text(statement, column, reinterpret_cast<const char*>(text), -1,
                      SQLITE_TRANSIENT);
}

// The same reads of ARTIKLI (item-code order) and ZALOGA (by unit and item) and the same
// inserts into INVENDET, with prepared statements in one transaction.
void templateRaw(benchmark::State& state) {
    Company& data = company();
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(data.database().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
              SQLITE_OK,
          "open");
    dv::registerSlovenianCollation(db);
    sqlite3_busy_timeout(db, 5000);
    // The page cache the program's connection has.
    sqlite3_exec(db, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    sqlite3_stmt* items = prepare(db,
                                  "SELECT EAN, KRATEKNAZIV, DRUGIDELNAZIVA, SKUPINA, CENABREZDDV, "
                                  "MPCENA FROM ARTIKLI ORDER BY EAN, _ROW");
    sqlite3_stmt* stock = prepare(
        db, "SELECT ZALOGA, ZADNJANABCENA FROM ZALOGA WHERE ENOTA = ?1 AND EAN = ?2");
    sqlite3_stmt* insert = prepare(
        db,
        "INSERT INTO INVENDET (STEVINVENTURE, ENOTA, VRSTAPRODAJE, EAN, SKUPINA, NAZIV, "
        "RACZALOGA, POPISANAZALOGA, VPCENA, MPCENA, NABCENA, NAREJENVNOS) "
        "VALUES (1, 1, 'M', ?1, ?2, ?3, ?4, ?4, ?5, ?6, ?7, 0)");
    for (auto _ : state) {
        state.PauseTiming();
        data.clearTemplate();
        state.ResumeTiming();
        check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK,
              sqlite3_errmsg(db));
        std::int64_t written = 0;
        while (sqlite3_step(items) == SQLITE_ROW) {
            std::string name(reinterpret_cast<const char*>(sqlite3_column_text(items, 1)));
            name.resize(20, ' ');
            name += std::string(reinterpret_cast<const char*>(sqlite3_column_text(items, 2)))
                        .substr(0, 20);
            while (!name.empty() && name.back() == ' ') name.pop_back();
            sqlite3_bind_int(stock, 1, 1);
            bindText(stock, 2, sqlite3_column_text(items, 0));
            std::int64_t quantity = 0;
            std::int64_t purchase = 0;
            if (sqlite3_step(stock) == SQLITE_ROW) {
                quantity = sqlite3_column_int64(stock, 0);
                purchase = sqlite3_column_int64(stock, 1);
            }
            sqlite3_reset(stock);
            bindText(insert, 1, sqlite3_column_text(items, 0));
            sqlite3_bind_int64(insert, 2, sqlite3_column_int64(items, 3));
            sqlite3_bind_text(insert, 3, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(insert, 4, quantity);
            sqlite3_bind_int64(insert, 5, toFourPlaces(sqlite3_column_int64(items, 4)));
            sqlite3_bind_int64(insert, 6, toFourPlaces(sqlite3_column_int64(items, 5)));
            sqlite3_bind_int64(insert, 7, toFourPlaces(purchase));
            check(sqlite3_step(insert) == SQLITE_DONE, sqlite3_errmsg(db));
            sqlite3_reset(insert);
            ++written;
        }
        sqlite3_reset(items);
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK,
              sqlite3_errmsg(db));
        check(written == kItems, "raw count");
    }
    sqlite3_finalize(items);
    sqlite3_finalize(stock);
    sqlite3_finalize(insert);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kItems);
}

// The template of the preparation benchmarks, made when a benchmark that reads it runs alone.
// `lines` is open.
void ensureTemplate(Company& data, dv::FileManager& lines) {
    check(lines.UseFile() == dv::kLevelBenign, "use");
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
}

// The same with raw SQLite: the row by its key, then an update of the two fields by row id.
void countEntryRaw(benchmark::State& state) {
    Company& data = company();
    {
        dv::FileManager& lines = data.access().file("INVENDET");
        check(lines.Open() == dv::kLevelBenign, "open");
        ensureTemplate(data, lines);
        (void)lines.Close();
    }
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(data.database().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
              SQLITE_OK,
          "open raw");
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt* read = prepare(db,
                                 "SELECT rowid, POPISANAZALOGA, NAREJENVNOS FROM INVENDET WHERE "
                                 "STEVINVENTURE = 1 AND ENOTA = 1 AND VRSTAPRODAJE = 'M' AND EAN = ?");
    sqlite3_stmt* write =
        prepare(db, "UPDATE INVENDET SET POPISANAZALOGA = ?, NAREJENVNOS = 1 WHERE rowid = ?");
    std::int64_t round = 0;
    for (auto _ : state) {
        ++round;
        for (int n = 0; n < kCounts; ++n) {
            const std::string code = countedCode(n);
            sqlite3_bind_text(read, 1, code.c_str(), -1, SQLITE_TRANSIENT);
            check(sqlite3_step(read) == SQLITE_ROW, "read " + code);
            const std::int64_t row = sqlite3_column_int64(read, 0);
            sqlite3_reset(read);
            sqlite3_bind_int64(write, 1, round * 1000 + n);
            sqlite3_bind_int64(write, 2, row);
            check(sqlite3_step(write) == SQLITE_DONE, sqlite3_errmsg(db));
            sqlite3_reset(write);
        }
    }
    sqlite3_finalize(read);
    sqlite3_finalize(write);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kCounts);
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
    dv::GLO.DIDEROVIV = 1;
    dv::GLO.ENOTAINV = 1;
    dv::GLO.VRSTAINV = "M";
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

}  // namespace

int main(int argc, char** argv) {
    dv::installCatalogue(&dv::programCatalogue());
    const std::vector<char*> arguments = dv::bench::withShortMinimumTime(argc, argv);
    benchmark::RegisterBenchmark("BM_Template100k/raw", templateRaw)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Template100k/engine", templateEngine)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CountSheet100k/pdf", countSheetPdf)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CountEntry1k/raw", countEntryRaw)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CountEntry1k/engine", countEntryEngine)
        ->Unit(benchmark::kMillisecond);
    dv::bench::registerPostingBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
