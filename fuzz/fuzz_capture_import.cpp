// The import of a barcode terminal's capture file (KnjizenjeINVASCI) with the fuzz input as the
// capture file, into a small template made once per process in a temporary program directory.
// Besides crashes it checks the import's promise of all or nothing after every input:
//   - completed: the capture file is gone, the one archive copy holds the input byte for byte,
//     the archive table got one record per line with a code and a readable quantity, holding
//     that quantity, and the template's counted quantity grew by exactly the quantities of the
//     lines of known items;
//   - refused or failed: template, archive table and capture file are exactly as before, and
//     no archive copy was written.
// The question about unreadable quantities is answered Yes or No by a bit of the input, every
// other box with its default button. Between inputs the two tables are put back from copies
// kept on the connection, which is far cheaper than a fresh database.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "framework/ErrorReporter.h"
#include "framework/ProgramServices.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "runtime/ProcedureScheduler.h"
#include "schema/ProgramCatalogue.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableAccess.h"
#include "storage/TextFileTable.h"
#include "terminal/CaptureImport.h"
#include "terminal/CaptureImportBatch.h"

namespace {

namespace fs = std::filesystem;
using namespace dv;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

void require(bool ok, const std::string& what) {
    if (!ok) fail(what);
}

// The rows of a query, one line each, columns joined by "|".
std::string rows(sqlite3* db, const std::string& query) {
    sqlite3_stmt* statement = nullptr;
    require(sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr) == SQLITE_OK,
            sqlite3_errmsg(db));
    std::string text;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const auto* value = sqlite3_column_text(statement, c);
            text += (c > 0 ? "|" : "") + std::string(value ? reinterpret_cast<const char*>(value) : "");
        }
        text += "\n";
    }
    sqlite3_finalize(statement);
    return text;
}

// The single number `query` gives; 0 for none (the sum of no rows). A negative sum (counts
// below zero) reads as itself.
std::int64_t number(sqlite3* db, const std::string& query) {
    std::string text = rows(db, query);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text.empty() ? 0 : std::stoll(text);
}

std::string fileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

constexpr const char* kTemplateRows = "SELECT * FROM INVENDET ORDER BY _ROW";
constexpr const char* kArchiveRows = "SELECT * FROM INVTPS ORDER BY _ROW";
constexpr const char* kCounted = "SELECT SUM(POPISANAZALOGA) FROM INVENDET";

// A line the import posts: its quantity at the template's 3 places and the archive's 2.
struct PostedLine {
    Int128 thousandths;
    Int128 hundredths;
};

// The program with a template of a handful of items: stocktake 1 of unit 1 (retail) with lines
// counted and not yet counted, an item without a template line, an item of 12 digits, a line of
// another stocktake, and an archive record from an earlier import.
class Company {
  public:
    Company() {
        std::string pattern = (fs::temp_directory_path() / "dv-fuzz-import-XXXXXX").string();
        require(::mkdtemp(pattern.data()) != nullptr, "mkdtemp");
        directory_ = pattern;
        require(resolveTableFileNames(settings_, directory_).ok(), "table files");
        clearAllRecordBuffers();
        tables_ = std::make_unique<TableAccess>(&errors_);
        (void)setProgramServices({&errors_, &settings_});
        setTableFileName("INVASCI", capture().string());
        fs::create_directory(archive());
        GLO.POTARHIVZAJEMAASCII = archive().string() + "/";
        GLO.DIDEROVIV = 1;
        GLO.ENOTAINV = 1;
        GLO.VRSTAINV = "M";
        fill();
        sqlite3_exec(db(),
                     "CREATE TEMP TABLE pristine_invendet AS SELECT * FROM INVENDET;"
                     "CREATE TEMP TABLE pristine_invtps AS SELECT * FROM INVTPS;",
                     nullptr, nullptr, nullptr);
        templateRows_ = rows(db(), kTemplateRows);
        archiveRows_ = rows(db(), kArchiveRows);
        counted_ = number(db(), kCounted);
        archived_ = number(db(), "SELECT COUNT(*) FROM INVTPS");
    }

    // Template and archive table as made, the archive folder empty, the input as capture file.
    void reset(std::string_view input) {
        char* error = nullptr;
        if (sqlite3_exec(db(),
                         "DELETE FROM INVENDET; INSERT INTO INVENDET SELECT * FROM "
                         "pristine_invendet; DELETE FROM INVTPS; INSERT INTO INVTPS SELECT * "
                         "FROM pristine_invtps;",
                         nullptr, nullptr, &error) != SQLITE_OK)
            fail(std::string("reset: ") + (error ? error : ""));
        for (const auto& entry : fs::directory_iterator(archive())) fs::remove(entry.path());
        std::ofstream(capture(), std::ios::binary | std::ios::trunc)
            .write(input.data(), static_cast<std::streamsize>(input.size()));
    }

    // Runs the import as its start button does, answering its boxes; whether it completed.
    Response import(bool importTheRest) {
        scheduler_.start("KnjizenjeINVASCI", [] { return runCaptureImport("KnjizenjeINVASCI"); });
        for (;;) {
            require(scheduler_.runUntilIdle(), "the import never waits and never ends");
            const MessageBoxRequest* box = frontEnd_.openMessageBox();
            if (box == nullptr) break;
            MessageButtons button = box->defaultButton;
            if (box->buttons == (kButtonYes | kButtonNo)) button = importTheRest ? kButtonYes : kButtonNo;
            std::string refusal;
            require(frontEnd_.answer(button, refusal), refusal);
        }
        require(scheduler_.liveCount() == 0, "the import waits with no box open");
        const std::vector<ProcedureEnd> ended = scheduler_.takeEnded();
        require(ended.size() == 1 && !ended.front().failed,
                ended.empty() ? "the import did not end" : ended.front().failure);
        return ended.front().response;
    }

    void checkUnchanged(std::string_view input) {
        require(rows(db(), kTemplateRows) == templateRows_, "a refused import changed the template");
        require(rows(db(), kArchiveRows) == archiveRows_, "a refused import changed the archive");
        require(fs::exists(capture()) && fileBytes(capture()) == input,
                "a refused import changed the capture file");
        require(fs::is_empty(archive()), "a refused import wrote an archive copy");
    }

    void checkImported(std::string_view input, const std::vector<PostedLine>& posted) {
        require(!fs::exists(capture()), "an imported capture file is still there");
        std::vector<fs::path> copies;
        for (const auto& entry : fs::directory_iterator(archive())) copies.push_back(entry.path());
        require(copies.size() == 1, "not one archive copy");
        require(fileBytes(copies.front()) == input, "the archive copy is not the input");
        const std::string added = rows(
            db(), "SELECT KOLICINA, JENIVARTIKLIH FROM INVTPS WHERE ZAPIS > " +
                      std::to_string(archived_) + " ORDER BY ZAPIS");
        std::istringstream records(added);
        Int128 grown = 0;
        std::size_t count = 0;
        for (std::string record; std::getline(records, record); ++count) {
            require(count < posted.size(), "more archive records than lines posted");
            const std::size_t bar = record.find('|');
            require(std::stoll(record.substr(0, bar)) == posted[count].hundredths,
                    "an archive record does not hold its line's quantity: " + record);
            if (record.substr(bar + 1) == "1") grown += posted[count].thousandths;
        }
        require(count == posted.size(), "fewer archive records than lines posted");
        require(number(db(), kCounted) - counted_ == grown,
                "the counts grew by other than the known lines' quantities");
    }

    fs::path capture() const { return directory_ / "INVASCII.txt"; }
    fs::path archive() const { return directory_ / "arhiv"; }
    const fs::path& directory() const { return directory_; }

  private:
    sqlite3* db() { return tables_->sqliteDatabase()->handle(); }

    template <typename Fill>
    void add(const char* table, Fill fill) {
        FileManager& file = tables_->file(table);
        require(file.Open() == kLevelBenign && file.UseFile() == kLevelBenign, table);
        clearRecord(file.table(), file.buffer());
        fill();
        require(file.driver()->add() == DriverCode::Ok, file.driver()->lastError().text);
        file.Close();
    }

    void line(int stocktake, const char* ean, std::int64_t counted, int entered) {
        add("INVENDET", [&] {
            INVENDET.StevInventure = static_cast<std::uint16_t>(stocktake);
            INVENDET.Enota = 1;
            INVENDET.VrstaProdaje = "M";
            INVENDET.EAN = ean;
            INVENDET.Naziv = std::string("Izdelek ") + ean;
            INVENDET.RacZaloga.setUnits(4000);
            INVENDET.PopisanaZaloga.setUnits(counted);
            INVENDET.NarejenVnos = static_cast<std::uint16_t>(entered);
        });
    }

    // A line not counted yet holds 0, so that the import's first quantity for it is growth.
    void fill() {
        for (const char* ean : {"3830000000017", "3830000000024", "383000000003", "3830000000048"})
            add("ARTIKLI", [&] {
                ARTIKLI.EAN = ean;
                ARTIKLI.KRATEKNAZIV = std::string("Izdelek ") + ean;
            });
        add("INVENTUR", [] {
            INVENTUR.StevInventure = 1;
            INVENTUR.Enota = 1;
            INVENTUR.VRSTAPRODAJE = "M";
        });
        line(1, "3830000000017", 5000, 1);
        line(1, "3830000000024", 0, 0);
        line(1, "383000000003", 2500, 1);
        line(2, "3830000000017", 7000, 1);
        add("INVTPS", [] {
            INVTPS.Zapis = 1;
            INVTPS.STEVINVENTURE = 1;
            INVTPS.ENOTA = 1;
            INVTPS.VRSTAPRODAJE = "M";
            INVTPS.EANKODA = "3830000000017";
            INVTPS.KOLICINA.setUnits(500);
            INVTPS.USPESNOKNJIZENJE = 1;
            INVTPS.JENIVARTIKLIH = 1;
        });
    }

    fs::path directory_;
    SettingsManager settings_;
    ErrorReporter errors_;
    std::unique_ptr<TableAccess> tables_;
    ProcedureScheduler scheduler_;
    HeadlessFrontEnd frontEnd_{scheduler_};
    std::string templateRows_;
    std::string archiveRows_;
    std::int64_t counted_ = 0;
    std::int64_t archived_ = 0;
};

Company* g_company = nullptr;

// The lines the import posts, read from the capture file as the program reads it; false when
// the file cannot be read as a table at all.
bool postedLines(const fs::path& file, std::vector<PostedLine>& posted) {
    TextFileTable table(*findTable("INVASCI"), file, parseTextFileOptions(kCaptureFileOptions));
    if (table.open(AccessMode::ReadOnly) != DriverCode::Ok) return false;
    bool read = table.setToStart(kFileOrder) == DriverCode::Ok;
    DriverCode code = DriverCode::Ok;
    while (read && (code = table.next()) == DriverCode::Ok) {
        if (!isCaptureCode(INVASCI.EANKODA.raw())) continue;
        if (const auto quantity = captureQuantity(INVASCI.KOLICINA.str()))
            posted.push_back({quantity->unitsAt(3), quantity->unitsAt(2)});
    }
    table.close();
    return read;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    installCatalogue(&programCatalogue());
    g_company = new Company;
    std::atexit([] { fs::remove_all(g_company->directory()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::asText(data, size);
    Company& company = *g_company;
    company.reset(input);
    std::vector<PostedLine> posted;
    const bool readable = postedLines(company.capture(), posted);
    const bool importTheRest = std::hash<std::string_view>{}(input) % 2 == 0;
    const Response response = company.import(importTheRest);
    if (response == RespCompleted) {
        require(readable, "a capture file that cannot be read was imported");
        company.checkImported(input, posted);
    } else {
        company.checkUnchanged(input);
    }
    return 0;
}
