#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frontend/qt/pdf/QtApplication.h"
#include "frontend/qt/QtDialogs.h"

namespace dv::test {

// The dialogs offscreen, with an answer hook that the test fills: each dialog asked for takes the
// next queued answer; with none queued, the dialog is shown (and a test drives it with
// whenShown). The hook is removed after every test.
class QtDialogsTest : public ::testing::Test {
  protected:
    QtDialogsTest() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        ensureQtApplication();
    }
    ~QtDialogsTest() override { setDialogAnswerHook({}); }

    void useAnswers(std::deque<int> answers) {
        answers_ = std::move(answers);
        setDialogAnswerHook([this](const char* kind) -> std::optional<int> {
            asked_.emplace_back(kind);
            if (answers_.empty()) return std::nullopt;
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
    }
    const std::vector<std::string>& asked() const { return asked_; }

  private:
    std::deque<int> answers_;
    std::vector<std::string> asked_;
};

// Once the event loop of a modal dialog runs, hands the dialog to `act` as a W; a dialog of
// another kind fails the test and is closed, so that no test ever waits for a user.
template <typename W>
void whenShown(std::function<void(W&)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* typed = qobject_cast<W*>(modal)) {
            act(*typed);
            return;
        }
        ADD_FAILURE() << "no dialog of the expected kind is shown";
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
}

inline void pressKey(QWidget& widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

}  // namespace dv::test
