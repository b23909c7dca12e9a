#include "framework/FormToolbar.h"

#include <stdexcept>

namespace dv {
namespace {

constexpr const char* kAddAnother = "Save record and add another";

struct NavigationTip {
    int control;
    const char* tip;
};

constexpr NavigationTip kChangeTips[] = {
    {toolbar::Bottom, "Save changes and go to last record"},
    {toolbar::Top, "Save changes and go to first record"},
    {toolbar::PageDown, "Save changes and page down to record"},
    {toolbar::PageUp, "Save changes and page up to record"},
    {toolbar::Down, "Save changes and go to next record"},
    {toolbar::Up, "Save changes and go to previous record"},
    {toolbar::Insert, "Save this record and add a new one"},
};

}  // namespace

void FormToolbar::setUpForForm(Request request, bool hasHistoryKey, bool hasHelp) {
    disableAll();
    if (request == ReqInsert) {
        set(toolbar::Insert, true, kAddAnother);
        set(toolbar::Down, true, kAddAnother);
    } else if (request == ReqChange) {
        for (const NavigationTip& tip : kChangeTips) set(tip.control, true, tip.tip);
    }
    set(toolbar::History, hasHistoryKey);
    set(toolbar::Help, hasHelp);
}

void FormToolbar::disableAll() {
    for (Button& b : buttons_) b = Button{};
}

bool FormToolbar::isNavigation(int control) {
    return control == toolbar::Insert || (control >= toolbar::Bottom && control <= toolbar::Up);
}

const FormToolbar::Button& FormToolbar::button(int control) const {
    if (!isToolbarControl(control))
        throw std::out_of_range("the toolbar has no control " + std::to_string(control));
    return buttons_[static_cast<std::size_t>(control - toolbar::First)];
}

void FormToolbar::set(int control, bool enabled, std::string tip) {
    Button& b = buttons_[static_cast<std::size_t>(control - toolbar::First)];
    b.enabled = enabled;
    if (!tip.empty()) b.tip = std::move(tip);
}

}  // namespace dv
