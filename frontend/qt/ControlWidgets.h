#pragma once

#include <QObject>
#include <functional>
#include <string_view>
#include <vector>

#include "runtime/Window.h"

class QAction;
class QFocusEvent;
class QKeyEvent;
class QLabel;
class QMouseEvent;
class QMenuBar;
class QTabWidget;
class QToolBar;
class QWidget;

namespace dv {

class ListTableModel;

// Where a window's menus and toolbar buttons go: the application frame passes its own menu bar
// and toolbar; any other window that declares them gets its own inside its host widget.
struct WindowChrome {
    QMenuBar* menuBar = nullptr;
    QToolBar* toolBar = nullptr;
};

// The widgets of one window's controls, made from its layout inside a host widget and kept in
// step with the model both ways.
//
// Model to widgets: refresh() shows texts, values, list rows, states (enabled, hidden,
// read-only), tips, colours and, in the focused window, the focused control.
//
// Widgets to model: what the user does (types, clicks, chooses a row, a column heading, a tab, a
// menu item, presses
// the keys the window handles: Tab, Enter, Esc, the keys its procedure alerted) becomes model
// input through WindowInput.h; then `afterInput` runs, in which the desktop lets the
// procedures run and refreshes every window. Input only reaches the model while the widgets are
// attached to it: detach() when the model window is gone.
//
// Nothing is laid out by pixel: prompt and input rows go into a form layout, lists, sheets,
// groups and strings span its width, and a container's buttons form a row at its bottom.
class ControlWidgets : public QObject {
  public:
    ControlWidgets(Window& window, QWidget& host, std::function<void()> afterInput,
                   WindowChrome chrome = {});
    ~ControlWidgets() override;
    ControlWidgets(const ControlWidgets&) = delete;
    ControlWidgets& operator=(const ControlWidgets&) = delete;

    // The model window; nullptr once detached.
    Window* window() const { return window_; }
    void detach() { window_ = nullptr; }

    // Shows the model's state. `focusedWindow`: this window has the desktop's focus, so the
    // keyboard focus goes to its focused control.
    void refresh(bool focusedWindow);

    // The widget that shows a control (a tab's page; nullptr for menus, items and toolbar
    // buttons, and for unknown names), and the action of a menu, item or toolbar button.
    QWidget* widget(std::string_view name) const;
    QWidget* widget(int number) const;
    QAction* action(std::string_view name) const;

    // Takes the keys, focus and wheel of `object` as the user's input to control `number` (0:
    // the window itself).
    void watch(QObject& object, int number);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What shows one control (indexed by control number - 1).
    struct Binding {
        QWidget* widget = nullptr;
        QAction* action = nullptr;        // a menu, item or toolbar button
        QTabWidget* sheet = nullptr;      // a tab: the sheet it is a page of
        ListTableModel* rows = nullptr;   // a list
        Colour foreground = kDefaultColour;  // the colours last shown
        Colour background = kDefaultColour;
    };

    // Building (ControlWidgetsBuild.cpp, ControlMenus.cpp).
    void build(QWidget& host, WindowChrome chrome);
    void layOut(QWidget& host, const std::vector<Control*>& children);
    QWidget* make(Control& control, QWidget& parent);
    QWidget* makeInput(Control& control, QWidget& parent);
    QWidget* makeList(Control& control, QWidget& parent);
    QWidget* makeSheet(Control& control, QWidget& parent);
    QWidget* makeContainer(Control& control, QWidget& parent);
    void buildChrome(QWidget& host, WindowChrome chrome);
    void addMenuItems(const Control& menu, QWidget& into);
    QAction* makeAction(Control& control, QObject& parent);
    std::vector<Control*> topLevel(bool chrome) const;

    // Refreshing (ControlWidgetsRefresh.cpp).
    void refreshControl(const Control& control, Binding& binding);
    void refreshState(const Control& control, Binding& binding);
    void refreshValue(const Control& control, Binding& binding);
    void refreshList(const Control& control, Binding& binding);
    void refreshColours(const Control& control, Binding& binding);
    void refreshAction(const Control& control, QAction& action);
    void refreshFocus();

    // Input.
    bool accepting() const { return window_ != nullptr && !refreshing_; }
    void bringForward();
    void finishInput();
    void typed(int number, const QString& text);
    void pressed(int number);
    void focused(int number, const QFocusEvent& event);
    bool keyPressed(int number, const QKeyEvent& event);
    bool wheeled(int number, int delta);
    void rowChosen(int number, int row, bool activate);
    void headerClicked(int number, int column);
    void rowMenu(int number, int row);
    bool ctrlClicked(int number, const QMouseEvent& event);
    void tabChosen(int sheet, int index);

    Window* window_;
    std::function<void()> afterInput_;
    std::vector<Binding> bindings_;
    bool refreshing_ = false;
};

}  // namespace dv
