#include "frontend/qt/ControlWidgets.h"

#include <QAction>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QWheelEvent>
#include <QWidget>

#include "frontend/qt/QtKeys.h"
#include "frontend/qt/QtText.h"
#include "runtime/WindowDesktop.h"
#include "runtime/WindowInput.h"

namespace dv {
namespace {

// The property that ties a watched widget to its control's number (0: the window itself).
constexpr const char* kControlProperty = "dvControl";

bool userMovedFocus(Qt::FocusReason reason) {
    return reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
           reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
}

bool pressable(ControlType type) {
    return type == ControlType::Button || type == ControlType::Check ||
           type == ControlType::Radio;
}

// Keys the window model handles itself whatever the procedure alerted; the others stay with
// the widget (typing, moving the cursor) unless the procedure alerted them.
bool windowKey(KeyCode key, const Control* control) {
    const ControlType type = control ? control->type() : ControlType::String;
    switch (key) {
        case keys::Tab:
        case keys::ShiftTab:
        case keys::Esc:
            return true;
        case keys::Enter:
            return type != ControlType::TextBox;
        case keys::Up:
        case keys::Down:
        case keys::PgUp:
        case keys::PgDn:
        case keys::Home:
        case keys::End:
            return type == ControlType::List;
        case keys::Space:
            return pressable(type);
        default:
            return false;
    }
}

}  // namespace

ControlWidgets::ControlWidgets(Window& window, QWidget& host, std::function<void()> afterInput,
                               WindowChrome chrome)
    : window_(&window),
      afterInput_(std::move(afterInput)),
      bindings_(static_cast<std::size_t>(window.controlCount())) {
    build(host, chrome);
    watch(host, 0);
}

ControlWidgets::~ControlWidgets() = default;

QWidget* ControlWidgets::widget(int number) const {
    if (number < 1 || number > static_cast<int>(bindings_.size())) return nullptr;
    return bindings_[static_cast<std::size_t>(number - 1)].widget;
}

QWidget* ControlWidgets::widget(std::string_view name) const {
    if (window_ == nullptr) return nullptr;
    const Control* control = window_->find(name);
    return control ? widget(control->number()) : nullptr;
}

QAction* ControlWidgets::action(std::string_view name) const {
    if (window_ == nullptr) return nullptr;
    const Control* control = window_->find(name);
    return control ? bindings_[static_cast<std::size_t>(control->number() - 1)].action : nullptr;
}

void ControlWidgets::watch(QObject& object, int number) {
    object.setProperty(kControlProperty, number);
    object.installEventFilter(this);
}

// ---- input

void ControlWidgets::bringForward() {
    if (!window_->isFrame() && window_->desktop().focused() != window_)
        window_->desktop().activate(*window_);
}

void ControlWidgets::finishInput() {
    if (afterInput_) afterInput_();
}

void ControlWidgets::typed(int number, const QString& text) {
    if (!accepting()) return;
    Window& window = *window_;
    Control& control = window.control(number);
    const std::uint64_t before = window.lastSerial();
    bringForward();
    if (window.focused() != &control) focusControl(window, control);
    const InputResult result = typeInto(window, control, fromQString(text));
    // Nothing for the procedure yet unless the focus moved; a refused text is shown back as the
    // model holds it.
    if (!result.ok() || window.lastSerial() != before) finishInput();
}

void ControlWidgets::pressed(int number) {
    if (!accepting()) return;
    bringForward();
    pressControl(*window_, window_->control(number));
    finishInput();
}

void ControlWidgets::focused(int number, const QFocusEvent& event) {
    if (!accepting() || number == 0 || !userMovedFocus(event.reason())) return;
    Control& control = window_->control(number);
    bringForward();
    if (window_->focused() != &control) focusControl(*window_, control);
    finishInput();
}

bool ControlWidgets::keyPressed(int number, const QKeyEvent& event) {
    if (!accepting()) return false;
    Window& window = *window_;
    Control* control = number > 0 ? &window.control(number) : window.focused();
    // A list moves only as its procedure moves it: the view's own key handling (its type-ahead
    // search among others) would show another row than the model's.
    const bool list = control != nullptr && control->type() == ControlType::List;
    const std::optional<KeyCode> key = keyCodeOf(event);
    if (!key) return list;
    if (!window.alerted(*key, window.focused()) && !windowKey(*key, control)) return list;
    bringForward();
    if (control != nullptr && window.focused() != control && control->canFocus())
        focusControl(window, *control);
    pressKey(window, *key);
    finishInput();
    return true;
}

bool ControlWidgets::wheeled(int number, int delta) {
    if (!accepting() || number == 0 || delta == 0) return false;
    Control& list = window_->control(number);
    if (list.type() != ControlType::List || !list.declared().paged) return false;
    bringForward();
    if (window_->focused() != &list && !focusControl(*window_, list).ok()) {
        finishInput();
        return true;
    }
    pressKey(*window_, delta > 0 ? keys::Up : keys::Down);
    finishInput();
    return true;
}

void ControlWidgets::rowChosen(int number, int row, bool activate) {
    if (!accepting()) return;
    Window& window = *window_;
    Control& list = window.control(number);
    bringForward();
    const InputResult result = highlightRow(window, list, row);
    if (result.ok() && activate && window.focused() == &list) pressKey(window, keys::Enter);
    finishInput();
}

void ControlWidgets::headerClicked(int number, int column) {
    if (!accepting()) return;
    bringForward();
    pressColumnHeader(*window_, window_->control(number), column);
    finishInput();
}

void ControlWidgets::rowMenu(int number, int row) {
    if (!accepting()) return;
    bringForward();
    rightClickRow(*window_, window_->control(number), row);
    finishInput();
}

// Ctrl+click on a row of a list that marks rows marks it (or takes its mark away) instead of
// only highlighting it; the view's own selection is left alone, it shows the model's marks.
bool ControlWidgets::ctrlClicked(int number, const QMouseEvent& event) {
    if (number == 0 || event.button() != Qt::LeftButton ||
        !(event.modifiers() & Qt::ControlModifier))
        return false;
    Control& list = window_->control(number);
    if (list.type() != ControlType::List || !list.declared().multiple) return false;
    auto* view = qobject_cast<QTableView*>(bindings_[static_cast<std::size_t>(number - 1)].widget);
    if (view == nullptr) return false;
    const QModelIndex index = view->indexAt(event.position().toPoint());
    if (!index.isValid()) return true;
    bringForward();
    markRow(*window_, list, index.row() + 1);
    finishInput();
    return true;
}

void ControlWidgets::tabChosen(int sheet, int index) {
    if (!accepting() || index < 0) return;
    const std::vector<Control*> tabs = window_->control(sheet).members();
    if (index >= static_cast<int>(tabs.size())) return;
    bringForward();
    chooseTab(*window_, *tabs[static_cast<std::size_t>(index)]);
    finishInput();
}

bool ControlWidgets::eventFilter(QObject* watched, QEvent* event) {
    if (!accepting()) return false;
    const QVariant property = watched->property(kControlProperty);
    if (!property.isValid()) return false;
    const int number = property.toInt();
    switch (event->type()) {
        case QEvent::FocusIn:
            focused(number, *static_cast<QFocusEvent*>(event));
            return false;
        case QEvent::KeyPress:
            return keyPressed(number, *static_cast<QKeyEvent*>(event));
        case QEvent::KeyRelease:
            // The press went to the model; the widget must not act on the release as well.
            return number > 0 && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space &&
                   pressable(window_->control(number).type());
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return ctrlClicked(number, *static_cast<QMouseEvent*>(event));
        case QEvent::Wheel:
            return wheeled(number, static_cast<QWheelEvent*>(event)->angleDelta().y());
        default:
            return false;
    }
}

}  // namespace dv
