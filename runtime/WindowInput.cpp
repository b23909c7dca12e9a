#include "runtime/WindowInput.h"

#include <algorithm>

namespace dv {
namespace {

InputResult refused(const Control& control, const std::string& why) {
    return {control.describe() + " " + why};
}

InputResult checkUsable(const Control& control) {
    if (!control.isVisible()) return refused(control, "is hidden");
    if (!control.isEnabled()) return refused(control, "is disabled");
    return {};
}

// Accepts the focused control when the user changed it. Returns false (after posting Rejected)
// when its text does not fit its picture; `accepted` gets the serial of the Accepted event, or
// stays 0 when there was nothing to accept.
bool acceptFocused(Window& window, std::uint64_t& accepted) {
    accepted = 0;
    Control* focus = window.focused();
    if (focus == nullptr || !focus->changedByUser()) return true;
    std::string problem = focus->pictureProblem();
    if (!problem.empty()) {
        window.post(EventKind::Rejected, focus->number(), 0, std::move(problem));
        return false;
    }
    focus->setTypedText(focus->value());
    focus->reformat();
    focus->setChangedByUser(false);
    window.post(EventKind::Accepted, *focus);
    accepted = window.lastSerial();
    return true;
}

void moveFocus(Window& window, bool backwards) {
    std::uint64_t accepted = 0;
    if (!acceptFocused(window, accepted)) return;
    Control* next = window.nextFocusable(window.focused(), backwards);
    if (accepted != 0)
        window.moveFocusAfter(accepted, next);
    else if (next && next != window.focused())
        window.select(*next);
}

Control* defaultButton(const Window& window) {
    for (const auto& control : window.controls())
        if (control->type() == ControlType::Button && control->declared().isDefault &&
            control->isVisible() && control->isEnabled())
            return control.get();
    return nullptr;
}

void moveHighlight(Window& window, Control& list, int row) {
    if (list.rowCount() == 0) return;
    const int before = list.highlighted();
    list.highlight(row);
    if (list.highlighted() != before) window.post(EventKind::NewSelection, list);
}

// Up, Down and the page keys in a list.
bool listKey(Window& window, Control& list, KeyCode key) {
    const int row = list.highlighted();
    const bool paged = list.declared().paged;
    const bool empty = list.rowCount() == 0;
    switch (key) {
        case keys::Up:
            if (row > 1)
                moveHighlight(window, list, row - 1);
            else if (paged && !empty)
                window.post(EventKind::ScrollUp, list);
            return true;
        case keys::Down:
            if (row < list.rowCount())
                moveHighlight(window, list, row + 1);
            else if (paged && !empty)
                window.post(EventKind::ScrollDown, list);
            return true;
        case keys::PgUp:
            if (paged)
                window.post(EventKind::PageUp, list);
            else
                moveHighlight(window, list, 1);
            return true;
        case keys::PgDn:
            if (paged)
                window.post(EventKind::PageDown, list);
            else
                moveHighlight(window, list, list.rowCount());
            return true;
        case keys::Home:
            if (paged)
                window.post(EventKind::ScrollTop, list);
            else
                moveHighlight(window, list, 1);
            return true;
        case keys::End:
            if (paged)
                window.post(EventKind::ScrollBottom, list);
            else
                moveHighlight(window, list, list.rowCount());
            return true;
        default:
            return false;
    }
}

InputResult enterKey(Window& window, Control* focus) {
    if (focus && focus->type() == ControlType::Button) return pressControl(window, *focus);
    if (focus && focus->type() == ControlType::List) {
        window.post(EventKind::Accepted, *focus);
        return {};
    }
    if (focus && focus->type() == ControlType::TextBox) return {};  // a line break in the box
    std::uint64_t accepted = 0;
    if (!acceptFocused(window, accepted)) return {};
    if (Control* button = defaultButton(window)) window.post(EventKind::Accepted, *button);
    return {};
}

bool liesIn(const Control& control, const Control& container) {
    for (const Control* p = control.parent(); p; p = p->parent())
        if (p == &container) return true;
    return false;
}

Control* firstFocusableIn(const Window& window, const Control& container) {
    for (int n = container.number() + 1; n <= window.controlCount(); ++n) {
        Control& candidate = window.control(n);
        if (!liesIn(candidate, container)) break;
        if (candidate.canFocus()) return &candidate;
    }
    return nullptr;
}

}  // namespace

InputResult pressKey(Window& window, KeyCode key) {
    Control* focus = window.focused();
    if (window.alerted(key, focus)) {
        window.post(EventKind::AlertKey, focus ? focus->number() : 0, key);
        return {};
    }
    switch (key) {
        case keys::Tab:
            moveFocus(window, false);
            return {};
        case keys::ShiftTab:
            moveFocus(window, true);
            return {};
        case keys::Enter:
            return enterKey(window, focus);
        case keys::Esc:
            window.post(EventKind::CloseWindow);
            return {};
        case keys::Space:
            if (focus &&
                (focus->type() == ControlType::Button || focus->type() == ControlType::Check ||
                 focus->type() == ControlType::Radio))
                return pressControl(window, *focus);
            return {};
        default:
            if (focus && focus->type() == ControlType::List) listKey(window, *focus, key);
            return {};
    }
}

InputResult focusControl(Window& window, Control& control) {
    if (!control.canFocus()) {
        InputResult why = checkUsable(control);
        return why.ok() ? refused(control, "cannot take the focus") : why;
    }
    if (window.focused() == &control) return {};
    std::uint64_t accepted = 0;
    if (!acceptFocused(window, accepted))
        return refused(*window.focused(), "refused its text; the focus stays there");
    window.select(control);
    return {};
}

InputResult typeInto(Window& window, Control& control, std::string text) {
    switch (control.type()) {
        case ControlType::Entry:
        case ControlType::Spin:
        case ControlType::TextBox:
        case ControlType::Combo:
        case ControlType::DropList:
            break;
        default:
            return refused(control, "takes no typed text");
    }
    if (InputResult why = checkUsable(control); !why.ok()) return why;
    if (control.readOnly()) return refused(control, "is read-only");
    if (window.focused() != &control) return refused(control, "does not have the focus");
    if (control.type() == ControlType::DropList) {
        const auto& choices = control.declared().choices;
        if (std::find(choices.begin(), choices.end(), text) == choices.end())
            return refused(control, "has no choice \"" + text + "\"");
    }
    control.setValue(std::move(text));
    control.setChangedByUser(true);
    return {};
}

InputResult pressControl(Window& window, Control& control) {
    if (InputResult why = checkUsable(control); !why.ok()) return why;
    switch (control.type()) {
        case ControlType::Button:
        case ControlType::Check:
        case ControlType::Radio:
            break;
        case ControlType::Item:
            window.post(EventKind::Accepted, control);
            return {};
        case ControlType::Tab:
            return chooseTab(window, control);
        case ControlType::String:
            if (control.declared().link) break;
            return refused(control, "cannot be pressed");
        default:
            return refused(control, "cannot be pressed");
    }
    if (control.canFocus()) {
        if (InputResult why = focusControl(window, control); !why.ok()) return why;
    } else {
        std::uint64_t accepted = 0;
        if (!acceptFocused(window, accepted)) return refused(*window.focused(), "refused its text");
    }
    if (control.type() == ControlType::Check) {
        control.setChecked(!control.checked());
    } else if (control.type() == ControlType::Radio) {
        Control& option = *control.parent();
        if (option.value() == control.radioValue()) return {};
        option.setValue(control.radioValue());
        window.post(EventKind::Accepted, option);
        return {};
    }
    window.post(EventKind::Accepted, control);
    return {};
}

InputResult highlightRow(Window& window, Control& list, int row) {
    if (list.type() != ControlType::List) return refused(list, "is not a list");
    if (row < 1 || row > list.rowCount())
        return refused(list, "has " + std::to_string(list.rowCount()) + " rows, not row " +
                                 std::to_string(row));
    if (InputResult why = focusControl(window, list); !why.ok()) return why;
    if (list.highlighted() != row) {
        list.highlight(row);
        window.post(EventKind::NewSelection, list);
    }
    return {};
}

InputResult markRow(Window& window, Control& list, int row) {
    if (list.type() == ControlType::List && !list.declared().multiple)
        return refused(list, "does not mark rows");
    if (InputResult why = highlightRow(window, list, row); !why.ok()) return why;
    Event event;
    event.kind = EventKind::MarkRow;
    event.control = list.number();
    event.row = row;
    window.post(std::move(event));
    return {};
}

InputResult pressColumnHeader(Window& window, Control& list, int column) {
    if (list.type() != ControlType::List) return refused(list, "is not a list");
    if (InputResult why = checkUsable(list); !why.ok()) return why;
    const int columns = static_cast<int>(list.columns().size());
    if (column < 1 || column > columns)
        return refused(list, "has " + std::to_string(columns) + " columns, not column " +
                                 std::to_string(column));
    Event event;
    event.kind = EventKind::HeaderPressed;
    event.control = list.number();
    event.column = column;
    window.post(std::move(event));
    return {};
}

InputResult rightClickRow(Window& window, Control& list, int row) {
    if (list.type() != ControlType::List) return refused(list, "is not a list");
    if (row < 0 || row > list.rowCount())
        return refused(list, "has " + std::to_string(list.rowCount()) + " rows, not row " +
                                 std::to_string(row));
    if (InputResult why = focusControl(window, list); !why.ok()) return why;
    Event event;
    event.kind = EventKind::RowMenu;
    event.control = list.number();
    event.row = row;
    window.post(std::move(event));
    return {};
}

InputResult chooseTab(Window& window, Control& tab) {
    if (tab.type() != ControlType::Tab) return refused(tab, "is not a tab");
    if (InputResult why = checkUsable(tab); !why.ok()) return why;
    Control& sheet = *tab.parent();
    if (sheet.chosenTab() == &tab) return {};
    sheet.chooseTab(tab);
    window.post(EventKind::NewSelection, sheet);
    Control* focus = window.focused();
    if (focus == nullptr || !focus->isVisible()) {
        if (Control* first = firstFocusableIn(window, tab)) window.select(*first);
    }
    return {};
}

void clickCloseBox(Window& window) {
    window.post(EventKind::CloseWindow);
}

}  // namespace dv
