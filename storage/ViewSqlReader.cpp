#include "storage/ViewSqlReader.h"

#include <algorithm>
#include <cstring>

#include "runtime/ErrorState.h"
#include "runtime/MessageTable.h"
#include "storage/SqlRecord.h"

namespace dv {
namespace {

// Rows of the first page until the caller says how many it wants.
constexpr std::int64_t kReadAhead = 32;

}  // namespace

ViewSqlReader::ViewSqlReader(FileManager& file, SqlConnection& db, const TableSchema& layout,
                             const std::string& schema, ViewAcceptor accept)
    : file_(file),
      layout_(layout),
      sql_(layout, schema, db.dialect()),
      accept_(std::move(accept)),
      cursor_(db, kReadAhead, [this] { return "read the table " + file_.fileName(); }) {
    cursor_.use(sql_);
}

void ViewSqlReader::place(int key, const ViewPlace& place) {
    cursor_.place(key, place);
    current_ = DriverPosition{key, 0, {}};
    currentKnown_ = true;
}

const DriverPosition& ViewSqlReader::position() const {
    if (!currentKnown_) {
        const int key = cursor_.key();
        current_ =
            DriverPosition{key, cursor_.keptRow(), keyValues(layout_, key, cursor_.keptImage())};
        currentKnown_ = true;
    }
    return current_;
}

void ViewSqlReader::setReadAhead(int rows) {
    cursor_.setFirstPageRows(std::clamp<std::int64_t>(rows, 1, KeysetCursor::kLargestPageRows));
}

ViewRead ViewSqlReader::step(bool forward) {
    void* buffer = file_.buffer();
    const std::size_t size = layout_.table().recordStructSize;
    DriverError error;
    for (;;) {
        switch (cursor_.next(forward, error)) {
            case KeysetCursor::Read::Row:
                break;
            case KeysetCursor::Read::End:
                return ViewRead::End;
            case KeysetCursor::Read::Failed:
                report(error);
                return ViewRead::Failed;
        }
        std::memcpy(buffer, cursor_.taken().image, size);
        if (!accept_()) continue;
        cursor_.keep();
        currentKnown_ = false;
        return ViewRead::Record;
    }
}

// The failure goes to the runtime error state and is reported as the table layer reports a
// failed read.
void ViewSqlReader::report(const DriverError& error) {
    ErrorState state;
    state.code = static_cast<std::int32_t>(error.code);
    state.text = driverCodeText(error.code);
    state.fileErrorCode = std::to_string(error.nativeCode);
    state.fileErrorText = error.text;
    state.fileName = file_.fileName();
    setLastError(state);
    file_.NoteError(message::RecordRetrievalError);
    file_.RaiseLastError();
}

}  // namespace dv
