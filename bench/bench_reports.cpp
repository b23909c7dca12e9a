// Speed of the report machinery: laying out 10,000 detail lines into pages and writing those
// pages to PDF; and a batch pass that reads 100,000 stocktake lines (INVENDET) and does nothing
// with them, against raw SQLite scanning the same table in the same order in the same run.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchArguments.h"
#include "bench/BenchDirectory.h"
#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "framework/BatchProcess.h"
#include "framework/BatchTableSource.h"
#include "framework/ProcessSlicer.h"
#include "framework/ReportEngine.h"
#include "frontend/qt/pdf/PageExport.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"
#include "schema/ProgramCatalogue.h"
#include "schema/Records.h"
#include "storage/SlovenianCollation.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableDrivers.h"

namespace {

namespace fs = std::filesystem;
using dv::DriverCode;

constexpr int kLines = 10000;
constexpr int kRows = 100000;

void check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what);
}

using dv::bench::Directory;

// ---- reports

// A code list printout as the program's are laid out: company header with page numbers, column
// heads, a detail line of five fields, a page footer and a closing band.
constexpr std::string_view kLayout = R"(report Bench "Šifrant artiklov" paper=A4 margins=15,10,10,10
  font normal "DejaVu Sans" size=8
  font bold "DejaVu Sans" size=9 bold
  header height=24
    field LOC:Firma at=0,0 width=110 font=bold
    text "Stran:" at=140,0 width=17
    field StevilkaStrani at=157,0 width=28 align=right
    text "Šifra" at=0,14 width=20 font=bold
    text "Naziv" at=22,14 width=90 font=bold
    text "Skupina" at=115,14 width=15 font=bold
    text "Cena" at=135,14 width=25 font=bold
    text "Datum" at=162,14 width=23 font=bold
    line from=0,20 to=185,20 thickness=0.3
  footer height=8
    line from=0,1 to=185,1
    text "DIDEROVIV" at=0,3 width=50
  detail Detail height=4.5
    field LOC:Sifra at=0,0 width=20 picture=@N_8
    field LOC:Naziv at=22,0 width=90 picture=@S40
    field LOC:Skupina at=115,0 width=15 picture=@N4B
    field LOC:Cena at=135,0 width=25 picture=@N14`4B
    field LOC:Datum at=162,0 width=23 picture=@D17
  band Konec height=10
    text "Konec izpisa" at=0,3 font=bold
)";

struct ReportValues {
    dv::FixedText<40> company{"Trgovina Čebelica d.o.o."};
    std::int32_t code = 0;
    dv::FixedText<40> name;
    std::uint16_t group = 0;
    dv::FixedDecimal<13, 4> price;
    std::int32_t day = 0;
    dv::NamedVariables names;

    ReportValues() {
        names.add("LOC:Firma", company);
        names.add("LOC:Sifra", code);
        names.add("LOC:Naziv", name);
        names.add("LOC:Skupina", group);
        names.add("LOC:Cena", price);
        names.add("LOC:Datum", day);
    }
    void line(int i) {
        static const char* const words[] = {"čokolada", "Šumi", "žele", "Cvet", "sok", "čaj"};
        code = 1000 + i;
        name.assign(std::string(words[i % 6]) + " " + words[(i / 6) % 6] + " " + std::to_string(i));
        group = static_cast<std::uint16_t>(i % 40);
        price.setUnits(12345L * (i % 97));
        day = 81000 + i % 365;
    }
};

const dv::ReportLayout& layout() {
    static const dv::ReportLayout parsed = dv::parseReportLayout(kLayout, "Bench.report");
    return parsed;
}

void paginate(dv::ReportEngine& engine, ReportValues& values, dv::PageQueue& pages) {
    engine.Open(pages);
    for (int i = 0; i < kLines; ++i) {
        values.line(i);
        engine.Print("Detail");
    }
    engine.Print("Konec");
    engine.Close();
    pages.renumber(dv::kPageNumberControl, dv::kPageCountConnector);
}

void reportPaginate(benchmark::State& state) {
    ReportValues values;
    dv::ReportEngine engine(layout(), values.names);
    dv::PageQueue pages;
    for (auto _ : state) {
        paginate(engine, values, pages);
        benchmark::DoNotOptimize(pages.pages.data());
    }
    state.counters["pages"] = pages.pageCount();
    state.SetItemsProcessed(state.iterations() * kLines);
}

void reportPdf(benchmark::State& state) {
    ReportValues values;
    dv::ReportEngine engine(layout(), values.names);
    dv::PageQueue pages;
    paginate(engine, values, pages);
    Directory directory;
    const fs::path file = directory.path() / "report.pdf";
    for (auto _ : state) {
        const dv::FileResult written = dv::writePagesToPdf(pages, file);
        check(written.ok(), written.error);
    }
    state.counters["pages"] = pages.pageCount();
    state.counters["pages_per_second"] = benchmark::Counter(
        static_cast<double>(pages.pageCount()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    state.counters["bytes"] = static_cast<double>(fs::file_size(file));
}

// ---- a pass over 100,000 rows

const dv::TableDef& lineTable() {
    return *dv::findTable("INVENDET");
}

// The stocktake lines in the database of `directory`, made once per benchmark.
void fillLines(const fs::path& directory) {
    dv::SqliteDatabase db;
    auto driver = dv::makeTableDriver(db, lineTable(), directory / "INVENDET.TPS");
    check(driver->create() == DriverCode::Ok, driver->lastError().text);
    check(driver->open(dv::AccessMode::ReadWrite) == DriverCode::Ok, driver->lastError().text);
    check(driver->beginTransaction() == DriverCode::Ok, driver->lastError().text);
    for (int i = 0; i < kRows; ++i) {
        dv::clearRecord(lineTable(), &dv::INVENDET);
        dv::INVENDET.StevInventure = 1;
        dv::INVENDET.Enota = 1;
        dv::INVENDET.VrstaProdaje = "M";
        dv::INVENDET.EAN = std::to_string(3830000000000L + (i * 7919L) % kRows);
        dv::INVENDET.Skupina = static_cast<std::uint16_t>(i % 50);
        dv::INVENDET.Naziv = "Artikel šifra " + std::to_string(i);
        dv::INVENDET.RacZaloga.setUnits(i * 10L);
        dv::INVENDET.VPCENA.setUnits(i * 1234L);
        dv::INVENDET.MPCENA.setUnits(i * 1500L);
        dv::INVENDET.NABCENA.setUnits(i * 1000L);
        check(driver->add() == DriverCode::Ok, driver->lastError().text);
    }
    check(driver->commit() == DriverCode::Ok, driver->lastError().text);
}

void passEngine(benchmark::State& state) {
    Directory directory;
    fillLines(directory.path());
    dv::SqliteDatabase db;
    dv::FileManager file(lineTable(), [&](const dv::TableDef& table, const std::string&) {
        return dv::makeTableDriver(db, table, directory.path() / "INVENDET.TPS");
    });
    check(file.Open() == dv::kLevelBenign, "open INVENDET");
    const int key = lineTable().findKey("STEVSIFRAKLJUC");
    dv::TableRecordSource view(file, key);
    dv::BatchProcess process;
    process.SetUp(view);
    process.setQuickScanMode(true);
    for (auto _ : state) {
        dv::ProcessSlicer slicer;
        check(process.Restart() == dv::kLevelBenign, "restart");
        bool ended = false;
        while (!ended)
            ended = !slicer.tick([&] {
                return process.ReadNext() == dv::ReadResult::Record &&
                       process.HandleRecord() == dv::kLevelBenign;
            });
        check(process.DoneCount() == kRows, "engine pass count");
        process.EndPass();
        benchmark::DoNotOptimize(dv::INVENDET);
    }
    file.Close();
    state.SetItemsProcessed(state.iterations() * kRows);
}

// What a plain reader does with a row: takes every column out of SQLite.
void passRaw(benchmark::State& state) {
    Directory directory;
    fillLines(directory.path());
    sqlite3* db = nullptr;
    check(sqlite3_open_v2((directory.path() / "dideroviv.db").c_str(), &db, SQLITE_OPEN_READONLY,
                          nullptr) == SQLITE_OK,
          "open");
    dv::registerSlovenianCollation(db);
    sqlite3_exec(db, "PRAGMA cache_size=-32768", nullptr, nullptr, nullptr);
    sqlite3_stmt* scan = nullptr;
    check(sqlite3_prepare_v2(db,
                             "SELECT * FROM INVENDET ORDER BY STEVINVENTURE,ENOTA,"
                             "VRSTAPRODAJE,EAN,_ROW",
                             -1, &scan, nullptr) == SQLITE_OK,
          sqlite3_errmsg(db));
    const int columns = sqlite3_column_count(scan);
    std::int64_t numbers[64] = {};
    char text[256] = {};
    for (auto _ : state) {
        std::int64_t rows = 0;
        while (sqlite3_step(scan) == SQLITE_ROW) {
            for (int c = 0; c < columns && c < 64; ++c) {
                if (sqlite3_column_type(scan, c) == SQLITE_TEXT) {
                    const int length = std::min(sqlite3_column_bytes(scan, c), 255);
                    std::memcpy(text, sqlite3_column_text(scan, c),
                                static_cast<std::size_t>(length));
                } else {
                    numbers[c] = sqlite3_column_int64(scan, c);
                }
            }
            ++rows;
        }
        sqlite3_reset(scan);
        check(rows == kRows, "raw pass count");
        benchmark::DoNotOptimize(numbers);
        benchmark::DoNotOptimize(text);
    }
    sqlite3_finalize(scan);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * kRows);
}

}  // namespace

int main(int argc, char** argv) {
    dv::installCatalogue(&dv::programCatalogue());
    // A handful of iterations of each: a short minimum time fixes the count without adding
    // "/iterations:n" to the names.
    const std::vector<char*> arguments = dv::bench::withShortMinimumTime(argc, argv);
    benchmark::RegisterBenchmark("BM_Report10k/paginate", reportPaginate)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Report10k/pdf", reportPdf)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Pass100k/raw", passRaw)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Pass100k/engine", passEngine)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
