#include <utility>

#include "data/RecordBuffers.h"
#include "framework/BrowseList.h"
#include "runtime/MessageTable.h"
#include "storage/ViewFields.h"

namespace dv {

// The new record starts empty, with the range's values and the table's defaults, numbered and
// added by the table when it numbers its records; false when that fails.
bool BrowseList::prepareInsert() {
    FileManager& primary = view_->primary();
    view_->ClearJoined();
    clearRecord(view_->table(), primary.buffer());
    current().range.prime(primary.buffer());
    return primary.PrepareNew(true) == kLevelBenign;
}

// Calls the form with the record to work on in the buffers: a new record for an insert, the
// highlighted record read again for the others. RespCancelled when there is no record.
Response BrowseList::callForm(Request request) {
    if (!ask_) return RespCancelled;
    if (request == ReqInsert) {
        if (!prepareInsert()) return RespCancelled;
    } else {
        if (currentChoice_ < 1) return RespCancelled;
        const DriverPosition position = page_->position(currentChoice_ - 1);
        const Level read = view_->Reget(position);
        if (read != kLevelBenign) {
            // Another station deleted it: say so, and show the list as it is now.
            if (read == kLevelNotify) {
                view_->primary().NoteError(message::RecordRetrievalError);
                view_->primary().RaiseLastError();
            }
            view_->Flush();
            fillAt(position);
            return RespCancelled;
        }
    }
    return static_cast<Response>(callProcedure(ask_, request));
}

// Repositions after the form: on the saved record after an insert or change, at the place of
// a deleted record (the rows before it fill the page when it was the last), else where the
// list stood.
void BrowseList::afterForm(Request request, Response response, const DriverPosition& before) {
    const bool completed = response == RespCompleted;
    if (completed) view_->Flush();
    if (completed && (request == ReqInsert || request == ReqChange)) {
        fillAt(view_->PositionOfBuffer());
        return;
    }
    if (completed && request == ReqDelete && currentChoice_ > 0) {
        marked_.erase(page_->rows()[static_cast<std::size_t>(currentChoice_ - 1)].row);
        page_->remove(currentChoice_ - 1);
    }
    if (before.row != 0 || !before.values.empty())
        fillAt(before);
    else
        Refresh(RefreshMode::Top);
}

// Moves the highlight as the form's toolbar asked; false when it could not move.
bool BrowseList::navigate(std::int32_t request) {
    const int before = currentChoice_;
    const DriverPosition at = currentChoice_ > 0 ? page_->position(before - 1) : DriverPosition{};
    switch (request) {
        case vcr::Last:
            Refresh(RefreshMode::Bottom);
            break;
        case vcr::First:
            Refresh(RefreshMode::Top);
            break;
        case vcr::PageDown:
            OnScroll(EventKind::PageDown);
            break;
        case vcr::PageUp:
            OnScroll(EventKind::PageUp);
            break;
        case vcr::Next:
            if (!moveHighlight(currentChoice_)) OnScroll(EventKind::ScrollDown);
            break;
        case vcr::Previous:
            if (!moveHighlight(currentChoice_ - 2)) OnScroll(EventKind::ScrollUp);
            break;
        default:
            return false;
    }
    if (currentChoice_ < 1) return false;
    return page_->position(currentChoice_ - 1) != at;
}

Response BrowseList::AskRecord(Request request) {
    Response response = RespCancelled;
    for (;;) {
        CallerVcrRequest = 0;
        const DriverPosition before =
            currentChoice_ > 0 ? page_->position(currentChoice_ - 1) : DriverPosition{};
        response = callForm(request);
        const std::int32_t navigation = CallerVcrRequest;
        CallerVcrRequest = 0;
        afterForm(request, response, before);
        if (navigation == vcr::Insert || (navigation == vcr::Next && request == ReqInsert)) {
            request = ReqInsert;
            continue;
        }
        if (navigation >= vcr::Last && navigation <= vcr::Previous && request != ReqInsert &&
            navigate(navigation))
            continue;
        break;
    }
    SyncButtons();
    Window& window = host_->window();
    window.post(EventKind::NewSelection, list());
    window.select(list());
    return response;
}

// ---- selecting

void BrowseList::OnClose(Response response) {
    if (extension_ != nullptr) extension_->closing();
    if (callerRecord_ == 0) return;
    FileManager& primary = view_->primary();
    const SnapshotHandle caller = std::exchange(callerRecord_, 0);
    if (response != RespCompleted || currentChoice_ < 1) {
        primary.RestoreSnapshot(caller, true);
        return;
    }
    const BrowseRow& row = page_->rows()[static_cast<std::size_t>(currentChoice_ - 1)];
    if (options_.selectWholeRecord) {
        primary.RestoreSnapshot(caller, false);
        LoadHighlighted();
        return;
    }
    // Only the listed fields of the chosen record go back to the caller's record.
    primary.RestoreSnapshot(caller, true);
    const TableDef& table = view_->table();
    for (const BrowseColumn& column : columns_)
        if (column.table == &table)
            writeFieldValue(table, column.field, primary.buffer(),
                            readFieldValue(table, column.field, row.record.data()));
}

}  // namespace dv
