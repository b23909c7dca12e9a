#include "framework/FormKeyboard.h"

#include "framework/FormFields.h"
#include "runtime/FrontEnd.h"
#include "runtime/PictureFormat.h"
#include "runtime/TextCase.h"
#include "runtime/WindowInput.h"

namespace dv {
namespace {

// Controls where Enter moves to the next field. Buttons, lists and text boxes keep the
// runtime's own Enter (press, select, line break).
bool entersNextField(ControlType type) {
    switch (type) {
        case ControlType::Entry:
        case ControlType::Spin:
        case ControlType::Combo:
        case ControlType::DropList:
        case ControlType::Check:
        case ControlType::Radio:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool isDateField(const Control& control) {
    if (control.picture().empty()) return false;
    const auto picture = Picture::parse(control.picture());
    return picture && picture->kind() == PictureKind::date;
}

FormKeyboard::FormKeyboard(Window& window, const FormFields* fields)
    : window_(window), fields_(fields) {
    for (const auto& control : window.controls()) {
        if (entersNextField(control->type())) control->alert(keys::Enter);
        if (isDateField(*control)) control->alert(keys::F(6));
    }
}

EventResult FormKeyboard::TakeEvent(const Event& event) {
    if (event.kind != EventKind::AlertKey || event.control < 1 ||
        event.control > window_.controlCount())
        return kEventGoOn;
    Control& control = window_.control(event.control);
    if (event.key == keys::Enter) {
        nextField(control);
        return kEventDone;
    }
    if (event.key == keys::F(6) && isDateField(control)) {
        calendar(control);
        return kEventDone;
    }
    return kEventGoOn;
}

void FormKeyboard::nextField(Control& control) {
    switch (control.type()) {
        case ControlType::Button:
            pressControl(window_, control);
            return;
        case ControlType::List:
            // The list's own selection key, as the runtime takes Enter in a list.
            window_.post(EventKind::Accepted, control);
            return;
        case ControlType::TextBox:
            // A line break inside the box; the user moves on with Tab.
            return;
        default:
            pressKey(window_, keys::Tab);
    }
}

bool FormKeyboard::calendar(Control& control) {
    if (fields_ != nullptr) fields_->update(control);
    const Picture picture = Picture::of(control.picture());
    const auto typed = deformatDate(control.value(), picture);
    DatePickerRequest request;
    request.caption = kCalendarCaption;
    request.start = typed.ok() ? typed.value : 0;
    const std::optional<DayNumber> chosen = currentFrontEnd().pickDate(request);
    if (!chosen || *chosen == 0) return false;
    const std::string text(trimTrailingBlanks(formatDate(*chosen, picture)));
    if (text.empty()) return false;
    control.setValue(text);
    control.setChangedByUser(true);
    return true;
}

}  // namespace dv
