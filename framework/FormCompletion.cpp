// How a form ends: the OK button, saving the record by the request, and leaving the window.

#include "framework/ErrorReporter.h"
#include "framework/WindowProcedure.h"
#include "runtime/MessageTable.h"
#include "runtime/WindowInput.h"
#include "storage/RelationKeeper.h"

namespace dv {
namespace {

// The buttons a form's retry and save questions offer.
constexpr MessageButtons kYesNoCancel = kButtonYes | kButtonNo | kButtonCancel;

}  // namespace

EventResult WindowProcedure::OnAccepted(const Event& event) {
    if (toolbar_ != nullptr && FormToolbar::isToolbarControl(event.control))
        return takeToolbar(event.control);
    for (const auto& [control, response] : buttons_)
        if (control == event.control) {
            Finish(response);
            return kEventDone;
        }
    if (takeCallButton(event.control)) return kEventDone;
    if (okButton_ != 0 && event.control == okButton_) {
        if (request_ == ReqView) {
            // A form that only shows the record closes on OK without saving anything.
            window_->post(EventKind::CloseWindow);
            return kEventDone;
        }
        if (okControl_ != 0) pressOk();
        return kEventDone;
    }
    return kEventGoOn;
}

// OK: for an insert or a change every control is accepted in turn (so each field's checks run)
// before the window completes; any other request completes at once.
void WindowProcedure::pressOk() {
    if (request_ == ReqInsert || request_ == ReqChange)
        window_->acceptAll();
    else
        window_->post(EventKind::Completed);
}

EventResult WindowProcedure::takeToolbar(int control) {
    if (!toolbar_->enabled(control)) return kEventDone;
    if (FormToolbar::isNavigation(control)) {
        *vcrRequest_ = control;
        if (okControl_ != 0) window_->post(EventKind::Accepted, okControl_);
        return kEventDone;
    }
    if (control == toolbar::History) {
        if (Control* focus = window_->focused()) RecallField(*focus);
        return kEventDone;
    }
    if (control == toolbar::Help) {
        pressKey(*window_, keys::F1);
        return kEventDone;
    }
    return kEventGoOn;
}

EventResult WindowProcedure::OnCompleted(const Event&) {
    history_.remember();
    if (primary_ == nullptr) {
        Finish(RespCompleted);
        return kEventDone;
    }
    switch (request_) {
        case ReqInsert:
            return completeInsert();
        case ReqChange:
            return completeChange();
        case ReqDelete:
            return completeDelete();
        default:
            window_->post(EventKind::CloseWindow);
            return kEventDone;
    }
}

EventResult WindowProcedure::completeInsert() {
    FileManager& file = primary_->file();
    if (file.Insert() != kLevelBenign) {
        selectFirstField();
        return kEventDone;
    }
    if (insertAction == kInsertAskNext && errors_.raise(message::RecordAdded) != kLevelBenign) {
        Finish(RespCompleted);
        return kEventDone;
    }
    if (insertAction != kInsertNext && insertAction != kInsertAskNext) {
        Finish(RespCompleted);
        return kEventDone;
    }
    return startNextRecord();
}

// The form stays open for another record: it starts from the values the first one had when the
// form opened, gets its own number, and is compared with that state when the user leaves it.
EventResult WindowProcedure::startNextRecord() {
    FileManager& file = primary_->file();
    if (TableDriver* driver = file.driver()) lastInserted_ = driver->position();
    guard_.release();
    snapshotGuarded();
    file.RestoreSnapshot(saved_, true);
    saved_ = 0;
    if (file.hasAutoNumber() && file.AutoNumber() != kLevelBenign) {
        saved_ = file.SnapshotBuffer();
        window_->post(EventKind::CloseWindow);
        return kEventDone;
    }
    FieldDefaultsHook();
    saved_ = file.SnapshotBuffer();
    response_ = RespCancelled;
    Refresh(true);
    selectFirstField();
    return kEventDone;
}

EventResult WindowProcedure::completeChange() {
    while (true) {
        response_ = RespCancelled;
        const bool changed = recordChanged();
        const Level result = changed ? primary_->UpdateWithRules(historyKey != 0) : kLevelBenign;
        if (result == kLevelBenign) {
            if (changed || *vcrRequest_ != 0) response_ = RespCompleted;
            discardOnClose_ = true;
            window_->post(EventKind::CloseWindow);
            return kEventDone;
        }
        if (result != kLevelUser) {
            // Reported already (the other station's values are in the buffer now).
            Refresh(true);
            return kEventDone;
        }
        // Why the record was not written (a field's rule) comes before the offer to try again.
        if (primary_->file().lastErrorId() != 0) primary_->file().RaiseLastError();
        const MessageButtons answer =
            errors_.askWithButtons(message::RecordUpdateError, kYesNoCancel, kButtonCancel);
        if (answer == kButtonYes) continue;
        if (answer == kButtonNo) {
            discardOnClose_ = true;
            window_->post(EventKind::CloseWindow);
        } else {
            selectFirstField();
        }
        return kEventDone;
    }
}

EventResult WindowProcedure::completeDelete() {
    while (true) {
        if (primary_->DeleteWithRules(deleteAction == kDeleteAsk) == kLevelBenign) {
            Finish(RespCompleted);
            return kEventDone;
        }
        const MessageButtons answer =
            errors_.askWithButtons(message::RecordDeleteError, kYesNoCancel, kButtonCancel);
        if (answer == kButtonYes) continue;
        if (answer == kButtonNo) window_->post(EventKind::CloseWindow);
        return kEventDone;
    }
}

EventResult WindowProcedure::OnClose(const Event&) {
    if (response_ == RespCompleted) return kEventGoOn;
    if (fields_) fields_->updateChanged();
    const bool editing = request_ == ReqInsert || request_ == ReqChange;
    if (!discardOnClose_ && cancelAction != 0 && editing && recordChanged())
        if (const EventResult kept = leaveChangedRecord(); kept != kEventGoOn) return kept;
    discardOnClose_ = false;
    if (request_ == ReqInsert && primary_ != nullptr &&
        primary_->file().CancelAutoNumber(primary_) != kLevelBenign)
        return kEventDone;
    if (lastInserted_) {
        response_ = RespCompleted;
        rereadLastInserted();
    }
    return kEventGoOn;
}

// The user leaves a changed record: saved for the user, kept after asking, or discarded.
// kEventGoOn lets the window close.
EventResult WindowProcedure::leaveChangedRecord() {
    const bool offerSave = (cancelAction & kCancelOfferSave) != 0;
    const bool ask = (cancelAction & kCancelAsk) != 0;
    if (offerSave && !ask) {
        if (okControl_ != 0) window_->post(EventKind::Accepted, okControl_);
        return kEventDone;
    }
    if (offerSave) {
        const MessageButtons answer =
            errors_.askWithButtons(message::SaveRecord, kYesNoCancel, kButtonCancel);
        if (answer == kButtonYes) {
            if (okControl_ != 0) window_->post(EventKind::Accepted, okControl_);
            return kEventDone;
        }
        if (answer == kButtonCancel) {
            selectFirstField();
            return kEventDone;
        }
        return kEventGoOn;
    }
    if (errors_.raise(message::ChangesWillBeLost) != kLevelBenign) {
        selectFirstField();
        return kEventDone;
    }
    return kEventGoOn;
}

void WindowProcedure::rereadLastInserted() {
    FileManager& file = primary_->file();
    TableDriver* driver = file.driver();
    if (driver == nullptr) return;
    if (driver->reget(*lastInserted_) == DriverCode::Ok) file.noteRecordRead();
}

}  // namespace dv
