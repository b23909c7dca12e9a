// A whole stocktake of 100,000 items on the demo company, step by step as a user takes it: the
// template prepared, the terminal's capture file imported, the differences printed to PDF, the
// differences posted, both documents printed to PDF. BM_Stocktake100k/engine runs each step
// through the program's own procedures, driven by UI scripts through the headless front end;
// BM_Stocktake100k/raw does the same table work with SQLite alone (the same reads, inserts and
// updates, each batch in one transaction, statements prepared once) and builds the same report
// pages from the rows it read, written by the same PDF renderer. Each step's wall and CPU time
// (the whole process's: the engine's batches run on a procedure thread) is a counter.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <time.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CompanyGlobals.h"
#include "app/DemoCompany.h"
#include "app/ProgramSettings.h"
#include "app/ProgramStartUp.h"
#include "bench/BenchArguments.h"
#include "bench/BenchDirectory.h"
#include "bench/BenchProcedures.h"
#include "bench/StocktakeBenchmarks.h"
#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "framework/FormVariable.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ReportEngine.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"
#include "frontend/qt/pdf/PageExport.h"
#include "frontend/qt/pdf/PdfPageExporter.h"
#include "reports/DifferencesPrintout.h"
#include "reports/StocktakeDocument.h"
#include "runtime/Date.h"
#include "runtime/PageQueue.h"
#include "runtime/ProcedureScheduler.h"
#include "schema/ProgramCatalogue.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace {

namespace fs = std::filesystem;
using dv::bench::check;
using dv::bench::Statement;

constexpr std::size_t kItems = 100000;
constexpr std::size_t kCaptureLines = 100000;

// ---- the clock of each step

enum Step { kTemplate, kImport, kDifferencesPdf, kPosting, kDocumentsPdf, kSteps };
constexpr std::array<const char*, kSteps> kStepNames = {"template", "import", "differences_pdf",
                                                        "posting", "documents_pdf"};

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The wall and CPU seconds of each step, summed over the iterations.
struct StepTimes {
    std::array<double, kSteps> wall{};
    std::array<double, kSteps> cpu{};

    void time(Step step, const std::function<void()>& work) {
        const double wall0 = wallSeconds(), cpu0 = processSeconds();
        work();
        wall[step] += wallSeconds() - wall0;
        cpu[step] += processSeconds() - cpu0;
    }

    void report(benchmark::State& state, int pages) const {
        double totalWall = 0, totalCpu = 0;
        for (std::size_t s = 0; s < kSteps; ++s) {
            const std::string name = kStepNames[s];
            state.counters[name + "_s"] = benchmark::Counter(wall[s], benchmark::Counter::kAvgIterations);
            state.counters[name + "_cpu_s"] =
                benchmark::Counter(cpu[s], benchmark::Counter::kAvgIterations);
            totalWall += wall[s];
            totalCpu += cpu[s];
        }
        state.counters["total_s"] = benchmark::Counter(totalWall, benchmark::Counter::kAvgIterations);
        state.counters["total_cpu_s"] =
            benchmark::Counter(totalCpu, benchmark::Counter::kAvgIterations);
        state.counters["pages"] = pages;
    }
};

// ---- the company

// The demo's capture file of the first shop stretched to `lines` lines (with its heading) as a
// committee that finds goods on more shelves scans them: a whole count of 2 or more is split
// into a first scan of half and, after the walk through the shop, a scan of the rest. The counts
// the file gives stay the same.
void stretchCapture(const fs::path& file, std::size_t lines) {
    std::vector<std::string> scans;
    {
        std::ifstream in(file, std::ios::binary);
        for (std::string line; std::getline(in, line);) scans.push_back(line + "\n");
    }
    for (bool split = true; split && scans.size() < lines;) {
        split = false;
        for (std::size_t i = 1, end = scans.size(); i < end && scans.size() < lines; ++i) {
            const std::string& scan = scans[i];
            const std::size_t semicolon = scan.find(';');
            if (semicolon == std::string::npos || scan.find(',') != std::string::npos) continue;
            const long quantity = std::strtol(scan.c_str() + semicolon + 1, nullptr, 10);
            if (quantity < 2) continue;
            const std::string code = scan.substr(0, semicolon);
            scans[i] = code + ";" + std::to_string(quantity / 2) + "\r\n";
            scans.push_back(code + ";" + std::to_string(quantity - quantity / 2) + "\r\n");
            split = true;
        }
    }
    check(scans.size() == lines, "the capture file cannot be stretched");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const std::string& scan : scans) out << scan;
}

// A fresh demo company of 100,000 items in a folder of its own, started as the program starts
// and with the settings read as its main frame reads them; stocktake 1 of the first shop (retail)
// is in the register, chosen, with the committee's chairman and the posting date the user gives.
class Company {
  public:
    Company() : program_(root_.path() / "podjetje") {
        fs::create_directories(program_);
        const dv::DemoOutcome demo = dv::createDemoCompany(program_, kItems);
        check(demo.ok(), demo.error);
        std::string error;
        startUp_ = dv::ProgramStartUp::start(program_, error);
        check(startUp_ != nullptr, error);
        dv::readProgramSettings(startUp_->settings());
        dv::copyCompanyGlobals();
        stretchCapture(capture(), kCaptureLines + 1);
        makeTables();
        addStocktake();
        select();
    }
    ~Company() { endProgram(); }

    // The raw side works on the database alone: the program's connection is closed first.
    void endProgram() {
        if (startUp_) (void)startUp_->shutDown();
        startUp_.reset();
    }

    fs::path database() const { return program_ / "dideroviv.db"; }
    fs::path capture() const { return dv::tableFileName("INVASCI"); }
    fs::path archive() const { return dv::GLO.POTARHIVZAJEMAASCII.str(); }
    fs::path pdf(const std::string& name) const { return program_ / (name + ".pdf"); }

  private:
    // Tables are made on their first open; the raw side finds them made as the engine does.
    void makeTables() {
        for (const char* table : {"INVENDET", "INVTPS", "DOKUMENT", "DOKPROME", "SFOPOMBE"}) {
            dv::FileManager& file = startUp_->tables().file(table);
            check(file.Open() == dv::kLevelBenign && file.UseFile() == dv::kLevelBenign, table);
            file.Close();
        }
    }

    void addStocktake() {
        dv::FileManager& stocktakes = startUp_->tables().file("INVENTUR");
        check(stocktakes.Open() == dv::kLevelBenign && stocktakes.UseFile() == dv::kLevelBenign,
              "INVENTUR");
        dv::clearRecord(stocktakes.table(), stocktakes.buffer());
        dv::INVENTUR.StevInventure = 1;
        dv::INVENTUR.Enota = 1;
        dv::INVENTUR.VRSTAPRODAJE = "M";
        dv::INVENTUR.PREDSEDNIK = "Ana Kovač";
        check(stocktakes.driver()->add() == dv::DriverCode::Ok, "stocktake");
        stocktakes.Close();
    }

    static void select() {
        dv::bench::selectStocktake();
        dv::GLO.RepreparationMode = 0;
        dv::GLO.SORT = 1;
        dv::GLO.CHECKBOX1 = 1;
        dv::GLO.NAZIVIZPISA = "IZPIS INVENTURNIH RAZLIK INVENTURE ŠT. 1";
        dv::GLO.DATUM = dv::dayNumber(2024, 3, 10);
        dv::GLO.PostingChairman = "Predsednik";
    }

    dv::bench::Directory root_;
    fs::path program_;
    std::unique_ptr<dv::ProgramStartUp> startUp_;
};

// What the stocktake left in the tables, for the label: template lines and their counts,
// archived capture lines, document lines and their quantities, the shop's stock. Engine and raw
// must leave the same.
std::string outcome(const fs::path& database) {
    sqlite3* db = dv::bench::openRaw(database);
    std::string text;
    {
        Statement totals(db, "SELECT (SELECT COUNT(*) FROM INVENDET), (SELECT SUM(POPISANAZALOGA) "
                             "FROM INVENDET), (SELECT COUNT(*) FROM INVTPS), (SELECT COUNT(*) FROM "
                             "DOKPROME), (SELECT SUM(KOLICINA) FROM DOKPROME), (SELECT SUM(ZALOGA) "
                             "FROM ZALOGA WHERE ENOTA = 1)");
        check(totals.row(), "outcome");
        for (int c = 0; c < 6; ++c) text += (c > 0 ? "|" : "") + totals.string(c);
    }
    sqlite3_close(db);
    return text;
}

// ---- the engine

using dv::bench::Procedures;

void engine(benchmark::State& state) {
    StepTimes times;
    int pages = 0;
    // Made and ended outside the timing: the company of the next round ends the last one's.
    std::unique_ptr<Company> company;
    std::unique_ptr<Procedures> procedures;
    for (auto _ : state) {
        state.PauseTiming();
        procedures.reset();
        company.reset();
        company = std::make_unique<Company>();
        procedures = std::make_unique<Procedures>();
        state.ResumeTiming();
        times.time(kTemplate, [&] {
            procedures->run("start PripravaPredloge\nmessage-contains \"samo na enem računalniku\"\n"
                            "answer Yes\nidle\n");
        });
        times.time(kImport, [&] { procedures->run("start KnjizenjeINVASCI\nidle\n"); });
        pages = 0;
        times.time(kDifferencesPdf, [&] {
            pages += procedures->printToPdf("IzpisInventurnihRazlik", company->pdf("razlike"));
        });
        times.time(kPosting, [&] {
            procedures->run("start KnjizenjeInventurnihRazlik\nmessage-contains \"je končano\"\n"
                            "answer OK\nidle\n");
        });
        times.time(kDocumentsPdf, [&] {
            for (const char* report : {"IzpisInvManjkovVele", "IzpisInvViskovVele"})
                pages += procedures->printToPdf(report, company->pdf(report));
        });
        state.PauseTiming();
        check(!fs::exists(company->capture()), "the capture file was not imported");
        state.SetLabel(outcome(company->database()));
        state.ResumeTiming();
    }
    procedures.reset();
    times.report(state, pages);
}

// ---- raw SQLite

// A decimal field from its stored units.
template <typename Field>
void setUnits(Field& field, const Statement& row, int column) {
    field.setUnits(row.integer(column));
}

// The pages of a report built as its procedure builds them, from rows the caller reads.
class RawReport {
  public:
    RawReport(const char* report, const dv::NameResolver& names)
        : engine_(dv::reportLayout(report), names) {
        engine_.Open(pages_);
    }
    dv::ReportEngine& engine() { return engine_; }
    // The pages numbered and written to `pdf`; their number.
    int write(const fs::path& pdf) {
        engine_.Close();
        pages_.renumber(dv::kPageNumberControl, dv::kPageCountConnector);
        const dv::FileResult written = dv::writePagesToPdf(pages_, pdf);
        check(written.ok(), written.error);
        return pages_.pageCount();
    }

  private:
    dv::ReportEngine engine_;
    dv::PageQueue pages_;
};

void writeToday() {
    dv::FormVariable::require("GLO:DANES").write(dv::ExpressionValue::number(dv::Decimal(dv::today())));
}

// The differences of stocktake 1 by name, each line with its group, its item's tax rate and
// the values of shortage and surplus, as IzpisInventurnihRazlik prints them.
int rawDifferencesPdf(sqlite3* db, const fs::path& pdf) {
    writeToday();
    Statement unit(db, "SELECT NAZIV FROM SFENOTE WHERE ENOTA = 1");
    Statement lines(db,
                    "SELECT EAN, NAZIV, SKUPINA, RACZALOGA, POPISANAZALOGA, VPCENA, MPCENA, NABCENA "
                    "FROM INVENDET WHERE STEVINVENTURE = 1 AND ENOTA = 1 AND VRSTAPRODAJE = 'M' AND "
                    "RACZALOGA <> POPISANAZALOGA ORDER BY STEVINVENTURE, ENOTA, VRSTAPRODAJE, "
                    "NAZIV COLLATE SL_NOCASE, _ROW");
    Statement group(db, "SELECT NAZIV FROM SFGRUPE WHERE SIFRA = ?1");
    Statement item(db, "SELECT DAVEK FROM ARTIKLI WHERE EAN = ?1");
    Statement rate(db, "SELECT STOPNJADDV FROM SFDDV WHERE SIFRADDV = ?1");
    dv::SFENOTE.Naziv.setRaw(unit.row() ? unit.string(0) : "");
    unit.reset();

    dv::DifferencesPrintout printout;
    RawReport report("IzpisInventurnihRazlik", printout.names());
    while (lines.row()) {
        dv::INVENDET.EAN.setRaw(lines.string(0));
        dv::INVENDET.Naziv.setRaw(lines.string(1));
        dv::INVENDET.Skupina = static_cast<std::uint16_t>(lines.integer(2));
        setUnits(dv::INVENDET.RacZaloga, lines, 3);
        setUnits(dv::INVENDET.PopisanaZaloga, lines, 4);
        setUnits(dv::INVENDET.VPCENA, lines, 5);
        setUnits(dv::INVENDET.MPCENA, lines, 6);
        setUnits(dv::INVENDET.NABCENA, lines, 7);
        group.number(1, lines.integer(2));
        dv::SFGRUPE.Naziv.setRaw(group.row() ? group.string(0) : "");
        group.reset();
        item.text(1, lines.string(0));
        rate.number(1, item.row() ? item.integer(0) : 0);
        item.reset();
        if (rate.row()) setUnits(dv::SFDDV.STOPNJADDV, rate, 0);
        else dv::SFDDV.STOPNJADDV.setUnits(0);
        rate.reset();
        printout.printLine(report.engine());
    }
    printout.printConditions(report.engine());
    return report.write(pdf);
}

// The heading's rows of a stocktake document: the stocktake's committee, the unit, the
// document's header (its key and date) and the notes.
void readDocumentHeading(sqlite3* db, bool surplus) {
    Statement stocktake(db, "SELECT PREDSEDNIK, CLAN1, CLAN2, CLAN3 FROM INVENTUR WHERE "
                            "STEVINVENTURE = 1 AND ENOTA = 1 AND VRSTAPRODAJE = 'M'");
    check(stocktake.row(), "stocktake");
    dv::INVENTUR.PREDSEDNIK.setRaw(stocktake.string(0));
    dv::INVENTUR.CLAN1.setRaw(stocktake.string(1));
    dv::INVENTUR.CLAN2.setRaw(stocktake.string(2));
    dv::INVENTUR.CLAN3.setRaw(stocktake.string(3));
    Statement unit(db, "SELECT NAZIV, NASLOVENOTE, KRAJENOTE, TELEFON, TELEFAX FROM SFENOTE "
                       "WHERE ENOTA = 1");
    check(unit.row(), "unit");
    dv::SFENOTE.Naziv.setRaw(unit.string(0));
    dv::SFENOTE.NASLOVENOTE.setRaw(unit.string(1));
    dv::SFENOTE.KRAJENOTE.setRaw(unit.string(2));
    dv::SFENOTE.TELEFON.setRaw(unit.string(3));
    dv::SFENOTE.TELEFAX.setRaw(unit.string(4));
    Statement header(db, "SELECT DATUMDOKUMENTA FROM DOKUMENT WHERE VRSTAPRODAJE = 'M' AND "
                         "ENOTA = 1 AND OZNAKADOKUMENTA = ?1 AND VRSTAPROMETA = ?2 AND "
                         "STEVILKADOKUMENTA = 1");
    header.text(1, surplus ? "N" : "I").number(2, surplus ? 15 : 35);
    check(header.row(), "document");
    dv::DOK.STEVILKADOKUMENTA = 1;
    dv::DOK.DATUMDOKUMENTA = static_cast<std::int32_t>(header.integer(0));
    Statement notes(db, "SELECT VRSTICA1, VRSTICA2, VRSTICA3, VRSTICA4, VRSTICA5 FROM SFOPOMBE "
                        "WHERE VRSTAPROMETA = 0 AND SIFRAOPOMBE = 0");
    const bool found = notes.row();
    dv::SFOPOMBE.VRSTICA1.setRaw(found ? notes.string(0) : "");
    dv::SFOPOMBE.VRSTICA2.setRaw(found ? notes.string(1) : "");
    dv::SFOPOMBE.VRSTICA3.setRaw(found ? notes.string(2) : "");
    dv::SFOPOMBE.VRSTICA4.setRaw(found ? notes.string(3) : "");
    dv::SFOPOMBE.VRSTICA5.setRaw(found ? notes.string(4) : "");
}

// The shortage or surplus document of the posting, its lines in line order with their items'
// names, the values and the VAT breakdown, as printStocktakeDocument prints them.
int rawDocumentPdf(sqlite3* db, bool surplus, const fs::path& pdf) {
    writeToday();
    readDocumentHeading(db, surplus);
    Statement lines(db, "SELECT EAN, KOLICINA, NABAVNACENA, PRODAJNACENABREZDDV, "
                        "PRODAJNACENAZDDV, STOPNJADDV, POPUSTIRABATI, NAZIVEM, POSTAVKADOKUMENTA "
                        "FROM DOKPROME WHERE VRSTAPRODAJE = 'M' AND ENOTA = 1 AND "
                        "OZNAKADOKUMENTA = ?1 AND VRSTAPROMETA = ?2 AND STEVILKADOKUMENTA = 1 "
                        "ORDER BY POSTAVKADOKUMENTA");
    lines.text(1, surplus ? "N" : "I").number(2, surplus ? 15 : 35);
    Statement item(db, "SELECT KRATEKNAZIV, DRUGIDELNAZIVA, KATALOG FROM ARTIKLI WHERE EAN = ?1");

    dv::StocktakeDocumentPrintout printout(surplus ? dv::StocktakeDocumentKind::Surplus
                                                   : dv::StocktakeDocumentKind::Shortage);
    RawReport report(surplus ? "IzpisInvViskovVele" : "IzpisInvManjkovVele", printout.names());
    while (lines.row()) {
        dv::DOKPROME.EAN.setRaw(lines.string(0));
        setUnits(dv::DOKPROME.KOLICINA, lines, 1);
        setUnits(dv::DOKPROME.NABAVNACENA, lines, 2);
        setUnits(dv::DOKPROME.PRODAJNACENABREZDDV, lines, 3);
        setUnits(dv::DOKPROME.PRODAJNACENAZDDV, lines, 4);
        setUnits(dv::DOKPROME.STOPNJADDV, lines, 5);
        setUnits(dv::DOKPROME.POPUSTIRABATI, lines, 6);
        dv::DOKPROME.NAZIVEM.setRaw(lines.string(7));
        dv::DOKPROME.POSTAVKADOKUMENTA = static_cast<std::uint16_t>(lines.integer(8));
        item.text(1, lines.string(0));
        const bool known = item.row();
        dv::ARTIKLI.KRATEKNAZIV.setRaw(known ? item.string(0) : "");
        dv::ARTIKLI.DRUGIDELNAZIVA.setRaw(known ? item.string(1) : "");
        dv::ARTIKLI.KATALOG.setRaw(known ? item.string(2) : "");
        item.reset();
        printout.printLine(report.engine());
    }
    printout.printTotals(report.engine());
    for (const char* band : {"Opombe", "Podpisi"}) report.engine().Print(band);
    return report.write(pdf);
}

// A raw connection to the company's database, closed with it.
struct RawRun {
    RawRun() : capture(company.capture()), archive(company.archive()) {
        company.endProgram();
        db = dv::bench::openRaw(company.database());
        connection = std::make_unique<dv::bench::SqliteRaw>(db);
        preparation = std::make_unique<dv::bench::RawTemplate<dv::bench::SqliteRaw>>(*connection);
        import = std::make_unique<dv::bench::RawImport<dv::bench::SqliteRaw>>(*connection);
    }
    ~RawRun() {
        preparation.reset();
        import.reset();
        sqlite3_close(db);
    }

    Company company;
    fs::path capture;
    fs::path archive;
    sqlite3* db = nullptr;
    std::unique_ptr<dv::bench::SqliteRaw> connection;
    std::unique_ptr<dv::bench::RawTemplate<dv::bench::SqliteRaw>> preparation;
    std::unique_ptr<dv::bench::RawImport<dv::bench::SqliteRaw>> import;
};

void raw(benchmark::State& state) {
    StepTimes times;
    int pages = 0;
    std::unique_ptr<RawRun> run;
    for (auto _ : state) {
        state.PauseTiming();
        run.reset();
        run = std::make_unique<RawRun>();
        sqlite3* db = run->db;
        state.ResumeTiming();
        times.time(kTemplate, [&] {
            check(run->preparation->run() == static_cast<std::int64_t>(kItems), "template rows");
        });
        times.time(kImport, [&] { run->import->run(run->capture, run->archive); });
        pages = 0;
        times.time(kDifferencesPdf,
                   [&] { pages += rawDifferencesPdf(db, run->company.pdf("razlike")); });
        times.time(kPosting, [&] {
            check(dv::bench::rawPosting(*run->connection, dv::GLO.SIFRALASTNIKAPROGRAMA, kItems) > 0,
                  "posted lines");
        });
        times.time(kDocumentsPdf, [&] {
            pages += rawDocumentPdf(db, false, run->company.pdf("IzpisInvManjkovVele"));
            pages += rawDocumentPdf(db, true, run->company.pdf("IzpisInvViskovVele"));
        });
        state.PauseTiming();
        state.SetLabel(outcome(run->company.database()));
        state.ResumeTiming();
    }
    times.report(state, pages);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    dv::installCatalogue(&dv::programCatalogue());
    dv::setFixedToday(dv::dayNumber(2024, 3, 15));
    const std::vector<char*> arguments = dv::bench::withShortMinimumTime(argc, argv);
    dv::PdfPageExporter pdfExport;
    // The engine's batches run on a procedure thread: CPU time is the whole process's for both.
    benchmark::RegisterBenchmark("BM_Stocktake100k/engine", engine)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
    benchmark::RegisterBenchmark("BM_Stocktake100k/raw", raw)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
