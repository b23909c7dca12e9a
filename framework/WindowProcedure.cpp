#include "framework/WindowProcedure.h"

#include <stdexcept>

#include "framework/ErrorReporter.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "runtime/ProcedureCall.h"
#include "storage/RelationKeeper.h"

namespace dv {

WindowProcedure::WindowProcedure(std::string name)
    : WindowProcedure(name, procedureLayout(name), programErrors(), &programSettings()) {}

WindowProcedure::WindowProcedure(std::string name, const WindowLayout& layout,
                                 ErrorReporter& errors, SettingsManager* settings)
    : name_(std::move(name)),
      layout_(layout),
      errors_(errors),
      settings_(settings),
      vcrRequest_(&CallerVcrRequest) {
    for (const ControlLayout& declared : layout_.controls) {
        if (declared.type != ControlType::Button) continue;
        const int control = layout_.numberOf(declared);
        if (declared.key != 0) keyButtons_.emplace_back(declared.key, control);
        if (!declared.call.empty()) callButtons_.push_back({control, declared.call});
    }
}

WindowProcedure::~WindowProcedure() {
    // A procedure ended early (the program shuts down while it waits) still gives back what it
    // holds; nothing is shown any more.
    if (!dead_) releaseAtEnd(false);
}

int WindowProcedure::number(std::string_view control) const {
    const ControlLayout* declared = layout_.find(control);
    if (declared == nullptr)
        throw std::invalid_argument("window " + layout_.name + " has no control ?" +
                                    std::string(control));
    return layout_.numberOf(*declared);
}

Control* WindowProcedure::controlAt(int number) const {
    if (!window_ || number < 1 || number > window_->controlCount()) return nullptr;
    return &window_->control(number);
}

void WindowProcedure::AddEndButton(std::string_view control, Response response) {
    buttons_.emplace_back(number(control), response);
}

void WindowProcedure::AddCallButton(std::string_view control, std::string procedure, KeyCode key) {
    const int button = number(control);
    callButtons_.push_back({button, std::move(procedure)});
    if (key != 0) keyButtons_.emplace_back(key, button);
}

// A key that presses a button presses it as a click does, and only while it could be clicked.
bool WindowProcedure::pressKeyButton(KeyCode key) {
    bool pressed = false;
    for (const auto& [buttonKey, button] : keyButtons_) {
        if (buttonKey != key) continue;
        Control* control = controlAt(button);
        if (control != nullptr && control->isEnabled() && control->isVisible())
            window_->post(EventKind::Accepted, *control);
        pressed = true;
    }
    return pressed;
}

bool WindowProcedure::takeCallButton(int control) {
    for (const CallButton& button : callButtons_) {
        if (button.control != control) continue;
        callProcedure(procedureByName(button.procedure), Request::None);
        AfterCall();
        return true;
    }
    return false;
}

void WindowProcedure::AddHistoryControl(std::string_view control) {
    number(control);
    historyControls_.emplace_back(control);
}

Response WindowProcedure::Execute() {
    if (SetUp() == kLevelBenign) RunLoop();
    TearDown();
    return response_ != Response::None ? response_ : RespCancelled;
}

void WindowProcedure::Finish(Response response) {
    response_ = response;
    if (window_) window_->post(EventKind::CloseWindow);
}

void WindowProcedure::RunLoop() {
    if (!dead_) lastInserted_.reset();
    while (window_ && window_->isOpen()) {
        const Event event = window_->nextEvent();
        const EventResult result = OnEvent(event);
        if (result == kEventEndLoop) break;
        const bool closing =
            event.kind == EventKind::CloseWindow || event.kind == EventKind::CloseDown;
        if (closing && result == kEventGoOn) window_->close();
    }
}

EventResult WindowProcedure::OnEvent(const Event& event) {
    EventResult result = kEventGoOn;
    if (event.isWindowEvent()) {
        result = OnWindowEvent(event);
    } else {
        result = dispatchByKind(event);
        if (result == kEventGoOn) result = OnControlEvent(event);
    }
    for (WindowComponent* component : components_) {
        if (result != kEventGoOn) break;
        result = component->TakeEvent(event);
    }
    if (autoRefresh && window_ && window_->isOpen()) {
        bool needed = forcedReset_;
        for (WindowComponent* component : components_) needed = needed || component->NeedsRefresh();
        if (needed) Refresh(forcedReset_);
    }
    return result;
}

namespace {

// The Rejected event for an accepted control whose value its variable cannot hold.
Event valueRefused(const Event& accepted, const Control& control) {
    Event rejected = accepted;
    rejected.kind = EventKind::Rejected;
    rejected.detail = "Vrednosti \"" + control.value() + "\" ni mogoče shraniti v to polje.";
    return rejected;
}

}  // namespace

EventResult WindowProcedure::dispatchByKind(const Event& event) {
    Control* control = controlAt(event.control);
    switch (event.kind) {
        case EventKind::Accepted:
            // The runtime reads an accepted control into its variable before anyone sees it. A
            // value the picture lets through but the variable cannot hold (70000 for a 16-bit
            // number) is refused like text that does not fit: kept, it would be shown but never
            // saved.
            if (control != nullptr && fields_ && fields_->variableOf(*control) != nullptr &&
                !fields_->update(*control))
                return OnRejected(valueRefused(event, *control));
            return OnAccepted(event);
        case EventKind::NewSelection:
            return OnNewSelection(event);
        case EventKind::AlertKey:
            if (historyKey != 0 && event.key == historyKey && control != nullptr) {
                RecallField(*control);
                return kEventDone;
            }
            return pressKeyButton(event.key) ? kEventDone : kEventGoOn;
        case EventKind::Rejected:
            return OnRejected(event);
        case EventKind::Selected:
            return OnSelected(event);
        default:
            return kEventGoOn;
    }
}

EventResult WindowProcedure::OnWindowEvent(const Event& event) {
    switch (event.kind) {
        case EventKind::CloseWindow:
        case EventKind::CloseDown:
            return OnClose(event);
        case EventKind::OpenWindow:
            if (!inited_) AfterOpen();
            selectFirstField();
            return kEventGoOn;
        case EventKind::GainFocus:
            if (resetOnGainFocus) forcedReset_ = true;
            return kEventGoOn;
        case EventKind::Completed:
            return OnCompleted(event);
        default:
            return kEventGoOn;
    }
}

EventResult WindowProcedure::OnControlEvent(const Event&) {
    return kEventGoOn;
}

EventResult WindowProcedure::OnNewSelection(const Event& event) {
    const Control* control = controlAt(event.control);
    if (control != nullptr && control->type() == ControlType::Sheet) Refresh();
    return kEventGoOn;
}

EventResult WindowProcedure::OnRejected(const Event& event) {
    Control* control = controlAt(event.control);
    if (control == nullptr) return kEventGoOn;
    // The runtime only beeps; the user is told why the text was refused before it goes back to
    // the value the field holds.
    if (!event.detail.empty()) {
        MessageBoxRequest box;
        box.caption = " INFORMACIJA";
        box.text = event.detail;
        box.icon = MessageIcon::Exclamation;
        currentFrontEnd().messageBox(box);
    }
    if (fields_) fields_->display(*control);
    window_->select(*control);
    return kEventDone;
}

EventResult WindowProcedure::OnSelected(const Event&) {
    return kEventGoOn;
}

void WindowProcedure::Refresh(bool force) {
    for (WindowComponent* component : components_) component->Reset(force);
    if (fields_) fields_->display();
    forcedReset_ = false;
}

void WindowProcedure::RecallField(Control& control) {
    if (!history_.recall(control.number())) return;
    if (fields_) fields_->display(control);
}

void WindowProcedure::selectFirstField() {
    Control* first = controlAt(firstField_);
    if (first != nullptr && first->canFocus()) window_->select(*first);
}

bool WindowProcedure::recordChanged() const {
    return primary_ != nullptr && saved_ != 0 && !primary_->file().SnapshotEquals(saved_);
}

}  // namespace dv
