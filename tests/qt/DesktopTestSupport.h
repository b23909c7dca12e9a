#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/qt/DesktopWindow.h"
#include "frontend/qt/MdiWindow.h"
#include "frontend/qt/QtFrontEnd.h"
#include "runtime/ProcedureScheduler.h"
#include "runtime/Window.h"

class QWidget;

namespace dv::test {

// Makes the offscreen application the tests draw into, once.
void ensureOffscreenApplication();

// Input as the user gives it: mouse clicks and keys sent to a widget.
void click(QWidget& widget, QPoint at);
void click(QWidget& widget);
void doubleClick(QWidget& widget, QPoint at);
void pressKey(QWidget& widget, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = {});
// Types the text key by key, as the keyboard does.
void typeKeys(QWidget& widget, const QString& text);

// The desktop over a scheduler of its own, offscreen. Dialogs are never shown: the answer hook
// takes the answers queued with answer() and records which kinds of dialog were asked for; a
// dialog without an answer fails the test.
class DesktopTest : public ::testing::Test {
  protected:
    DesktopTest();
    ~DesktopTest() override;

    // Starts a procedure and lets everything run until it waits.
    void start(std::string name, ProcedureBody body);
    // Lets the procedures run, shows the windows and delivers Qt's pending events.
    void settle();
    // Queues the answer to the next dialog (a button bit, a day number, 1 or 0).
    void answer(int value) { answers_.push_back(value); }
    // The kinds of dialog asked for so far ("messageBox", "datePicker", ...).
    const std::vector<std::string>& asked() const { return asked_; }

    // The window the desktop has focused; the test fails (and throws) when none is open.
    Window& focusedWindow();
    // The sub-window of the focused window.
    MdiWindow& focusedSubWindow();
    // The widget of a control of the focused window, as type W; fails the test when missing.
    template <typename W>
    W& widget(std::string_view name) {
        QWidget* found = focusedSubWindow().widgets().widget(name);
        auto* typed = dynamic_cast<W*>(found);
        if (typed == nullptr) throw std::logic_error("no such widget: " + std::string(name));
        return *typed;
    }

    ProcedureScheduler scheduler;
    std::unique_ptr<QtFrontEnd> frontEnd;
    std::unique_ptr<DesktopWindow> desktop;
    int finishedCalls = 0;

  private:
    std::deque<int> answers_;
    std::vector<std::string> asked_;
};

}  // namespace dv::test
