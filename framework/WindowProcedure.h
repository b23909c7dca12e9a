#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/FormFields.h"
#include "framework/FormHistory.h"
#include "framework/FormToolbar.h"
#include "framework/WindowComponent.h"
#include "framework/WindowResizer.h"
#include "runtime/ProcedureCall.h"
#include "runtime/Window.h"
#include "storage/FileManager.h"
#include "storage/TableDriver.h"
#include "storage/TableGuard.h"

namespace dv {

class ErrorReporter;
class RelationKeeper;
class SettingsManager;

// What a form does after a successful insert (INSERTACTION).
inline constexpr int kInsertViewOnly = 1;
inline constexpr int kInsertClose = 2;    // end with RespCompleted
inline constexpr int kInsertNext = 3;     // start the next new record at once
inline constexpr int kInsertAskNext = 4;  // ask "Record Added"; Yes starts the next record

// How a form handles a delete request (DELETEACTION).
inline constexpr int kDeleteViewOnly = 1;
inline constexpr int kDeleteAsk = 2;       // ask "Confirm Delete", delete, never show the form
inline constexpr int kDeleteOnForm = 3;    // show the form, delete on OK
inline constexpr int kDeleteSilently = 4;  // delete without asking and without the form

// How a form leaves a changed record (CANCELACTION, a bit set).
inline constexpr int kCancelOfferSave = 1;  // the record may be saved
inline constexpr int kCancelAsk = 2;        // the user is asked

// The window captions a form sets for its request.
inline constexpr std::string_view kCaptionInsert = "Dodajanje zapisa";
inline constexpr std::string_view kCaptionChange = "Spreminjanje zapisa";
inline constexpr std::string_view kCaptionView = "Vpogled podatkov";

// The life cycle every window of the program shares: set-up (the procedure's name recorded, the
// tables opened, the record prepared for the request, the window opened at its saved position),
// an event loop that hands each event to the procedure's handlers and to the window's
// components, and an orderly end (tables closed, the window's position saved).
//
// A form is a window procedure with a primary table: it is called with a request through
// CallerRequest, inserts, changes or deletes the record in the table's buffer by that request,
// and returns RespCompleted or RespCancelled. Its input controls edit the variables their names
// name (see FormFields); the procedure shows the variables when it refreshes and reads a control
// back when it is accepted.
//
// A procedure configures the object before Execute (primary table, first field, OK and end
// buttons, history fields, components, actions) and derives from it to add its own handling:
// the handlers return kEventGoOn (go on), kEventDone (the event is finished) or kEventEndLoop.
// A button whose layout line gives a key (`key=F5`) is pressed by that key from anywhere in the
// window; one that names a procedure (`call=NAME`) calls it on the window's thread.
//
//   WindowProcedure info("InvInfo");
//   info.AddEndButton("?Zapri", RespCompleted);
//   return info.Execute();
class WindowProcedure {
  public:
    // The procedure `name` with the layout of that name, the program's error reporter and its
    // settings file, which keeps the window's position.
    explicit WindowProcedure(std::string name);
    // `settings` keeps the window's position; without it the position is not kept.
    WindowProcedure(std::string name, const WindowLayout& layout, ErrorReporter& errors,
                    SettingsManager* settings = nullptr);
    virtual ~WindowProcedure();
    WindowProcedure(const WindowProcedure&) = delete;
    WindowProcedure& operator=(const WindowProcedure&) = delete;

    // ---- configuration, before Execute. Control names that the layout lacks throw
    // std::invalid_argument.

    // PRIMARY: the form's table, opened (with the tables its rules need) for the procedure.
    void setPrimary(RelationKeeper& primary) { primary_ = &primary; }
    // FIRSTFIELD: the control focused when the window opens and after a failed save.
    void setFirstField(std::string_view control) { firstField_ = number(control); }
    // The OK button (OKCONTROL unless the form only shows the record).
    void setOkControl(std::string_view control) { okButton_ = number(control); }
    // BUTTONS: pressing the control ends the window with `response`.
    void AddEndButton(std::string_view control, Response response);
    // FILES: a table whose record buffer is saved at set-up and put back at the end.
    void AddGuardedTable(FileManager& file) { guardedFiles_.push_back(&file); }
    // Pressing `control` calls the procedure of that name on this thread; `key`, when given,
    // presses the control from anywhere in the window.
    void AddCallButton(std::string_view control, std::string procedure, KeyCode key = 0);
    // HISTORY: the control's variable is remembered at each save; the history key recalls it.
    void AddHistoryControl(std::string_view control);
    void AddComponent(WindowComponent& component) { components_.push_back(&component); }
    void AttachToolbar(FormToolbar& toolbar) { toolbar_ = &toolbar; }
    // Replaces the resizer every resizable window gets.
    void AttachResizer(WindowResizer& resizer) { resizer_ = &resizer; }
    // VCRREQUEST: where a toolbar navigation is stored; CallerVcrRequest by default.
    void setVcrRequest(std::int32_t& variable) { vcrRequest_ = &variable; }

    bool autoRefresh = true;                           // AUTOREFRESH
    bool autoToolbar = true;                           // AUTOTOOLBAR
    int cancelAction = kCancelOfferSave | kCancelAsk;  // CANCELACTION
    int changeAction = 1;                              // CHANGEACTION
    int deleteAction = kDeleteAsk;                     // DELETEACTION
    int insertAction = kInsertClose;                   // INSERTACTION
    bool resetOnGainFocus = false;                     // RESETONGAINFOCUS
    KeyCode historyKey = 0;                            // HISTORYKEY: the forms use Ctrl+'

    // ---- the operations, in the order of their slots

    // Takes events until a handler ends the loop or the window closes.
    virtual void RunLoop();
    // Set-up; 0 goes on, anything else ends the procedure before its loop.
    [[nodiscard]] virtual Level SetUp();
    virtual void TearDown();
    // After the window opened: refresh, set-up finished.
    virtual void AfterOpen();
    // The procedure's own initial values of a new record.
    virtual void FieldDefaultsHook() {}
    // Prepares the primary record for the request; 0 opens the window.
    [[nodiscard]] virtual Level PrepareRecord();
    // Refreshes the components and shows the variables again.
    virtual void Refresh(bool force = false);
    // The history ("ditto") function: the value last saved in the control's field comes back.
    virtual void RecallField(Control& control);
    // SetUp; RunLoop when it gave 0; TearDown. Returns RESPONSE.
    Response Execute();
    // Stores the response and asks the window to close.
    void Finish(Response response);

    [[nodiscard]] virtual EventResult OnAccepted(const Event& event);
    [[nodiscard]] virtual EventResult OnCompleted(const Event& event);
    [[nodiscard]] virtual EventResult OnClose(const Event& event);
    [[nodiscard]] virtual EventResult OnEvent(const Event& event);
    [[nodiscard]] virtual EventResult OnControlEvent(const Event& event);
    [[nodiscard]] virtual EventResult OnNewSelection(const Event& event);
    [[nodiscard]] virtual EventResult OnRejected(const Event& event);
    [[nodiscard]] virtual EventResult OnSelected(const Event& event);
    [[nodiscard]] virtual EventResult OnWindowEvent(const Event& event);

    // ---- state

    const std::string& name() const { return name_; }
    const WindowLayout& layout() const { return layout_; }
    ErrorReporter& errors() const { return errors_; }
    RelationKeeper* primary() const { return primary_; }
    // The window, nullptr until it opens.
    Window* window() const { return window_.get(); }
    // The link of its controls and variables, nullptr until the window opens.
    FormFields* fields() const { return fields_.get(); }
    FormToolbar* toolbar() const { return toolbar_; }
    const FormHistory& history() const { return history_; }
    Request request() const { return request_; }
    Request originalRequest() const { return originalRequest_; }
    Response response() const { return response_; }
    void setResponse(Response response) { response_ = response; }
    int firstField() const { return firstField_; }
    // OKCONTROL: 0 while the form cannot save.
    int okControl() const { return okControl_; }
    bool dead() const { return dead_; }
    bool inited() const { return inited_; }
    bool opened() const { return opened_; }
    bool filesOpened() const { return filesOpened_; }
    bool forcedReset() const { return forcedReset_; }
    // LASTINSERTEDPOSITION: the record last inserted while the form stayed open.
    const std::optional<DriverPosition>& lastInsertedPosition() const { return lastInserted_; }

    // Focuses FIRSTFIELD (when the form has one).
    void selectFirstField();

  protected:
    // After a call button's procedure has returned.
    virtual void AfterCall() {}
    // The number of a control of the layout; throws std::invalid_argument when it lacks it.
    int number(std::string_view control) const;
    // The control of that number in the open window, nullptr for any other number.
    Control* controlAt(int number) const;
    // Whether the buffer differs from the snapshot taken when the record was prepared.
    bool recordChanged() const;
    // Gives back what a procedure that never reached its end holds (as the destructor does). A
    // derived procedure that owns what the release uses (its own relation keeper) calls it in
    // its destructor, before its members are gone.
    void ReleaseUnlessEnded() {
        if (!dead_) releaseAtEnd(false);
    }

  private:
    struct CallButton {
        int control;
        std::string procedure;
    };

    void openWindow();
    void setCaptionByRequest();
    EventResult dispatchByKind(const Event& event);
    EventResult takeToolbar(int control);
    bool pressKeyButton(KeyCode key);
    bool takeCallButton(int control);
    void pressOk();
    EventResult completeInsert();
    EventResult completeChange();
    EventResult completeDelete();
    EventResult startNextRecord();
    EventResult leaveChangedRecord();
    void rereadLastInserted();
    void snapshotGuarded();
    void savePosition();
    void releaseAtEnd(bool orderly);
    bool sameRequest(Request request) const { return request_ == request; }

    const std::string name_;
    const WindowLayout& layout_;
    ErrorReporter& errors_;
    SettingsManager* settings_;
    RelationKeeper* primary_ = nullptr;
    std::unique_ptr<Window> window_;
    std::unique_ptr<FormFields> fields_;
    std::vector<WindowComponent*> components_;
    std::vector<std::pair<int, Response>> buttons_;
    std::vector<FileManager*> guardedFiles_;
    TableGuard guard_;
    std::vector<CallButton> callButtons_;
    std::vector<std::pair<KeyCode, int>> keyButtons_;
    std::vector<std::string> historyControls_;
    FormHistory history_;
    FormToolbar* toolbar_ = nullptr;
    WindowResizer ownResizer_;
    WindowResizer* resizer_ = &ownResizer_;
    std::int32_t* vcrRequest_;
    Request request_ = Request::None;
    Request originalRequest_ = Request::None;
    Response response_ = RespCancelled;
    int firstField_ = 0;
    int okButton_ = 0;
    int okControl_ = 0;
    SnapshotHandle saved_ = 0;
    std::optional<DriverPosition> lastInserted_;
    bool dead_ = false;
    bool inited_ = false;
    bool opened_ = false;
    bool filesOpened_ = false;
    bool forcedReset_ = false;
    bool nameRecorded_ = false;
    bool discardOnClose_ = false;
};

}  // namespace dv
