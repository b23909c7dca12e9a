// Speed of a browse list over the stocktake lines (INVENDET, 1,000,000 lines) against raw SQLite
// doing the equivalent query on the same connection in the same run: the first page of the list
// by name, paging down, an incremental locate by name, and a filter on the primary key's leading
// components that keeps 100 lines.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"
#include "framework/BrowseList.h"
#include "runtime/TextCase.h"
#include "runtime/WindowDesktop.h"
#include "schema/ProgramCatalogue.h"
#include "schema/Records.h"
#include "storage/SqliteTable.h"
#include "storage/SqliteDatabase.h"
#include "storage/TableAccess.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRows = 1000000;
constexpr int kSelected = 100;  // lines of stocktake 2
constexpr int kPage = 20;
constexpr int kNameKey = 2;     // STEVNAZIVKLJUC
constexpr int kPrimaryKey = 0;  // STEVSIFRAKLJUC

void check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what);
}

// A name of two invented words, from a generator that gives the same names every run.
std::string inventedName(std::uint64_t& seed) {
    std::string name;
    for (int word = 0; word < 2; ++word) {
        if (word > 0) name += ' ';
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        const int length = 4 + static_cast<int>((seed >> 33) % 6);
        for (int c = 0; c < length; ++c) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            const char letter = static_cast<char>('a' + (seed >> 33) % 26);
            name += c == 0 && word == 0 ? static_cast<char>(letter - 'a' + 'A') : letter;
        }
    }
    return name;
}

// The tables in a temporary data directory, with 1,000,000 lines added once in one transaction
// through a prepared insert on the engine's own connection.
class Database {
  public:
    Database() {
        std::string pattern = (fs::temp_directory_path() / "dv-bench-browse-XXXXXX").string();
        check(::mkdtemp(pattern.data()) != nullptr, "mkdtemp failed");
        directory_ = pattern;
        fs::create_directories(directory_ / "data");
        for (const dv::TableFile& table : dv::tableFiles())
            dv::setTableFileName(table.table, (directory_ / "data" /
                                               std::string(dv::lowerSlovenian(table.builtInName)))
                                                  .string());
        dv::clearAllRecordBuffers();
        access_ = std::make_unique<dv::TableAccess>();
        check(lines().Open() == dv::kLevelBenign && lines().UseFile() == dv::kLevelBenign,
              "open INVENDET");
        fill();
    }
    ~Database() {
        lines().Close();
        access_.reset();
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }

    dv::FileManager& lines() { return access_->file("INVENDET"); }
    sqlite3* handle() { return access_->sqliteDatabase()->handle(); }
    std::string table() { return sql().qualifiedName(); }
    const dv::TableSql& sql() {
        auto* driver = dynamic_cast<dv::SqliteTable*>(lines().driver());
        check(driver != nullptr && driver->sql() != nullptr, "INVENDET is not a database table");
        return *driver->sql();
    }

    sqlite3_stmt* prepare(const std::string& text) {
        sqlite3_stmt* statement = nullptr;
        check(sqlite3_prepare_v2(handle(), text.c_str(), -1, &statement, nullptr) == SQLITE_OK,
              sqlite3_errmsg(handle()));
        return statement;
    }

  private:
    void exec(const std::string& text) {
        check(sqlite3_exec(handle(), text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK,
              text + ": " + sqlite3_errmsg(handle()));
    }

    // The lines are written without a journal and with a large cache (a fresh database that no
    // one else reads); the database goes back to the engine's write-ahead log afterwards.
    void fill() {
        const std::string schema = sql().schema();
        exec("PRAGMA " + schema + ".journal_mode=OFF");
        exec("PRAGMA " + schema + ".cache_size=-262144");
        // The keys are built after the lines, by sorting, as the engine itself made them.
        const dv::TableSql& keysSql = sql();
        const int keys = static_cast<int>(lines().table().keys.size());
        for (int key = 0; key < keys; ++key)
            exec("DROP INDEX " + schema + "." + dv::sqlName(keysSql.indexName(key)));
        sqlite3_stmt* insert = prepare(
            "INSERT INTO " + table() +
            " (STEVINVENTURE,ENOTA,VRSTAPRODAJE,EAN,SKUPINA,NAZIV) VALUES (?1,1,'M',?2,?3,?4)");
        exec("BEGIN");
        std::uint64_t seed = 42;
        for (int i = 0; i < kRows; ++i) {
            const int stocktake = i < kRows - kSelected ? 1 : 2;
            const std::string ean = std::to_string(3830000000000LL + (i * 7919LL) % kRows);
            const std::string name = inventedName(seed);
            sqlite3_bind_int(insert, 1, stocktake);
            sqlite3_bind_text(insert, 2, ean.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 3, i % 50);
            sqlite3_bind_text(insert, 4, name.c_str(), -1, SQLITE_TRANSIENT);
            check(sqlite3_step(insert) == SQLITE_DONE, sqlite3_errmsg(handle()));
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        for (int key = 0; key < keys; ++key) exec(keysSql.createIndex(key));
        exec("COMMIT");
        exec("PRAGMA " + schema + ".cache_size=-32768");
        exec("PRAGMA " + schema + ".journal_mode=WAL");
    }

    fs::path directory_;
    std::unique_ptr<dv::TableAccess> access_;
};

Database& database() {
    static Database made;
    return made;
}

const dv::WindowLayout& listLayout() {
    static const dv::WindowLayout layout = dv::parseLayout(R"(window Pregled "Pregled popisa"
  list ?Seznam paged
    column "EAN"
    column "Naziv"
    column "Skupina" picture=@n3
  string ?Lokator
)",
                                                           "Pregled.layout");
    return layout;
}

class Host : public dv::BrowseHost {
  public:
    Host() : window_(listLayout(), desktop_) {}
    dv::Window& window() override { return window_; }
    dv::Request request() const override { return dv::Request::None; }
    void finish(dv::Response) override {}
    dv::Response response() const override { return dv::RespCancelled; }

  private:
    dv::WindowDesktop desktop_;
    dv::Window window_;
};

// The list of stocktake 1 by name (with its incremental locator), or of every line by the
// primary key narrowed by a filter.
class List {
  public:
    explicit List(bool filtered) : view_(database().lines()) {
        check(view_.Open() == dv::kLevelBenign, "open the view");
        list_.SetUp(host_, view_, "Seznam");
        if (filtered) {
            list_.DefineOrder(kPrimaryKey);
            list_.PutFilter("INVENDET:StevInventure = 2 AND INVENDET:Enota = 1", "selective");
        } else {
            list_.DefineOrder(kNameKey);
            list_.LimitOrder(dv::LimitType::SingleValue,
                             {{0, dv::fixedValue(dv::ExpressionValue::number(1)), {}},
                              {1, dv::fixedValue(dv::ExpressionValue::number(1)), {}},
                              {2, dv::fixedValue(dv::ExpressionValue::text("M")), {}}});
            list_.AttachLocator(dv::LocatorKind::Incremental, "Lokator");
        }
        const dv::TableDef& table = database().lines().table();
        list_.MapColumn(table, 3, 1);
        list_.MapColumn(table, 5, 2);
        list_.MapColumn(table, 4, 3);
        list_.options().itemsToFill = kPage;
        list_.Init();
    }
    ~List() { view_.Close(); }
    dv::BrowseList& list() { return list_; }
    int rows() { return host_.window().control("Seznam").rowCount(); }

  private:
    Host host_;
    dv::ViewManager view_;
    dv::BrowseList list_;
};

// The columns of a line as a raw query selects them: the row, its version and every field, as
// the list needs whole records (to give them to a form or to a caller that selects one).
constexpr const char* kRawColumns =
    "_ROW,_VERSION,STEVINVENTURE,ENOTA,VRSTAPRODAJE,EAN,SKUPINA,NAZIV,RACZALOGA,POPISANAZALOGA,"
    "VPCENA,MPCENA,NABCENA,NAREJENVNOS";
constexpr int kRawColumnCount = 14;

// What a reader of the raw query does with a row: takes every column out of SQLite.
struct RawRow {
    std::int64_t numbers[kRawColumnCount];
    std::string kind;
    std::string ean;
    std::string name;
};

int readRows(sqlite3_stmt* statement, RawRow& last) {
    int rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < kRawColumnCount; ++c) {
            const auto text = [&] {
                return std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                                   static_cast<std::size_t>(sqlite3_column_bytes(statement, c)));
            };
            if (c == 4)
                last.kind = text();
            else if (c == 5)
                last.ean = text();
            else if (c == 7)
                last.name = text();
            else
                last.numbers[c] = sqlite3_column_int64(statement, c);
        }
        ++rows;
    }
    sqlite3_reset(statement);
    return rows;
}

const char* const kByName =
    " ORDER BY STEVINVENTURE,ENOTA,VRSTAPRODAJE COLLATE SL_NOCASE,NAZIV COLLATE SL_NOCASE,_ROW"
    " LIMIT 20";

std::string rawSelect(const std::string& where) {
    return std::string("SELECT ") + kRawColumns + " FROM " + database().table() + " WHERE " + where;
}

const std::string kStocktakeOne =
    "STEVINVENTURE=1 AND ENOTA=1 AND VRSTAPRODAJE COLLATE SL_NOCASE='M'";

// Prefixes typed into the locator, spread over the names.
std::vector<std::string> prefixes() {
    std::vector<std::string> typed;
    for (char first = 'A'; first <= 'Z'; first += 3)
        for (char second = 'a'; second <= 'z'; second += 5) typed.push_back({first, second});
    return typed;
}

// ---- the first page by name

void firstPageEngine(benchmark::State& state) {
    List list(false);
    for (auto _ : state) {
        list.list().Refresh(dv::RefreshMode::Top);
        check(list.rows() == kPage, "a full first page");
    }
}

void firstPageRaw(benchmark::State& state) {
    sqlite3_stmt* first = database().prepare(rawSelect(kStocktakeOne) + kByName);
    RawRow row;
    for (auto _ : state) check(readRows(first, row) == kPage, "a full first page");
    sqlite3_finalize(first);
}

// ---- paging down by name

void pageDownEngine(benchmark::State& state) {
    List list(false);
    for (auto _ : state) {
        list.list().OnScroll(dv::EventKind::PageDown);
        if (list.list().page().atBottom()) list.list().Refresh(dv::RefreshMode::Top);
    }
}

void pageDownRaw(benchmark::State& state) {
    sqlite3_stmt* first = database().prepare(rawSelect(kStocktakeOne) + kByName);
    // The rows after the last one shown: the rest of its name after its row, then the names
    // after it.
    sqlite3_stmt* sameName = database().prepare(
        rawSelect(kStocktakeOne + " AND NAZIV COLLATE SL_NOCASE=?1 AND _ROW>?2") + kByName);
    sqlite3_stmt* later =
        database().prepare(rawSelect(kStocktakeOne + " AND NAZIV COLLATE SL_NOCASE>?1") + kByName);
    RawRow row;
    readRows(first, row);
    for (auto _ : state) {
        const std::string after = row.name;
        const std::int64_t afterRow = row.numbers[0];
        sqlite3_bind_text(sameName, 1, after.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(sameName, 2, afterRow);
        int rows = readRows(sameName, row);
        sqlite3_bind_text(later, 1, after.c_str(), -1, SQLITE_TRANSIENT);
        rows += readRows(later, row);
        if (rows < kPage) readRows(first, row);
    }
    sqlite3_finalize(sameName);
    sqlite3_finalize(later);
    sqlite3_finalize(first);
}

// ---- an incremental locate by name

void locateEngine(benchmark::State& state) {
    List list(false);
    const std::vector<std::string> typed = prefixes();
    std::size_t at = 0;
    for (auto _ : state) {
        list.list().LocateOn(typed[at++ % typed.size()]);
        check(list.rows() == kPage, "a full page at the located name");
    }
}

void locateRaw(benchmark::State& state) {
    sqlite3_stmt* locate = database().prepare(
        rawSelect(kStocktakeOne + " AND NAZIV COLLATE SL_NOCASE >= ?1") + kByName);
    const std::vector<std::string> typed = prefixes();
    std::size_t at = 0;
    RawRow row;
    for (auto _ : state) {
        const std::string upper = dv::upperSlovenian(typed[at++ % typed.size()]);
        sqlite3_bind_text(locate, 1, upper.c_str(), -1, SQLITE_TRANSIENT);
        check(readRows(locate, row) == kPage, "a full page at the located name");
    }
    sqlite3_finalize(locate);
}

// ---- a filter that keeps 100 lines, first page

void filterEngine(benchmark::State& state) {
    List list(true);
    for (auto _ : state) {
        list.list().Refresh(dv::RefreshMode::Top);
        check(list.rows() == kPage, "a full first page of the filtered lines");
    }
}

void filterRaw(benchmark::State& state) {
    sqlite3_stmt* filtered =
        database().prepare(rawSelect("STEVINVENTURE=?1 AND ENOTA=?2") +
                           " ORDER BY STEVINVENTURE,ENOTA,VRSTAPRODAJE,EAN,_ROW LIMIT 20");
    RawRow row;
    for (auto _ : state) {
        sqlite3_bind_int(filtered, 1, 2);
        sqlite3_bind_int(filtered, 2, 1);
        check(readRows(filtered, row) == kPage, "a full first page of the filtered lines");
    }
    sqlite3_finalize(filtered);
}

}  // namespace

int main(int argc, char** argv) {
    dv::installCatalogue(&dv::programCatalogue());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    database();
    benchmark::RegisterBenchmark("BM_FirstPage/engine", firstPageEngine);
    benchmark::RegisterBenchmark("BM_FirstPage/raw", firstPageRaw);
    benchmark::RegisterBenchmark("BM_PageDown/engine", pageDownEngine);
    benchmark::RegisterBenchmark("BM_PageDown/raw", pageDownRaw);
    benchmark::RegisterBenchmark("BM_Locate/engine", locateEngine);
    benchmark::RegisterBenchmark("BM_Locate/raw", locateRaw);
    benchmark::RegisterBenchmark("BM_FilterSelective/engine", filterEngine);
    benchmark::RegisterBenchmark("BM_FilterSelective/raw", filterRaw);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
