#include "storage/PostgresDatabase.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>
#include <utility>

#include "storage/SqlRecordColumns.h"
#include "storage/TableRegistry.h"
#include "storage/TableSql.h"

namespace dv {
namespace fs = std::filesystem;

namespace {

// The collation of the noCase keys: ICU's Slovenian rules at secondary strength (case and
// nothing else ignored), so equal names differ neither in the order nor for a unique key.
constexpr const char* kCollation = "public.\"sl_nocase\"";

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// A text of our own (never a user's) as an SQL literal.
std::string literal(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') quoted += '\'';
        quoted += c;
    }
    return quoted + "'";
}

// The station's name as the server shows it among the sessions ("application_name", at most 63
// bytes of printable ASCII): "DV|name|work", the name's other bytes and "%" and "|" escaped
// as %XX, so that the other stations read back what was written.
constexpr std::size_t kApplicationNameBytes = 63;

std::string escapedStation(std::string_view station) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : station) {
        const auto byte = static_cast<unsigned char>(c);
        std::string piece(1, c);
        if (byte < 0x20 || byte > 0x7E || c == '%' || c == '|')
            piece = std::string{'%', kHex[byte >> 4], kHex[byte & 0x0F]};
        if (escaped.size() + piece.size() > kApplicationNameBytes - 6) break;
        escaped += piece;
    }
    return escaped;
}

std::string unescapedStation(std::string_view escaped) {
    std::string station;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        unsigned value = 0;
        if (escaped[i] == '%' && i + 2 < escaped.size() &&
            std::from_chars(escaped.data() + i + 1, escaped.data() + i + 3, value, 16).ptr ==
                escaped.data() + i + 3) {
            station += static_cast<char>(value);
            i += 2;
        } else {
            station += escaped[i];
        }
    }
    return station;
}

std::string applicationName(const std::string& station, char work) {
    return "DV|" + escapedStation(station) + "|" + std::string(1, work);
}

// The holder of a lock from its session's name; a session of another program shows its own name.
LockHolder holderOf(std::string_view name, bool exclusive) {
    LockHolder holder;
    holder.exclusive = exclusive;
    const std::size_t last = name.rfind('|');
    if (!name.starts_with("DV|") || last < 3 || last + 2 != name.size()) {
        holder.station = name.empty() ? std::string("?") : std::string(name);
        return holder;
    }
    holder.station = unescapedStation(name.substr(3, last - 3));
    holder.work = static_cast<StationWork>(name[last + 1]);
    return holder;
}

std::string computerName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "postaja";
    return name;
}

// The server's key of a lock: the program's mark, the kind and 40 bits of the id.
std::int64_t lockKey(LockName name) {
    const std::uint64_t key = (std::uint64_t{0x4456} << 48) |
                              (std::uint64_t{name.kind} << 40) | (name.id & 0xFFFFFFFFFFULL);
    return static_cast<std::int64_t>(key);
}

fs::path normalDirectory(const fs::path& directory) {
    std::error_code ignored;
    fs::path absolute = fs::absolute(directory, ignored);
    fs::path normal = fs::weakly_canonical(absolute, ignored);
    return normal.empty() ? absolute.lexically_normal() : normal;
}

// The types of parameters $1..$n of `sql`: left to the server (0) for the ones it names, text for
// the ones it leaves out (a seek that starts at the beginning binds no key values), which the
// server could not type otherwise.
std::vector<Oid> parameterTypes(std::string_view sql) {
    constexpr Oid kText = 25;
    std::vector<bool> named;
    for (std::size_t at = 0; at < sql.size(); ++at) {
        if (sql[at] != '$' || at + 1 >= sql.size() || sql[at + 1] < '0' || sql[at + 1] > '9')
            continue;
        std::size_t number = 0;
        while (at + 1 < sql.size() && sql[at + 1] >= '0' && sql[at + 1] <= '9')
            number = number * 10 + static_cast<std::size_t>(sql[++at] - '0');
        if (number == 0) continue;
        if (named.size() < number) named.resize(number, false);
        named[number - 1] = true;
    }
    std::vector<Oid> types(named.size(), 0);
    for (std::size_t p = 0; p < named.size(); ++p)
        if (!named[p]) types[p] = kText;
    return types;
}

DriverCode codeOfState(std::string_view state) {
    if (state == "23505") return DriverCode::DuplicateKey;
    if (state == "40001" || state == "40P01" || state == "55P03") return DriverCode::RecordHeld;
    if (state == "42501") return DriverCode::AccessDenied;
    return DriverCode::DriverError;
}

}  // namespace

std::string postgresConnectionMessage(PGconn* conn) {
    const std::string detail = conn != nullptr ? PQerrorMessage(conn) : "";
    std::string text;
    if (contains(detail, "authentication failed") || contains(detail, "pg_hba.conf") ||
        contains(detail, "password") || (contains(detail, "role") && contains(detail, "exist")))
        text = "Strežnik zbirke podatkov je zavrnil prijavo";
    else if (contains(detail, "database") && contains(detail, "does not exist"))
        text = "Zbirke podatkov na strežniku ni";
    else if (conn != nullptr && PQstatus(conn) == CONNECTION_OK)
        text = "Strežnik zbirke podatkov je javil napako";
    else if (contains(detail, "terminat") || contains(detail, "server closed") ||
             contains(detail, "no connection"))
        text = kConnectionLost;
    else
        text = "Strežnika zbirke podatkov ni mogoče doseči";
    std::string reason = detail;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
    return reason.empty() ? text + "." : text + " (" + reason + ").";
}

// ---- statements

PostgresStatement::PostgresStatement(PostgresDatabase& db, std::string name, std::string sql)
    : db_(db), name_(name), base_(std::move(name)), sql_(std::move(sql)) {}

PostgresStatement::~PostgresStatement() {
    reset();
    if (preparedFor_ != 0 && preparedFor_ == db_.generation() && db_.handle() != nullptr)
        PQclear(PQexec(db_.handle(), ("DEALLOCATE " + name_).c_str()));
}

PGresult* PostgresStatement::prepareAs(const std::string& name) const {
    const std::vector<Oid> types = parameterTypes(sql_);
    return PQprepare(db_.handle(), name.c_str(), sql_.c_str(), static_cast<int>(types.size()),
                     types.data());
}

bool PostgresStatement::prepare() {
    // A statement the table driver keeps runs again after the connection was made anew.
    if (!db_.recover()) {
        state_.clear();
        error_ = postgresConnectionMessage(db_.handle());
        return false;
    }
    if (preparedFor_ == db_.generation()) return true;
    PGresult* result = prepareAs(name_);
    const bool done = result != nullptr && PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!done) {
        const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : "";
        state_ = state != nullptr ? state : "";
        error_ = postgresConnectionMessage(db_.handle());
    } else {
        preparedFor_ = db_.generation();
    }
    PQclear(result);
    return done;
}

void PostgresStatement::bind(int index, std::int64_t value) {
    const auto at = static_cast<std::size_t>(index - 1);
    if (parameters_.size() <= at) parameters_.resize(at + 1);
    parameters_[at] = std::to_string(value);
}

void PostgresStatement::bind(int index, std::string_view text) {
    const auto at = static_cast<std::size_t>(index - 1);
    if (parameters_.size() <= at) parameters_.resize(at + 1);
    parameters_[at].assign(text.data(), text.size());
}

StepResult PostgresStatement::step() {
    if (result_ != nullptr) {
        if (++row_ < PQntuples(result_)) return StepResult::Row;
        return StepResult::Done;
    }
    if (!prepare()) return StepResult::Failed;
    replanWhenDue();
    values_.resize(parameters_.size());
    for (std::size_t p = 0; p < parameters_.size(); ++p) values_[p] = parameters_[p].c_str();
    result_ = PQexecPrepared(db_.handle(), name_.c_str(), static_cast<int>(values_.size()),
                             values_.data(), nullptr, nullptr, 0);
    const ExecStatusType status = result_ != nullptr ? PQresultStatus(result_) : PGRES_FATAL_ERROR;
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK) {
        changes_ = std::strtoll(PQcmdTuples(result_), nullptr, 10);
        row_ = 0;
        return PQntuples(result_) > 0 ? StepResult::Row : StepResult::Done;
    }
    const char* state = result_ != nullptr ? PQresultErrorField(result_, PG_DIAG_SQLSTATE) : "";
    state_ = state != nullptr ? state : "";
    error_ = postgresConnectionMessage(db_.handle());
    reset();
    return StepResult::Failed;
}

// After its first few runs the server plans a prepared statement once for all the runs that
// follow, with the sizes its tables have then. A table that grows from empty within the session
// (the lines of a new stocktake, the archive of an import) would keep the plan made for a nearly
// empty table, which reads every row, and each run would cost more than the one before. The
// statement is therefore prepared anew, under a new name, at runs 16, 64, 256, ...: its plan
// follows the growth, at a cost that vanishes in the number of runs. Nothing is prepared in a
// transaction the server has already failed.
void PostgresStatement::replanWhenDue() {
    if (++runs_ < replanAt_) return;
    replanAt_ *= 4;
    if (PQtransactionStatus(db_.handle()) == PQTRANS_INERROR) return;
    const std::string fresh = base_ + "_" + std::to_string(++plans_);
    PGresult* result = prepareAs(fresh);
    const bool done = result != nullptr && PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    if (!done) return;  // the statement keeps its plan; a failure shows at the run
    PQclear(PQexec(db_.handle(), ("DEALLOCATE " + name_).c_str()));
    name_ = fresh;
}

void PostgresStatement::reset() {
    if (result_ != nullptr) PQclear(result_);
    result_ = nullptr;
    row_ = -1;
}

DriverError PostgresStatement::failure(std::string_view action) const {
    const DriverCode code = codeOfState(state_);
    std::string text = "Could not ";
    text += action;
    text += ": ";
    text += code == DriverCode::DuplicateKey ? "a record with the same key values already exists "
                                             : "";
    text += error_;
    return DriverError{code, 0, std::move(text)};
}

void PostgresStatement::bindRecord(const TableSchema& layout, const void* record) {
    record_columns::bindRecord(*this, layout, record);
}

void PostgresStatement::bindColumns(const TableSchema& layout, const void* record,
                                    const std::vector<int>& columns) {
    record_columns::bindColumns(*this, layout, record, columns);
}

void PostgresStatement::readRecord(int first, const TableSchema& layout,
                                   const ColumnSelection* selection, void* record) const {
    record_columns::readRecord(*this, first, layout, selection, record);
}

// ---- the dialect

std::string PostgresDialect::placeholder(int number) const {
    return "$" + std::to_string(number);
}

std::string PostgresDialect::storedName(std::string_view name) const {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string PostgresDialect::rowIdColumn() const {
    return "\"_ROW\" BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";
}

// Codes and other texts compare byte for byte, as in the embedded database.
std::string PostgresDialect::textType() const {
    return "TEXT COLLATE \"C\"";
}

// An index lies in the schema of its table.
std::string PostgresDialect::indexTarget(const std::string& schema, const std::string& index,
                                         const std::string& table) const {
    return sqlName(index) + " ON " + (schema.empty() ? "" : sqlName(schema) + ".") +
           sqlName(table);
}

// The catalogue keeps an index in its own words; the definition the program built it from is
// kept as its comment, for the check that it is up to date.
std::string PostgresDialect::describeIndex(const std::string& schema, const std::string& index,
                                           const std::string& definition) const {
    return "COMMENT ON INDEX " + sqlName(schema) + "." + sqlName(index) + " IS " +
           literal(definition);
}

std::string PostgresDialect::noCaseCollation() const {
    return std::string(" COLLATE ") + kCollation;
}

// An insert that would break a unique key is skipped and gives no row, so that it does not
// end the transaction it runs in (the server aborts a transaction at a failed statement); the
// table reports the duplicate (SqliteTable::add).
std::string PostgresDialect::returningRow() const {
    return " ON CONFLICT DO NOTHING RETURNING \"_ROW\"";
}

std::string PostgresDialect::upsert(const std::string& table,
                                    const std::vector<std::string>& columns, bool replace) const {
    std::string sql = "INSERT INTO " + table + " VALUES (";
    for (std::size_t c = 0; c < columns.size(); ++c)
        sql += (c == 0 ? "" : ", ") + placeholder(static_cast<int>(c + 1));
    sql += ") ON CONFLICT (" + sqlName(columns.front()) + ") DO ";
    if (!replace) return sql + "NOTHING";
    sql += "UPDATE SET ";
    for (std::size_t c = 1; c < columns.size(); ++c)
        sql += (c == 1 ? "" : ", ") + sqlName(columns[c]) + " = EXCLUDED." + sqlName(columns[c]);
    return sql;
}

// The reads of a snapshot see one state of the database, as in the embedded one.
std::string PostgresDialect::beginRead() const {
    return "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY";
}

std::string PostgresDialect::tableExists(const std::string& schema) const {
    return "SELECT 1 FROM pg_tables WHERE schemaname = " + literal(schema) + " AND tablename = $1";
}

std::string PostgresDialect::indexesOf(const std::string& schema) const {
    return "SELECT indexname FROM pg_indexes WHERE schemaname = " + literal(schema) +
           " AND tablename = $1 AND indexname NOT LIKE '%_pkey'";
}

std::string PostgresDialect::indexDefinition(const std::string& schema) const {
    return "SELECT coalesce(obj_description(c.oid, 'pg_class'), '') FROM pg_class c JOIN "
           "pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = " +
           literal(schema) + " AND c.relname = $1 AND c.relkind = 'i'";
}

// Every index of the schema is rebuilt (the collation's rules changed under them), then the
// collation takes the version of the rules the server has now.
std::string PostgresDialect::reindexNoCase(const std::string& schema) const {
    return "DO $$DECLARE i regclass; BEGIN FOR i IN SELECT c.oid FROM pg_class c JOIN "
           "pg_namespace n ON n.oid = c.relnamespace WHERE c.relkind = 'i' AND n.nspname = " +
           literal(schema) +
           " LOOP EXECUTE 'REINDEX INDEX ' || i; END LOOP; "
           "ALTER COLLATION public.\"sl_nocase\" REFRESH VERSION; END$$";
}

// ---- the connection

PostgresDatabase::PostgresDatabase(std::string connection, std::string station)
    : connection_(std::move(connection)),
      station_(station.empty() ? computerName() : std::move(station)) {
    if (connect() && !prepareDatabase() && startError_.empty())
        startError_ = postgresConnectionMessage(conn_);
}

PostgresDatabase::~PostgresDatabase() {
    if (conn_ != nullptr && PQstatus(conn_) == CONNECTION_OK) abandonTransaction();
    statements_.clear();
    PQfinish(conn_);
}

bool PostgresDatabase::connect() {
    // The connection string is expanded as libpq's own, the station's name set after it.
    const std::string name = applicationName(station_, announced_);
    const char* const keywords[] = {"dbname", "application_name", nullptr};
    const char* const values[] = {connection_.c_str(), name.c_str(), nullptr};
    conn_ = PQconnectdbParams(keywords, values, 1);
    ++generation_;
    if (conn_ != nullptr && PQstatus(conn_) == CONNECTION_OK) {
        PQclear(PQexec(conn_, "SET client_min_messages = warning"));
        return true;
    }
    startError_ = postgresConnectionMessage(conn_);
    return false;
}

// The registry of schemas and the collation, made by the first program that uses the database.
// Stations that start at once on an empty database make it one after the other (the lock), and
// schemas are numbered from a sequence, never twice.
bool PostgresDatabase::prepareDatabase() {
    const std::string key = std::to_string(lockKey({kNumberingLock, lockIdOf("_SCHEMAS")}));
    const std::string setup =
        "SELECT pg_advisory_lock(" + key + ");"
        "CREATE TABLE IF NOT EXISTS public.\"_SCHEMAS\" (\"DIRECTORY\" TEXT PRIMARY KEY, "
        "\"SCHEMA\" TEXT NOT NULL UNIQUE);"
        "CREATE SEQUENCE IF NOT EXISTS public.\"_SCHEMA_NUMBERS\";"
        "SELECT setval('public.\"_SCHEMA_NUMBERS\"', n) FROM (SELECT max(substr(\"SCHEMA\", 2)::"
        "bigint) AS n FROM public.\"_SCHEMAS\" WHERE \"SCHEMA\" ~ '^d[0-9]+$') m, "
        "public.\"_SCHEMA_NUMBERS\" q WHERE n > q.last_value OR (n > 0 AND NOT q.is_called);"
        "DO $$BEGIN CREATE COLLATION IF NOT EXISTS public.\"sl_nocase\" (provider = icu, "
        "locale = 'sl-u-ks-level2', deterministic = false); END$$;"
        "SELECT pg_advisory_unlock(" + key + ")";
    if (!connected()) return false;
    PGresult* result = PQexec(conn_, setup.c_str());
    const bool done = result != nullptr && PQresultStatus(result) == PGRES_TUPLES_OK;
    PQclear(result);
    if (!done) executeQuietly(("SELECT pg_advisory_unlock(" + key + ")").c_str());
    return done;
}

bool PostgresDatabase::recover() {
    if (conn_ != nullptr && PQstatus(conn_) == CONNECTION_OK) return true;
    if (transactionDepth() > 0) return false;
    PQreset(conn_);
    ++generation_;
    return PQstatus(conn_) == CONNECTION_OK;
}

bool PostgresDatabase::connected() const {
    return conn_ != nullptr && PQstatus(conn_) == CONNECTION_OK;
}

// A transaction a failure aborted is lost (the server refuses everything in it until it ends).
bool PostgresDatabase::engineInTransaction() const {
    if (!connected()) return false;
    const PGTransactionStatusType status = PQtransactionStatus(conn_);
    return status == PQTRANS_INTRANS || status == PQTRANS_ACTIVE;
}

bool PostgresDatabase::executeQuietly(const char* sql) {
    if (!connected()) return false;
    PGresult* result = PQexec(conn_, sql);
    const bool done = result != nullptr && PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    return done;
}

std::string PostgresDatabase::rebuildKeysUnderOtherCollation() {
    if (!startError_.empty()) return "";
    std::vector<std::string> schemas;
    DriverError error;
    if (SqlStatement* list = statement(
            "SELECT s.\"SCHEMA\" FROM public.\"_SCHEMAS\" s JOIN pg_tables t ON "
            "t.schemaname = s.\"SCHEMA\" AND t.tablename = '_META' ORDER BY 1",
            "read the schemas", error)) {
        StatementUse use(*list);
        while (list->step() == StepResult::Row) schemas.emplace_back(list->text(0));
    }
    std::string before;
    for (const std::string& schema : schemas) {
        std::string builtUnder;
        // A schema that fails here is rebuilt, or the failure said, when one of its tables opens.
        const DriverCode code =
            dv::rebuildKeysUnderOtherCollation(*this, schema, builtUnder, error);
        if (code == DriverCode::Ok && !builtUnder.empty()) before = builtUnder;
    }
    if (before.empty()) return "";
    return " Pravila slovenskega vrstnega reda na strežniku zbirke podatkov so se spremenila"
           " (različica " + before + ", zdaj " + collationVersion() +
           ").|| Ključi po imenih so bili zato zgrajeni znova.";
}

void PostgresDatabase::rolledBack() {
    unlockPending();
    for (const std::string& directory : schemasInTransaction_) schemas_.erase(directory);
    schemasInTransaction_.clear();
}

void PostgresDatabase::transactionLost() {
    if (connected() && PQtransactionStatus(conn_) == PQTRANS_INERROR) executeQuietly("ROLLBACK");
}

SqlStatement* PostgresDatabase::statement(const std::string& sql, std::string_view action,
                                          DriverError& error) {
    // A connection found lost is made anew before the next statement (outside a transaction),
    // the statements kept prepared again at their next run.
    if (!recover()) {
        error = DriverError{DriverCode::DriverError, 0,
                            "Could not " + std::string(action) + ": " +
                                postgresConnectionMessage(conn_)};
        return nullptr;
    }
    if (auto found = statements_.find(sql); found != statements_.end()) return found->second.get();
    auto prepared = std::make_unique<PostgresStatement>(
        *this, "dv" + std::to_string(statements_.size() + 1), sql);
    if (!prepared->prepare()) {
        error = prepared->failure(action);
        noteFailure(error);
        return nullptr;
    }
    return statements_.emplace(sql, std::move(prepared)).first->second.get();
}

std::string PostgresDatabase::collationVersion() {
    DriverError error;
    SqlStatement* query = statement(
        "SELECT coalesce(pg_collation_actual_version(oid), '') FROM pg_collation WHERE collname "
        "= 'sl_nocase' AND collnamespace = 'public'::regnamespace",
        "read the version of the collation", error);
    if (query == nullptr) return {};
    StatementUse use(*query);
    return query->step() == StepResult::Row ? std::string(query->text(0)) : std::string();
}

std::string PostgresDatabase::lookUpSchema(const std::string& directory, DriverError& error) {
    SqlStatement* query =
        statement("SELECT \"SCHEMA\" FROM public.\"_SCHEMAS\" WHERE \"DIRECTORY\" = $1",
                  "read the list of data directories", error);
    if (query == nullptr) return {};
    StatementUse use(*query);
    query->bind(1, std::string_view(directory));
    const StepResult result = query->step();
    if (result == StepResult::Failed) {
        error = query->failure("read the list of data directories");
        noteFailure(error);
        return {};
    }
    return result == StepResult::Row ? std::string(query->text(0)) : std::string();
}

DriverCode PostgresDatabase::schemaFor(const fs::path& directory, bool create, std::string& schema,
                                       DriverError& error) {
    if (!startError_.empty()) {
        error = DriverError{DriverCode::DriverError, 0, startError_};
        return error.code;
    }
    endReadSnapshot();
    const std::string normal = serverDirectory(directory);
    if (const auto known = schemas_.find(normal); known != schemas_.end()) {
        schema = known->second;
        return DriverCode::Ok;
    }
    error = {};
    schema = lookUpSchema(normal, error);
    if (error.code != DriverCode::Ok) return error.code;
    if (schema.empty() && !create) {
        error = DriverError{DriverCode::FileNotFound, 0,
                            "There is no database for the directory " + normal + "."};
        return error.code;
    }
    if (schema.empty()) {
        // Another station may register the directory at the same moment: its name then holds.
        SqlStatement* add = statement(
            "INSERT INTO public.\"_SCHEMAS\" VALUES ($1, 'd' || "
            "nextval('public.\"_SCHEMA_NUMBERS\"')) ON CONFLICT (\"DIRECTORY\") DO NOTHING "
            "RETURNING \"SCHEMA\"",
            "register the data directory", error);
        if (add == nullptr) return error.code;
        StatementUse use(*add);
        add->bind(1, std::string_view(normal));
        const StepResult added = add->step();
        if (added == StepResult::Failed) {
            error = add->failure("register the data directory " + normal);
            return noteFailure(error);
        }
        schema = added == StepResult::Row ? std::string(add->text(0)) : lookUpSchema(normal, error);
        if (error.code != DriverCode::Ok) return error.code;
        const DriverCode code =
            execute("CREATE SCHEMA IF NOT EXISTS " + sqlName(schema), "make the schema", error);
        if (code != DriverCode::Ok) return code;
    }
    schemas_.emplace(normal, schema);
    if (transactionDepth() > 0)
        schemasInTransaction_.push_back(normal);
    else
        schemasInTransaction_.clear();
    return DriverCode::Ok;
}

}  // namespace dv

namespace dv {

void PostgresDatabase::mapDirectory(const fs::path& local, const fs::path& server) {
    directoryMap_.emplace_back(normalDirectory(local).string(),
                               normalDirectory(server).lexically_normal().string());
    std::sort(directoryMap_.begin(), directoryMap_.end(),
              [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
}

// The directory as the server knows it: under a mapped directory of this station, the same
// place under the directory it stands for.
std::string PostgresDatabase::serverDirectory(const fs::path& directory) const {
    std::string normal = normalDirectory(directory).string();
    for (const auto& [local, server] : directoryMap_) {
        if (normal == local) return server;
        if (normal.starts_with(local) && normal[local.size()] == fs::path::preferred_separator)
            return server + normal.substr(local.size());
    }
    return normal;
}

// An unlock refused inside a failed transaction is said again once the transaction ended, so
// that no station is kept out by a lock this one no longer uses.
void PostgresDatabase::unlockPending() {
    if (!connected() || PQtransactionStatus(conn_) == PQTRANS_INERROR) return;
    while (!pendingUnlocks_.empty()) {
        PGresult* result = PQexec(conn_, pendingUnlocks_.back().c_str());
        const bool done = result != nullptr && PQresultStatus(result) == PGRES_TUPLES_OK;
        PQclear(result);
        if (!done) return;
        pendingUnlocks_.pop_back();
    }
}

LockOutcome PostgresDatabase::tryStationLock(LockName name, bool shared, StationWork work,
                                             std::vector<LockHolder>& holders,
                                             DriverError& error) {
    unlockPending();
    const LockOutcome outcome =
        tryLock(shared ? "SELECT pg_try_advisory_lock_shared($1::bigint)"
                       : "SELECT pg_try_advisory_lock($1::bigint)",
                name, holders, error);
    if (outcome != LockOutcome::Taken) return outcome;
    ++stationLocks_;
    // A batch's work is what the others must know; a count or an import does not hide it.
    if (announced_ == '-' || !shared) announceWork(static_cast<char>(work));
    return LockOutcome::Taken;
}

// The holders of such a lock are told by the work their station locks say.
LockOutcome PostgresDatabase::tryLockUntilCommit(LockName name, StationWork,
                                                 std::vector<LockHolder>& holders,
                                                 DriverError& error) {
    return tryLock("SELECT pg_try_advisory_xact_lock($1::bigint)", name, holders, error);
}

LockOutcome PostgresDatabase::tryLock(const char* sql, LockName name,
                                      std::vector<LockHolder>& holders, DriverError& error) {
    SqlStatement* take = statement(sql, "take a lock", error);
    if (take == nullptr) return LockOutcome::Failed;
    bool taken = false;
    {
        StatementUse use(*take);
        take->bind(1, lockKey(name));
        if (take->step() != StepResult::Row) {
            error = take->failure("take a lock");
            noteFailure(error);
            return LockOutcome::Failed;
        }
        taken = take->text(0) == "t";
    }
    if (!taken) {
        holders = lockHolders(name, error);
        return error.code == DriverCode::Ok ? LockOutcome::Busy : LockOutcome::Failed;
    }
    return LockOutcome::Taken;
}

void PostgresDatabase::releaseStationLock(LockName name, bool shared) {
    pendingUnlocks_.push_back(
        std::string(shared ? "SELECT pg_advisory_unlock_shared(" : "SELECT pg_advisory_unlock(") +
        std::to_string(lockKey(name)) + ")");
    unlockPending();
    if (--stationLocks_ <= 0) {
        stationLocks_ = 0;
        announceWork('-');
    }
}

// The other sessions that hold the lock, with what their names say of them.
std::vector<LockHolder> PostgresDatabase::lockHolders(LockName name, DriverError& error) {
    std::vector<LockHolder> holders;
    SqlStatement* query = statement(
        "SELECT coalesce(a.application_name, ''), l.mode FROM pg_locks l JOIN pg_stat_activity a "
        "ON a.pid = l.pid WHERE l.locktype = 'advisory' AND l.granted AND l.objsubid = 1 AND "
        "l.classid = ($1::bigint >> 32)::oid AND l.objid = ($1::bigint & 4294967295)::oid AND "
        "l.pid <> pg_backend_pid() ORDER BY a.backend_start",
        "read who holds a lock", error);
    if (query == nullptr) return holders;
    StatementUse use(*query);
    query->bind(1, lockKey(name));
    StepResult step;
    while ((step = query->step()) == StepResult::Row)
        holders.push_back(holderOf(query->text(0), query->text(1) == "ExclusiveLock"));
    if (step == StepResult::Failed) {
        error = query->failure("read who holds a lock");
        noteFailure(error);
    }
    return holders;
}

// The work shown beside the station's name to the other sessions. Set outside a transaction's
// reach (a rollback would take it back), so it is said anew at each change.
void PostgresDatabase::announceWork(char work) {
    if (work == announced_ || !connected()) return;
    announced_ = work;
    const std::string name = applicationName(station_, work);
    const char* values[] = {name.c_str()};
    PQclear(PQexecParams(conn_, "SELECT set_config('application_name', $1, false)", 1, nullptr,
                         values, nullptr, nullptr, 0));
}

}  // namespace dv

namespace dv {

// A table that starts small and receives thousands of rows in one batch (a template, the
// archive of an import) would otherwise be planned as the small table it was, with scans of
// the whole table per row, until the server's own statistics catch up.
void PostgresDatabase::analyze(const std::vector<std::string>& tables) {
    std::string sql = "ANALYZE ";
    for (std::size_t i = 0; i < tables.size(); ++i) sql += (i > 0 ? ", " : "") + tables[i];
    // The server plans its prepared statements anew under the new statistics by itself.
    (void)executeQuietly(sql.c_str());
}

}  // namespace dv
