#include "storage/DatabaseCopy.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "data/Dictionary.h"
#include "data/ProgramDirectory.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"
#include "storage/PostgresDatabase.h"
#include "storage/TableDrivers.h"
#include "storage/TableRegistry.h"
#include "storage/TableSql.h"

namespace dv {
namespace fs = std::filesystem;
namespace {

// Rows go to the server many to a statement, a round trip per batch rather than per row, within
// the parameters one statement may take (65535 on PostgreSQL).
constexpr std::size_t kMostParameters = 30000;
constexpr std::size_t kMostBatchRows = 500;

// Ends the copy with what the user is told.
struct CopyStop {
    CopyResult result;
    std::string message;
};

[[noreturn]] void stop(CopyResult result, std::string message) {
    throw CopyStop{result, std::move(message)};
}

// A text of the storage layer as the end of a sentence of ours.
std::string reason(const DriverError& error) {
    std::string text = error.text;
    while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
    return text;
}

// One table as the source holds it.
struct SourceTable {
    std::string name;
    fs::path directory;
    bool company = false;  // a company table of the parent directory
    std::unique_ptr<TableSchema> layout;
    std::optional<TableSql> sql;  // in the source's schema
    std::int64_t rows = 0;
};

// Finds the table of `file` in the source; false when the source does not hold it.
bool locate(SqlConnection& source, const TableFile& file, SourceTable& table) {
    const TableDef* definition = findTable(file.table);
    if (definition == nullptr || isTextFileTable(*definition)) return false;
    table.name = std::string(definition->name);
    table.directory = fs::path(hostPath(tableFileName(file.table))).parent_path();
    table.company = file.builtInName.starts_with("..");
    std::string schema;
    DriverError error;
    DriverCode code = source.schemaFor(table.directory, false, schema, error);
    if (code == DriverCode::FileNotFound) return false;
    if (code != DriverCode::Ok)
        stop(CopyResult::Failed, "Podatkov v imeniku " + table.directory.string() +
                                     " ni mogoče odpreti: " + reason(error) + ".");
    table.layout = std::make_unique<TableSchema>(*definition);
    table.sql.emplace(*table.layout, schema, source.dialect());
    code = checkTableStructure(source, *table.sql, false, error);
    if (code == DriverCode::FileNotFound) return false;
    // The keys of the source are never read: the server builds its own.
    if (code != DriverCode::Ok && code != DriverCode::KeyInvalid)
        stop(CopyResult::Failed,
             "Tabele " + table.name + " ni mogoče prebrati: " + reason(error) + ".");
    return true;
}

std::vector<SourceTable> locateSource(SqlConnection& source) {
    std::vector<SourceTable> tables;
    for (const TableFile& file : tableFiles()) {
        SourceTable table;
        if (locate(source, file, table)) tables.push_back(std::move(table));
    }
    return tables;
}

void countRows(SqlConnection& source, SourceTable& table) {
    const std::string action = "count the records of " + table.name;
    DriverError error;
    SqlStatement* count = source.statement(table.sql->count(), action, error);
    if (count != nullptr) {
        StatementUse use(*count);
        if (count->step() == StepResult::Row) {
            table.rows = count->integer(0);
            return;
        }
        error = count->failure(action);
    }
    stop(CopyResult::Failed,
         "Tabele " + table.name + " ni mogoče prebrati: " + reason(error) + ".");
}

void refuseWithoutData(const std::vector<SourceTable>& tables, const fs::path& directory) {
    for (const SourceTable& table : tables)
        if (!table.company && table.rows > 0) return;
    stop(CopyResult::Refused, "V imeniku " + directory.string() +
                                  " ni podatkov programa: nobena njegova tabela nima vrstic. "
                                  "Kopirati ni česa; nič ni bilo spremenjeno.");
}

// The source's read snapshot for as long as the copy reads: every table as of one moment.
class SourceSnapshot {
  public:
    explicit SourceSnapshot(SqlConnection& source) : source_(source), number_(source.beginRead()) {}
    ~SourceSnapshot() { source_.endRead(number_); }
    SourceSnapshot(const SourceSnapshot&) = delete;
    SourceSnapshot& operator=(const SourceSnapshot&) = delete;

  private:
    SqlConnection& source_;
    std::uint64_t number_;
};

std::string selectAll(const TableSql& sql) {
    std::string text = "SELECT \"_ROW\",\"_VERSION\"";
    for (const Column& column : sql.layout().columns()) text += "," + sql.name(column.name);
    return text + " FROM " + sql.qualifiedName() + " ORDER BY \"_ROW\"";
}

// An insert of `rows` rows, each its row id, its version and its columns.
std::string insertRows(const TableSql& sql, std::size_t rows) {
    const std::vector<Column>& columns = sql.layout().columns();
    std::string text = "INSERT INTO " + sql.qualifiedName() + " (\"_ROW\",\"_VERSION\"";
    for (const Column& column : columns) text += "," + sql.name(column.name);
    text += ") VALUES ";
    int parameter = 1;
    for (std::size_t row = 0; row < rows; ++row) {
        text += row == 0 ? "(" : ",(";
        for (std::size_t c = 0; c < columns.size() + 2; ++c)
            text += (c == 0 ? "" : ",") + sql.dialect().placeholder(parameter++);
        text += ")";
    }
    return text;
}

// The copy on the server: one transaction, table after table.
class ServerCopy {
  public:
    ServerCopy(SqlConnection& source, PostgresDatabase& target, const CopyProgress& progress)
        : source_(source), target_(target), progress_(progress) {}

    std::vector<CopiedTable> run(const std::vector<SourceTable>& tables);

  private:
    [[noreturn]] void failed(const DriverError& error);
    void check(DriverCode code, const DriverError& error) {
        if (code != DriverCode::Ok) failed(error);
    }
    SqlStatement& statement(SqlConnection& db, const std::string& sql, std::string_view action);
    std::optional<std::string> firstText(const std::string& sql, std::string_view action,
                                         std::initializer_list<std::string_view> parameters = {});
    void refuseData();
    void makeSchemas(const std::vector<SourceTable>& tables);
    CopiedTable copyTable(const SourceTable& table);
    std::int64_t copyRows(const SourceTable& table, const TableSql& to);
    void insert(const TableSql& to, std::vector<KeyValue>& values, std::size_t width,
                SqlStatement*& full, std::size_t batch);
    void continueRowIds(const TableSql& to);
    std::string serverText(std::string_view text, std::int64_t row, const Column& column);

    SqlConnection& source_;
    PostgresDatabase& target_;
    const CopyProgress& progress_;
    std::map<fs::path, std::string> schemas_;  // directory -> schema on the server
    std::string current_;                      // the table being copied
};

void ServerCopy::failed(const DriverError& error) {
    std::string text = "Kopiranje na strežnik ni uspelo";
    if (!current_.empty()) text += " pri tabeli " + current_;
    text += ": " + reason(error) +
            ". Vse je bilo preklicano: v zbirki podatkov na strežniku ni ostalo nič od kopiranja.";
    stop(CopyResult::Failed, text);
}

SqlStatement& ServerCopy::statement(SqlConnection& db, const std::string& sql,
                                    std::string_view action) {
    DriverError error;
    SqlStatement* prepared = db.statement(sql, action, error);
    if (prepared == nullptr) failed(error);
    return *prepared;
}

std::optional<std::string> ServerCopy::firstText(
    const std::string& sql, std::string_view action,
    std::initializer_list<std::string_view> parameters) {
    SqlStatement& query = statement(target_, sql, action);
    StatementUse use(query);
    int index = 1;
    for (const std::string_view parameter : parameters) query.bind(index++, parameter);
    const StepResult result = query.step();
    if (result == StepResult::Failed) {
        const DriverError error = query.failure(action);
        target_.noteFailure(error);
        failed(error);
    }
    if (result == StepResult::Done) return std::nullopt;
    return std::string(query.text(0));
}

// The server holds data when it records a data directory or holds a schema named as the
// program names them (one left behind would be taken for the new directory's). The registry is
// locked first, so that no program registers a directory while the copy runs.
void ServerCopy::refuseData() {
    DriverError error;
    check(target_.execute("LOCK TABLE public.\"_SCHEMAS\" IN EXCLUSIVE MODE",
                          "lock the list of data directories", error),
          error);
    const std::string rest =
        ". Kopirati je mogoče samo v prazno zbirko podatkov; nič ni bilo spremenjeno.";
    if (const auto directory =
            firstText("SELECT \"DIRECTORY\" FROM public.\"_SCHEMAS\" ORDER BY \"SCHEMA\" LIMIT 1",
                      "read the list of data directories"))
        stop(CopyResult::Refused,
             "Zbirka podatkov na strežniku ni prazna: v njej so že podatki imenika " +
                 *directory + rest);
    if (const auto schema = firstText(
            "SELECT nspname FROM pg_namespace WHERE nspname ~ '^d[0-9]+$' ORDER BY nspname LIMIT 1",
            "read the list of schemas"))
        stop(CopyResult::Refused,
             "Zbirka podatkov na strežniku ni prazna: v njej je že shema " + *schema + rest);
}

void ServerCopy::makeSchemas(const std::vector<SourceTable>& tables) {
    for (const SourceTable& table : tables) {
        if (schemas_.contains(table.directory)) continue;
        std::string schema;
        DriverError error;
        check(target_.schemaFor(table.directory, true, schema, error), error);
        schemas_.emplace(table.directory, schema);
    }
}

std::vector<CopiedTable> ServerCopy::run(const std::vector<SourceTable>& tables) {
    DriverError error;
    check(target_.begin(error), error);
    try {
        refuseData();
        makeSchemas(tables);
        std::vector<CopiedTable> copied;
        for (const SourceTable& table : tables) copied.push_back(copyTable(table));
        current_.clear();
        check(target_.commit(error), error);
        // The server plans the statements of the stations by what it knows of the tables.
        DriverError ignored;
        (void)target_.execute("ANALYZE", "learn the copied tables", ignored);
        return copied;
    } catch (const CopyStop&) {
        // A failed commit has ended the transaction by itself.
        DriverError ignored;
        if (target_.transactionDepth() > 0) (void)target_.rollback(ignored);
        throw;
    }
}

// The table is made as the engine makes a new one; its keys are built once its rows are in.
CopiedTable ServerCopy::copyTable(const SourceTable& table) {
    current_ = table.name;
    const TableSql to(*table.layout, schemas_.at(table.directory), target_.dialect());
    DriverError error;
    check(createTableStructure(target_, to, error), error);
    check(dropTableKeys(target_, to, error), error);
    const CopiedTable copied{table.name, copyRows(table, to)};
    check(buildTableKeys(target_, to, error), error);
    continueRowIds(to);
    if (progress_) progress_(copied);
    return copied;
}

std::int64_t ServerCopy::copyRows(const SourceTable& table, const TableSql& to) {
    const std::vector<Column>& columns = table.layout->columns();
    const std::size_t width = columns.size() + 2;
    const std::size_t batch = std::clamp<std::size_t>(kMostParameters / width, 1, kMostBatchRows);
    const std::string action = "read the table " + table.name;
    SqlStatement& read = statement(source_, selectAll(*table.sql), action);
    StatementUse use(read);
    std::vector<KeyValue> values;
    values.reserve(batch * width);
    SqlStatement* full = nullptr;
    std::int64_t rows = 0;
    StepResult result;
    while ((result = read.step()) == StepResult::Row) {
        values.emplace_back(read.integer(0));
        values.emplace_back(read.integer(1));
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int at = static_cast<int>(c + 2);
            if (columns[c].kind == ColumnKind::Text)
                values.emplace_back(serverText(read.text(at), read.integer(0), columns[c]));
            else
                values.emplace_back(read.integer(at));
        }
        ++rows;
        if (values.size() == batch * width) insert(to, values, width, full, batch);
    }
    if (result == StepResult::Failed) failed(read.failure(action));
    if (!values.empty()) insert(to, values, width, full, batch);
    return rows;
}

// Sends the rows held in `values` and clears them. The statement for a whole batch is kept in
// `full`; the last, shorter batch of a table has one of its own.
void ServerCopy::insert(const TableSql& to, std::vector<KeyValue>& values, std::size_t width,
                        SqlStatement*& full, std::size_t batch) {
    const std::size_t rows = values.size() / width;
    const std::string action = "copy the records of " + current_;
    SqlStatement* insert = rows == batch ? full : nullptr;
    if (insert == nullptr) insert = &statement(target_, insertRows(to, rows), action);
    if (rows == batch) full = insert;
    StatementUse use(*insert);
    for (std::size_t v = 0; v < values.size(); ++v) insert->bind(static_cast<int>(v + 1), values[v]);
    if (insert->step() != StepResult::Done) {
        const DriverError error = insert->failure(action);
        target_.noteFailure(error);
        failed(error);
    }
    values.clear();
}

// A text as the server takes it. It holds no zero byte (the server's texts cannot, and the
// parameter would end at it, cutting the text short unnoticed): one that does stops the copy.
std::string ServerCopy::serverText(std::string_view text, std::int64_t row, const Column& column) {
    if (text.find('\0') != std::string_view::npos)
        failed(DriverError{DriverCode::DriverError, 0,
                           "stolpec " + column.name + " zapisa " + std::to_string(row) +
                               " vsebuje ničelni bajt, ki ga strežnik ne more shraniti"});
    return std::string(text);
}

// The next row the engine adds gets the id after the highest copied.
void ServerCopy::continueRowIds(const TableSql& to) {
    if (!firstText("SELECT setval(pg_get_serial_sequence($1, '_ROW'), coalesce(max(\"_ROW\"), 0) "
                   "+ 1, false) FROM " +
                       to.qualifiedName(),
                   "number the records of " + current_, {to.qualifiedName()}))
        failed(DriverError{DriverCode::DriverError, 0, "the row ids could not be continued"});
}

}  // namespace

std::int64_t CopyOutcome::totalRows() const {
    std::int64_t total = 0;
    for (const CopiedTable& table : tables) total += table.rows;
    return total;
}

CopyOutcome copyToServer(SqlConnection& source, const fs::path& programDirectory,
                         PostgresDatabase& target, const CopyProgress& progress) {
    CopyOutcome outcome;
    try {
        std::vector<SourceTable> tables = locateSource(source);
        const SourceSnapshot snapshot(source);
        for (SourceTable& table : tables) countRows(source, table);
        refuseWithoutData(tables, programDirectory);
        if (!target.startError().empty()) stop(CopyResult::Failed, target.startError());
        ServerCopy copy(source, target, progress);
        outcome.tables = copy.run(tables);
        outcome.result = CopyResult::Copied;
    } catch (const CopyStop& stopped) {
        outcome.result = stopped.result;
        outcome.message = stopped.message;
    }
    return outcome;
}

}  // namespace dv
