#include "storage/KeysetCursor.h"

#include <algorithm>
#include <utility>

#include "storage/SqlRecord.h"
#include "storage/SqlConnection.h"
#include "storage/SqliteError.h"
#include "storage/TableSql.h"

namespace dv {
namespace {

// Cache key of a select: order, equal terms, strict term, at-or-after, direction.
std::uint32_t selectKey(int key, int equal, int after, bool orEqual, bool forward) {
    return static_cast<std::uint32_t>(key + 1) << 24 | static_cast<std::uint32_t>(equal) << 16 |
           static_cast<std::uint32_t>(after + 1) << 8 | (orEqual ? 2u : 0u) | (forward ? 1u : 0u);
}

}  // namespace

KeysetCursor::KeysetCursor(SqlConnection& db, std::int64_t firstPageRows,
                           std::function<std::string()> action)
    : db_(db), action_(std::move(action)), firstRows_(firstPageRows), rows_(firstPageRows) {}

void KeysetCursor::use(const TableSql& sql) {
    sql_ = &sql;
    recordSize_ = sql.layout().table().recordStructSize;
    changes_ = &db_.changeCounter(sql.qualifiedName());
    selects_.clear();
    flush();
}

bool KeysetCursor::setCondition(const KeysetCondition* condition) {
    condition_ = condition;
    selects_.clear();
    flush();
    if (condition_ == nullptr) return true;
    // An engine without the functions would refuse the select (and, on a server, with it the
    // transaction it runs in): the program tests the whole condition instead.
    if (!db_.dialect().runsFilterConditions(condition_->callsFunctions())) {
        condition_ = nullptr;
        return false;
    }
    DriverError error;
    if (select(Seek{key_, 0, -1, false, true}, error) != nullptr) return true;
    condition_ = nullptr;
    selects_.clear();
    return false;
}

void KeysetCursor::setColumns(const ColumnSelection* selection) {
    selection_ = selection;
    selects_.clear();
    flush();
}

// Quick scan takes effect at once: the pass going on reads pages at least that large.
void KeysetCursor::setQuickScan(bool on) {
    quickScan_ = on;
    rows_ = std::max(rows_, firstPageRows());
}

std::int64_t KeysetCursor::firstPageRows() const {
    return quickScan_ ? std::max(firstRows_, kQuickScanPageRows) : firstRows_;
}

std::uint64_t KeysetCursor::changeCount() const {
    return *changes_ + db_.rollbacks();
}

void KeysetCursor::place(int key, KeysetPlace place) {
    key_ = key;
    start_ = std::move(place);
    flush();
    keptRow_ = 0;
    keptImage_ = nullptr;
}

void KeysetCursor::flush() {
    page_.clear();
    taken_.reset();
}

void KeysetCursor::keep() {
    keptRow_ = taken_->row;
    keptImage_ = taken_->image;
}

bool KeysetCursor::aheadUnaffectedBy(std::int64_t row) const {
    return page_.fresh(changeCount()) && !page_.holds(row);
}

void KeysetCursor::noteOwnChange(bool aheadStays) {
    ++*changes_;
    if (aheadStays) page_.keep(changeCount());
}

// ---- reading

KeysetCursor::Read KeysetCursor::next(bool forward, DriverError& error) {
    if (!page_.usable(key_, forward, changeCount())) {
        if (const Read read = refill(forward, error); read != Read::Row) return read;
    }
    taken_ = page_.take();
    return Read::Row;
}

KeysetPlace KeysetCursor::after(std::int64_t row, const unsigned char* image) const {
    KeysetPlace place{KeysetPlace::Kind::At, keyValues(sql_->layout(), key_, image), false};
    place.values.emplace_back(row);
    return place;
}

KeysetPlace KeysetCursor::anchorFor(bool forward) const {
    if (taken_ && page_.forward() == forward) return after(taken_->row, taken_->image);
    if (keptRow_ != 0) return after(keptRow_, keptImage_);
    if (taken_) return after(taken_->row, taken_->image);
    return start_;
}

// The page is about to be read again: the kept row's image moves out of it first.
void KeysetCursor::holdKept() {
    if (keptImage_ == nullptr || keptImage_ == keptCopy_.data()) return;
    keptCopy_.assign(keptImage_, keptImage_ + recordSize_);
    keptImage_ = keptCopy_.data();
}

KeysetCursor::Read KeysetCursor::refill(bool forward, DriverError& error) {
    holdKept();
    const KeysetPlace anchor = anchorFor(forward);
    rows_ = page_.finished(key_, forward) ? std::min(2 * rows_, kLargestPageRows) : firstPageRows();
    page_.start(key_, forward, changeCount(), recordSize_);
    taken_.reset();
    if (!fill(anchor, forward, error)) {
        page_.clear();
        return Read::Failed;
    }
    if (page_.size() == 0) {
        page_.clear();
        return Read::End;
    }
    return Read::Row;
}

bool KeysetCursor::fill(const KeysetPlace& anchor, bool forward, DriverError& error) {
    const auto room = [this] { return rows_ - static_cast<std::int64_t>(page_.size()); };
    const auto collect = [this](const SqlStatement& statement) {
        readRecord(statement, 2, sql_->layout(), selection_,
                   page_.append(statement.integer(0), statement.integer(1)));
        return true;
    };
    const auto everything = [&] {
        return run(Seek{key_, 0, -1, false, forward}, {}, room(), collect, error);
    };
    if (anchor.kind != KeysetPlace::Kind::At) {
        const bool fromStart = anchor.kind == KeysetPlace::Kind::Start;
        return fromStart != forward || everything();
    }
    const std::vector<KeyValue>& values = anchor.values;
    const int known = static_cast<int>(values.size());
    if (known == 0) return everything();
    for (int term = known - 1; term >= 0 && room() > 0; --term) {
        const Seek seek{key_, term, term, anchor.inclusive && term == known - 1, forward};
        if (!run(seek, values, room(), collect, error)) return false;
    }
    return true;
}

bool KeysetCursor::find(int key, const std::vector<KeyValue>& values, std::int64_t limit,
                        RowVisitor visit, DriverError& error) {
    const Seek seek{key, static_cast<int>(values.size()), -1, false, true};
    return run(
        seek, values, limit,
        [&](const SqlStatement& statement) {
            return visit(statement, statement.integer(0), statement.integer(1));
        },
        error);
}

// ---- the database

SqlStatement* KeysetCursor::select(const Seek& seek, DriverError& error) {
    const std::uint32_t cacheKey =
        selectKey(seek.key, seek.equal, seek.after, seek.orEqual, seek.forward);
    if (const auto found = selects_.find(cacheKey); found != selects_.end()) return found->second;
    const int terms = static_cast<int>(sql_->layout().order(seek.key).size());
    const std::string condition =
        condition_ != nullptr ? condition_->condition(terms + 2, db_.dialect()) : "";
    SqlStatement* statement = db_.statement(
        sql_->select(seek.key, seek.equal, seek.after, seek.forward, condition, seek.orEqual,
                     selection_ != nullptr ? &selection_->columns : nullptr),
        action_(), error);
    if (statement != nullptr) selects_.emplace(cacheKey, statement);
    return statement;
}

// Runs one select: the values it seeks from, the limit and the condition's values bound; each
// row goes to `sink` until it gives false.
template <typename Sink>
bool KeysetCursor::run(const Seek& seek, const std::vector<KeyValue>& values, std::int64_t limit,
                       Sink sink, DriverError& error) {
    SqlStatement* statement = select(seek, error);
    if (statement == nullptr) return false;
    StatementUse use(*statement);
    const int bound = std::max(seek.equal, seek.after + 1);
    for (int v = 0; v < bound; ++v) statement->bind(v + 1, values[static_cast<std::size_t>(v)]);
    const int terms = static_cast<int>(sql_->layout().order(seek.key).size());
    statement->bind(terms + 1, limit);
    if (condition_ != nullptr) condition_->bind(*statement, terms + 2);
    StepResult result;
    while ((result = statement->step()) == StepResult::Row)
        if (!sink(*statement)) break;
    if (result != StepResult::Failed) return true;
    error = statement->failure(action_());
    db_.noteFailure(error);
    return false;
}

}  // namespace dv
