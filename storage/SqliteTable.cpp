#include "storage/SqliteTable.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "data/RecordBuffers.h"
#include "runtime/TextCase.h"
#include "storage/SqlRecord.h"
#include "storage/TableRegistry.h"

namespace dv {
namespace {

// Rows of the first page of a pass; a pass that reads on doubles the page each time up to the
// largest, so lists stay cheap and long passes seek seldom.
constexpr std::int64_t kPageRows = 64;

}  // namespace

SqliteTable::SqliteTable(SqlConnection& db, const TableDef& table, std::filesystem::path file)
    : TableDriver(table, file.string()),
      db_(db),
      file_(std::move(file)),
      layout_(table),
      currentImage_(table.recordStructSize),
      cursor_(db, kPageRows, [this] { return "read the table " + fileName(); }) {}

SqliteTable::~SqliteTable() {
    close();
}

// ---- the table as a whole

DriverCode SqliteTable::locate(bool create, DriverError& error) {
    std::string schema;
    const DriverCode code = db_.schemaFor(file_.parent_path(), create, schema, error);
    if (code != DriverCode::Ok) return code;
    if (!sql_ || sql_->schema() != schema) {
        sql_.emplace(layout_, schema, db_.dialect());
        cursor_.use(*sql_);
        insert_ = update_ = remove_ = nullptr;
        partialUpdates_.clear();
        rowIdSelects_.clear();
    }
    return DriverCode::Ok;
}

DriverCode SqliteTable::open(AccessMode mode) {
    if (open_)
        return fail(DriverCode::AlreadyOpen, 0, "The table " + fileName() + " is already open.");
    DriverError error;
    DriverCode code = locate(false, error);
    if (code == DriverCode::Ok) {
        const bool writableDatabase = !db_.isReadOnly(sql_->schema());
        if (mode == AccessMode::ReadWrite && !writableDatabase) {
            error = DriverError{DriverCode::AccessDenied, 0,
                                "There is no write access to the database of " + fileName() + "."};
            code = error.code;
        } else {
            code = checkTableStructure(db_, *sql_, writableDatabase, error);
        }
    }
    // A database that another program holds locked cannot be opened now.
    if (code == DriverCode::RecordHeld) error.code = code = DriverCode::AccessDenied;
    if (code != DriverCode::Ok) return fail(error);
    open_ = true;
    readOnly_ = mode == AccessMode::ReadOnly;
    currentRow_ = 0;
    return setPlace(kFileOrder, KeysetPlace{});
}

DriverCode SqliteTable::create() {
    DriverError error;
    DriverCode code = locate(true, error);
    if (code == DriverCode::Ok) code = createTableStructure(db_, *sql_, error);
    return code == DriverCode::Ok ? succeed() : fail(error);
}

void SqliteTable::close() {
    while (streams_ > 0) flush();
    open_ = false;
    cursor_.flush();
    currentRow_ = 0;
}

DriverCode SqliteTable::rebuildKeys() {
    DriverError error;
    DriverCode code = locate(false, error);
    if (code == DriverCode::Ok) code = rebuildTableKeys(db_, *sql_, error);
    cursor_.flush();
    return code == DriverCode::Ok ? succeed() : fail(error);
}

void SqliteTable::readFields(const std::vector<int>& fields) {
    std::vector<int> columns;
    if (!fields.empty()) columns = selectedColumns(layout_, fields);
    if (columns.empty()) {
        selection_.reset();
    } else {
        selection_.emplace();
        selection_->columns = std::move(columns);
        selection_->cleared.resize(table().recordStructSize);
        clearRecord(table(), selection_->cleared.data());
    }
    cursor_.setColumns(selection_ ? &*selection_ : nullptr);
}

// ---- checks and failures

DriverCode SqliteTable::check(bool write) {
    if (!open_)
        return fail(DriverCode::DriverError, 0, "The table " + fileName() + " is not open.");
    if (!write) return DriverCode::Ok;
    if (readOnly_)
        return fail(DriverCode::AccessDenied, 0,
                    "The table " + fileName() + " is open for reading only.");
    DriverError error;
    if (db_.prepareWrite(error) != DriverCode::Ok) return fail(error);
    return DriverCode::Ok;
}

DriverCode SqliteTable::checkKey(int key) {
    if (key >= kFileOrder && key < static_cast<int>(table().keys.size())) return DriverCode::Ok;
    return fail(DriverCode::DriverError, 0,
                "The table " + fileName() + " has no key number " + std::to_string(key + 1) + ".");
}

DriverCode SqliteTable::sqlFailure(const SqlStatement& statement, std::string_view action) {
    const DriverError error = statement.failure(action);
    db_.noteFailure(error);
    return fail(error);
}

DriverCode SqliteTable::noRecord(std::string text) {
    return fail(DriverCode::NoMoreRecords, 0, std::move(text));
}

// ---- reading

DriverCode SqliteTable::step(bool forward) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    DriverError error;
    switch (cursor_.next(forward, error)) {
        case KeysetCursor::Read::Row:
            break;
        case KeysetCursor::Read::End:
            return noRecord("There are no more records in " + fileName() + ".");
        case KeysetCursor::Read::Failed:
            return fail(error);
    }
    const RowPage::Entry& entry = cursor_.taken();
    std::memcpy(record(), entry.image, table().recordStructSize);
    cursor_.keep();
    becomeCurrent(entry.row, entry.version);
    return succeed();
}

DriverCode SqliteTable::readExact(int key, const std::vector<KeyValue>& values) {
    bool found = false;
    const auto take = [&](const SqlStatement& statement, std::int64_t row, std::int64_t version) {
        readRecord(statement, 2, layout_, selection_ ? &*selection_ : nullptr, record());
        becomeCurrent(row, version);
        found = true;
        return false;
    };
    DriverError error;
    if (!cursor_.find(key, values, 1, take, error)) return fail(error);
    if (!found) return noRecord("The record asked for is not in " + fileName() + ".");
    return succeed();
}

DriverCode SqliteTable::get(int key) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (const DriverCode code = checkKey(key); code != DriverCode::Ok) return code;
    if (key == kFileOrder)
        return fail(DriverCode::DriverError, 0, "A record of " + fileName() + " is read by a key.");
    return readExact(key, keyValues(layout_, key, record()));
}

DriverCode SqliteTable::reget(const DriverPosition& position) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (position.row == 0) return noRecord("No record position was saved for " + fileName() + ".");
    return readExact(kFileOrder, {KeyValue(position.row)});
}

DriverPosition SqliteTable::position() const {
    DriverPosition position;
    position.key = cursor_.key();
    position.row = currentRow_;
    if (currentRow_ != 0) position.values = keyValues(layout_, cursor_.key(), currentImage_.data());
    return position;
}

DriverCode SqliteTable::setPlace(int key, KeysetPlace place) {
    cursor_.place(key, std::move(place));
    return succeed();
}

DriverCode SqliteTable::setToStart(int key) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (const DriverCode code = checkKey(key); code != DriverCode::Ok) return code;
    return setPlace(key, KeysetPlace{});
}

DriverCode SqliteTable::setToEnd(int key) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (const DriverCode code = checkKey(key); code != DriverCode::Ok) return code;
    return setPlace(key, KeysetPlace{KeysetPlace::Kind::End, {}});
}

DriverCode SqliteTable::set(int key) {
    if (key == kFileOrder) return setToStart(key);
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (const DriverCode code = checkKey(key); code != DriverCode::Ok) return code;
    return setPlace(key, KeysetPlace{KeysetPlace::Kind::At, keyValues(layout_, key, record())});
}

DriverCode SqliteTable::reset(const DriverPosition& position) {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (const DriverCode code = checkKey(position.key); code != DriverCode::Ok) return code;
    // Without a row the values may be fewer than the key's components, never more.
    const std::size_t terms = layout_.order(position.key).size();
    std::vector<KeyValue> values = position.values;
    if (position.row != 0) values.emplace_back(position.row);
    if (position.row != 0 ? values.size() != terms : values.size() >= terms)
        return fail(DriverCode::DriverError, 0,
                    "The saved position does not belong to a key of " + fileName() + ".");
    return setPlace(position.key, KeysetPlace{KeysetPlace::Kind::At, std::move(values)});
}

void SqliteTable::becomeCurrent(std::int64_t row, std::int64_t version) {
    currentRow_ = row;
    currentVersion_ = version;
    std::memcpy(currentImage_.data(), record(), currentImage_.size());
}

SqlStatement* SqliteTable::writer(SqlStatement*& cached, std::string (TableSql::*build)() const,
                                  std::string_view action) {
    if (cached != nullptr) return cached;
    DriverError error;
    cached = db_.statement(((*sql_).*build)(), action, error);
    if (cached == nullptr) fail(error);
    return cached;
}

// The update of the columns in changed_ only, prepared once per set of columns.
SqlStatement* SqliteTable::partialUpdate(std::string_view action) {
    if (const auto found = partialUpdates_.find(changed_); found != partialUpdates_.end())
        return found->second;
    DriverError error;
    SqlStatement* statement = db_.statement(sql_->update(changed_), action, error);
    if (statement == nullptr) {
        fail(error);
        return nullptr;
    }
    partialUpdates_.emplace(changed_, statement);
    return statement;
}

// ---- writing

DriverCode SqliteTable::add() {
    if (const DriverCode code = check(true); code != DriverCode::Ok) return code;
    SqlStatement* statement = writer(insert_, &TableSql::insert, "add a record");
    if (statement == nullptr) return lastError().code;
    StatementUse use(*statement);
    bindRecord(*statement, layout_, record());
    // An engine that gives the new row id as a result row steps to it first.
    StepResult result = statement->step();
    const std::int64_t row = result == StepResult::Row ? statement->integer(0) : 0;
    if (result == StepResult::Row) result = statement->step();
    if (result != StepResult::Done) return sqlFailure(*statement, "add a record to " + fileName());
    const std::int64_t added = row != 0 ? row : statement->insertedRow();
    if (added == 0)
        return fail(DriverCode::DuplicateKey, 0,
                    "Could not add a record to " + fileName() +
                        ": another record has the same values of a unique key.");
    becomeCurrent(added, 0);
    cursor_.noteOwnChange(false);
    return succeed();
}

// After a change that touched no row: the record was changed or deleted by another station.
DriverCode SqliteTable::missingOrChanged(std::string_view action) {
    bool exists = false;
    const auto found = [&](const SqlStatement&, std::int64_t, std::int64_t) {
        exists = true;
        return false;
    };
    DriverError error;
    if (!cursor_.find(kFileOrder, {KeyValue(currentRow_)}, 1, found, error)) return fail(error);
    if (exists)
        return fail(DriverCode::ChangedByOther, 0,
                    "Could not " + std::string(action) + ": another station changed the record " +
                        "since it was read.");
    return noRecord("Could not " + std::string(action) +
                    ": another station deleted the record since it was read.");
}

DriverCode SqliteTable::put() {
    if (const DriverCode code = check(true); code != DriverCode::Ok) return code;
    const std::string action = "change the record of " + fileName();
    if (currentRow_ == 0) return noRecord("Could not " + action + ": no record was read.");
    changedColumns(layout_, currentImage_.data(), record(), changed_);
    // After reading some fields only, the others must keep their stored values.
    const bool whole = !selection_ && changed_.size() * 2 > layout_.columns().size();
    SqlStatement* statement =
        whole ? writer(update_, &TableSql::update, action) : partialUpdate(action);
    if (statement == nullptr) return lastError().code;
    const auto columns = static_cast<int>(whole ? layout_.columns().size() : changed_.size());
    bool touched = false;
    {
        StatementUse use(*statement);
        if (whole)
            bindRecord(*statement, layout_, record());
        else
            bindColumns(*statement, layout_, record(), changed_);
        statement->bind(columns + 1, currentRow_);
        statement->bind(columns + 2, currentVersion_);
        if (statement->step() != StepResult::Done) return sqlFailure(*statement, action);
        touched = statement->changes() != 0;
    }
    if (!touched) return missingOrChanged(action);
    // Rows read ahead stay good unless the record is among them or moved in the order.
    const int key = cursor_.key();
    const bool aheadStays =
        cursor_.aheadUnaffectedBy(currentRow_) &&
        keyValues(layout_, key, currentImage_.data()) == keyValues(layout_, key, record());
    becomeCurrent(currentRow_, currentVersion_ + 1);
    cursor_.noteOwnChange(aheadStays);
    return succeed();
}

DriverCode SqliteTable::remove() {
    if (const DriverCode code = check(true); code != DriverCode::Ok) return code;
    const std::string action = "delete the record of " + fileName();
    if (currentRow_ == 0) return noRecord("Could not " + action + ": no record was read.");
    SqlStatement* statement = writer(remove_, &TableSql::remove, action);
    if (statement == nullptr) return lastError().code;
    bool touched = false;
    {
        StatementUse use(*statement);
        statement->bind(1, currentRow_);
        statement->bind(2, currentVersion_);
        if (statement->step() != StepResult::Done) return sqlFailure(*statement, action);
        touched = statement->changes() != 0;
    }
    if (!touched) return missingOrChanged(action);
    const bool aheadStays = cursor_.aheadUnaffectedBy(currentRow_);
    currentRow_ = 0;
    cursor_.noteOwnChange(aheadStays);
    return succeed();
}

bool SqliteTable::isDuplicate(int key, bool excludeCurrent) {
    if (check(false) != DriverCode::Ok || checkKey(key) != DriverCode::Ok || key == kFileOrder)
        return false;
    // Asked of the whole table, whatever condition its reading is under: a unique key holds for
    // every record. Two row ids at most tell whether one is another than the current.
    SqlStatement*& cached = rowIdSelects_[key];
    DriverError error;
    if (cached == nullptr) cached = db_.statement(sql_->rowIds(key), "look up a key", error);
    if (cached == nullptr) {
        (void)fail(error);
        return false;
    }
    SqlStatement& statement = *cached;
    StatementUse use(statement);
    const std::vector<KeyValue> values = keyValues(layout_, key, record());
    for (std::size_t v = 0; v < values.size(); ++v) statement.bind(static_cast<int>(v) + 1, values[v]);
    statement.bind(static_cast<int>(values.size()) + 1, std::int64_t{2});
    StepResult result;
    while ((result = statement.step()) == StepResult::Row)
        if (!excludeCurrent || statement.integer(0) != currentRow_) return true;
    if (result != StepResult::Done) (void)sqlFailure(statement, "look up a key");
    return false;
}

// ---- size, commands, batches

std::int64_t SqliteTable::records() {
    if (check(false) != DriverCode::Ok) return -1;
    DriverError error;
    SqlStatement* statement = db_.statement(sql_->count(), "count the records", error);
    if (statement == nullptr) {
        fail(error);
        return -1;
    }
    StatementUse use(*statement);
    if (statement->step() != StepResult::Row) {
        sqlFailure(*statement, "count the records of " + fileName());
        return -1;
    }
    succeed();
    return statement->integer(0);
}

std::string SqliteTable::send(std::string_view command) {
    const Command parsed = parseCommand(command);
    if (equalsIgnoreCaseAscii(parsed.name, "QUICKSCAN")) {
        const bool on = equalsIgnoreCaseAscii(parsed.value, "on");
        cursor_.setQuickScan(on);
        return on ? "on" : "off";
    }
    // Waiting for a locked database is governed by the busy timeout.
    if (equalsIgnoreCaseAscii(parsed.name, "Recover")) return std::string(parsed.value);
    if (equalsIgnoreCaseAscii(parsed.name, "KEYS")) return switchKeys(parsed.value);
    return {};
}

// "KEYS=off" before a bulk load, "KEYS=on" after it (see dropTableKeys). Answers "off" or "on",
// or "error" with the reason in lastError.
std::string SqliteTable::switchKeys(std::string_view value) {
    const bool on = equalsIgnoreCaseAscii(value, "on");
    DriverError error;
    DriverCode code = check(true);
    if (code == DriverCode::Ok) code = locate(false, error);
    if (code == DriverCode::Ok)
        code = on ? buildTableKeys(db_, *sql_, error) : dropTableKeys(db_, *sql_, error);
    cursor_.flush();
    if (code != DriverCode::Ok) {
        if (!error.text.empty()) (void)fail(error);
        return "error";
    }
    return on ? "on" : "off";
}

DriverCode SqliteTable::stream() {
    if (const DriverCode code = check(false); code != DriverCode::Ok) return code;
    if (const DriverCode code = beginTransaction(); code != DriverCode::Ok) return code;
    ++streams_;
    return DriverCode::Ok;
}

DriverCode SqliteTable::flush() {
    if (streams_ == 0) return succeed();
    --streams_;
    return commit();
}

DriverCode SqliteTable::beginTransaction() {
    DriverError error;
    return db_.begin(error) == DriverCode::Ok ? succeed() : fail(error);
}

DriverCode SqliteTable::commit() {
    DriverError error;
    return db_.commit(error) == DriverCode::Ok ? succeed() : fail(error);
}

DriverCode SqliteTable::rollback() {
    DriverError error;
    return db_.rollback(error) == DriverCode::Ok ? succeed() : fail(error);
}

}  // namespace dv
