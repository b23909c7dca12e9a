#include "data/SettingsManager.h"
#include "framework/ErrorReporter.h"
#include "framework/WindowPosition.h"
#include "framework/WindowProcedure.h"
#include "storage/RelationKeeper.h"

namespace dv {

Level WindowProcedure::SetUp() {
    errors_.pushProcedure(name_);
    nameRecorded_ = true;
    request_ = CallerRequest;
    originalRequest_ = request_;
    response_ = RespCancelled;
    CallerRequest = Request::None;
    CallerResponse = Response::None;

    if (primary_ != nullptr) {
        filesOpened_ = true;
        if (const Level opened = primary_->OpenAll(); opened != kLevelBenign) return opened;
    }
    if (request_ == ReqView) {
        insertAction = kInsertViewOnly;
        deleteAction = kDeleteViewOnly;
        changeAction = 0;
        cancelAction = 0;
        okControl_ = 0;
    } else {
        okControl_ = okButton_;
        if (const Level prepared = PrepareRecord(); prepared != kLevelBenign) return prepared;
    }
    openWindow();
    return kLevelBenign;
}

Level WindowProcedure::PrepareRecord() {
    snapshotGuarded();
    if (primary_ == nullptr) return kLevelBenign;
    if (request_ == ReqInsert && insertAction != 0) {
        response_ = RespCompleted;
        FieldDefaultsHook();
        if (response_ == RespCancelled) return kLevelFatal;
        response_ = RespCancelled;
    } else if (request_ == ReqDelete &&
               (deleteAction == kDeleteAsk || deleteAction == kDeleteSilently)) {
        const Level deleted = primary_->DeleteWithRules(deleteAction == kDeleteAsk);
        response_ = deleted == kLevelBenign ? RespCompleted : RespCancelled;
        return kLevelFatal;
    }
    saved_ = primary_->file().SnapshotBuffer();
    return kLevelBenign;
}

void WindowProcedure::openWindow() {
    window_ = std::make_unique<Window>(layout_);
    opened_ = true;
    setCaptionByRequest();
    const WindowGeometry asOpened = window_->geometry();
    if (settings_ != nullptr) restoreWindowPosition(*settings_, name_, *window_);
    fields_ = std::make_unique<FormFields>(*window_);
    for (const std::string& control : historyControls_)
        if (const FormVariable* variable = fields_->variableOf(window_->control(control)))
            history_.add(number(control), *variable);
    if (historyKey != 0) window_->alert(historyKey);
    for (const auto& [key, button] : keyButtons_) window_->alert(key);
    if (window_->isResizable()) resizer_->attach(*window_, asOpened);
    if (toolbar_ != nullptr) toolbar_->setUpForForm(request_, historyKey != 0, false);
    Refresh(true);
}

void WindowProcedure::setCaptionByRequest() {
    if (primary_ == nullptr) return;
    if (request_ == ReqInsert) window_->setCaption(std::string(kCaptionInsert));
    if (request_ == ReqChange) window_->setCaption(std::string(kCaptionChange));
    if (request_ == ReqView) window_->setCaption(std::string(kCaptionView));
}

void WindowProcedure::AfterOpen() {
    Refresh(true);
    inited_ = true;
}

void WindowProcedure::TearDown() {
    for (WindowComponent* component : components_) component->Kill();
    releaseAtEnd(true);
}

// The end of the procedure: the lists released, the snapshots dropped (the guarded tables' buffers
// put back), the toolbar and resizer let go, the tables closed, the window's position kept and
// the procedure's name removed. Used by TearDown and, without showing anything, by the
// destructor when the procedure never reached its end (`orderly` false).
void WindowProcedure::releaseAtEnd(bool orderly) {
    components_.clear();
    buttons_.clear();
    guard_.release();
    if (saved_ != 0 && primary_ != nullptr) primary_->file().RestoreSnapshot(saved_, false);
    saved_ = 0;
    // The toolbar may belong to a derived procedure that is gone when the destructor gets here.
    if (toolbar_ != nullptr && orderly) toolbar_->disableAll();
    toolbar_ = nullptr;
    resizer_->end();
    dead_ = true;
    if (filesOpened_ && primary_ != nullptr) primary_->CloseAll();
    filesOpened_ = false;
    // A form that did not complete leaves no navigation for its caller to follow.
    if (response_ != RespCompleted) *vcrRequest_ = 0;
    if (opened_ && orderly) savePosition();
    if (window_) window_->close();
    if (nameRecorded_) errors_.popProcedure(name_);
    nameRecorded_ = false;
}

void WindowProcedure::savePosition() {
    if (settings_ == nullptr) return;
    const FileResult saved = saveWindowPosition(*settings_, name_, *window_);
    if (saved.ok()) return;
    MessageBoxRequest box;
    box.caption = " INFORMACIJA";
    box.text = "The window's position could not be kept.||" + saved.error;
    box.icon = MessageIcon::Exclamation;
    currentFrontEnd().messageBox(box);
}

void WindowProcedure::snapshotGuarded() {
    for (FileManager* file : guardedFiles_) guard_.keep(*file);
}

}  // namespace dv
