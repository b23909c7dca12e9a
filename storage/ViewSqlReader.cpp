#include "storage/ViewSqlReader.h"

#include <algorithm>
#include <cstring>

#include "runtime/ErrorState.h"
#include "runtime/MessageTable.h"
#include "storage/SqlRecord.h"
#include "storage/SqliteError.h"

namespace dv {
namespace {

constexpr std::int64_t kLargestPageRows = 1024;
constexpr std::int64_t kQuickScanRows = 512;

std::uint32_t selectKey(int key, int equal, int after, bool orEqual, bool forward) {
    return static_cast<std::uint32_t>(key + 1) << 24 | static_cast<std::uint32_t>(equal) << 16 |
           static_cast<std::uint32_t>(after + 1) << 8 | (orEqual ? 2u : 0u) | (forward ? 1u : 0u);
}

}  // namespace

ViewSqlReader::ViewSqlReader(FileManager& file, SqliteDatabase& db, const TableSchema& layout,
                             const std::string& schema, ViewAcceptor accept)
    : file_(file),
      db_(db),
      layout_(layout),
      sql_(layout, schema),
      accept_(std::move(accept)),
      changes_(&db.changeCounter(sql_.qualifiedName())) {}

bool ViewSqlReader::setFilter(const ViewFilter* filter) {
    filter_ = filter;
    selects_.clear();
    flush();
    if (filter_ == nullptr) return true;
    DriverError error;
    if (select(0, -1, false, true, error) != nullptr) return true;
    filter_ = nullptr;
    selects_.clear();
    return false;
}

void ViewSqlReader::place(int key, const ViewPlace& place) {
    if (key != key_) selects_.clear();
    key_ = key;
    start_ = place;
    page_.clear();
    examined_.reset();
    currentRow_ = 0;
    current_ = DriverPosition{key, 0, {}};
    currentKnown_ = true;
}

const DriverPosition& ViewSqlReader::position() const {
    if (!currentKnown_) {
        current_ =
            DriverPosition{key_, currentRow_, keyValues(layout_, key_, currentImage_.data())};
        currentKnown_ = true;
    }
    return current_;
}

void ViewSqlReader::flush() {
    page_.clear();
    examined_.reset();
}

void ViewSqlReader::setReadAhead(int rows) {
    firstRows_ = std::clamp<std::int64_t>(rows, 1, kLargestPageRows);
}

void ViewSqlReader::setQuickScan(bool on) {
    quickScanRows_ = on ? kQuickScanRows : 0;
}

std::vector<KeyValue> ViewSqlReader::rowValues(std::int64_t row, const void* image) const {
    std::vector<KeyValue> values = keyValues(layout_, key_, image);
    values.emplace_back(row);
    return values;
}

// Reading on in the direction of the rows examined last goes on after the last of them; turning
// round goes on from the record handed out last; else from the place that was set.
ViewPlace ViewSqlReader::anchorFor(bool forward) const {
    const auto at = [](std::vector<KeyValue> values) {
        return ViewPlace{ViewPlace::Kind::At, std::move(values), false};
    };
    if (examined_ && pageForward_ == forward)
        return at(rowValues(examined_->row, examined_->image));
    if (currentRow_ != 0) return at(rowValues(currentRow_, currentImage_.data()));
    if (examined_) return at(rowValues(examined_->row, examined_->image));
    return start_;
}

ViewRead ViewSqlReader::refill(bool forward) {
    const ViewPlace anchor = anchorFor(forward);
    const bool goingOn = page_.finished(key_, forward);
    rows_ = goingOn ? std::min(2 * rows_, kLargestPageRows) : std::max(firstRows_, quickScanRows_);
    page_.start(key_, forward, changeCount(), layout_.table().recordStructSize);
    pageForward_ = forward;
    examined_.reset();
    const auto room = [this] { return rows_ - static_cast<std::int64_t>(page_.size()); };
    bool ok = true;
    switch (anchor.kind) {
        case ViewPlace::Kind::Start:
        case ViewPlace::Kind::End:
            if ((anchor.kind == ViewPlace::Kind::Start) == forward)
                ok = fetch(0, -1, false, forward, {}, room());
            break;
        case ViewPlace::Kind::At: {
            // The rows at or after the values: those equal in every value but the last and at or
            // after it in that one, then those equal in fewer values and after the place in the
            // next one, the longest common prefix first.
            const std::vector<KeyValue>& values = anchor.values;
            const int known = static_cast<int>(values.size());
            if (known == 0) {
                ok = fetch(0, -1, false, forward, {}, room());
                break;
            }
            for (int term = known - 1; ok && term >= 0 && room() > 0; --term)
                ok = fetch(term, term, anchor.inclusive && term == known - 1, forward, values,
                           room());
            break;
        }
    }
    if (!ok) {
        page_.clear();
        return ViewRead::Failed;
    }
    if (page_.size() == 0) {
        page_.clear();
        return ViewRead::End;
    }
    return ViewRead::Record;
}

ViewRead ViewSqlReader::step(bool forward) {
    void* buffer = file_.buffer();
    for (;;) {
        if (!page_.usable(key_, forward, changeCount())) {
            if (const ViewRead read = refill(forward); read != ViewRead::Record) return read;
        }
        examined_ = page_.take();
        std::memcpy(buffer, examined_->image, layout_.table().recordStructSize);
        if (!accept_()) continue;
        currentRow_ = examined_->row;
        currentImage_.assign(examined_->image, examined_->image + layout_.table().recordStructSize);
        currentKnown_ = false;
        return ViewRead::Record;
    }
}

SqlStatement* ViewSqlReader::select(int equal, int after, bool orEqual, bool forward,
                                    DriverError& error) {
    const std::uint32_t cacheKey = selectKey(key_, equal, after, orEqual, forward);
    if (const auto found = selects_.find(cacheKey); found != selects_.end()) return found->second;
    const int terms = static_cast<int>(layout_.order(key_).size());
    const std::string condition = filter_ != nullptr ? filter_->condition(terms + 2) : "";
    SqlStatement* statement =
        db_.statement(sql_.select(key_, equal, after, forward, condition, orEqual),
                      "read the table " + file_.fileName(), error);
    if (statement != nullptr) selects_.emplace(cacheKey, statement);
    return statement;
}

bool ViewSqlReader::fetch(int equal, int after, bool orEqual, bool forward,
                          const std::vector<KeyValue>& values, std::int64_t limit) {
    DriverError error;
    SqlStatement* statement = select(equal, after, orEqual, forward, error);
    if (statement == nullptr) return report(error);
    StatementUse use(*statement);
    const int bound = std::max(equal, after + 1);
    for (int v = 0; v < bound; ++v) statement->bind(v + 1, values[static_cast<std::size_t>(v)]);
    const int terms = static_cast<int>(layout_.order(key_).size());
    statement->bind(terms + 1, limit);
    if (filter_ != nullptr) filter_->bind(*statement, terms + 2);
    int result;
    while ((result = statement->step()) == SQLITE_ROW)
        readRecord(*statement, 2, layout_,
                   page_.append(statement->integer(0), statement->integer(1)));
    if (result == SQLITE_DONE) return true;
    error = sqliteFailure(db_.handle(), result, "read the table " + file_.fileName());
    db_.noteFailure(error);
    return report(error);
}

// The failure goes to the runtime error state and is reported as the table layer reports a
// failed read.
bool ViewSqlReader::report(const DriverError& error) {
    ErrorState state;
    state.code = static_cast<std::int32_t>(error.code);
    state.text = driverCodeText(error.code);
    state.fileErrorCode = std::to_string(error.nativeCode);
    state.fileErrorText = error.text;
    state.fileName = file_.fileName();
    setLastError(state);
    file_.NoteError(message::RecordRetrievalError);
    file_.RaiseLastError();
    return false;
}

}  // namespace dv
