#include <gtest/gtest.h>

#include <QKeyEvent>

#include "DesktopTestSupport.h"
#include "frontend/qt/QtKeys.h"

namespace dv {
namespace {

std::optional<KeyCode> keyOf(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    // Key events belong to the application's keyboard.
    test::ensureOffscreenApplication();
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    return keyCodeOf(event);
}

TEST(QtKeys, TheKeysOfTheFormsAndListsGetTheWindowsCodes) {
    EXPECT_EQ(keyOf(Qt::Key_Apostrophe, Qt::ControlModifier), 734);  // the history key
    EXPECT_EQ(keyOf(Qt::Key_F6), keys::F(6));
    EXPECT_EQ(keyOf(Qt::Key_F12), keys::F(12));
    EXPECT_EQ(keyOf(Qt::Key_Insert), keys::Insert);
    EXPECT_EQ(keyOf(Qt::Key_Delete), keys::Delete);
    EXPECT_EQ(keyOf(Qt::Key_Return), keys::Enter);
    EXPECT_EQ(keyOf(Qt::Key_Enter, Qt::KeypadModifier), keys::Enter);
    EXPECT_EQ(keyOf(Qt::Key_Return, Qt::ControlModifier), keys::CtrlEnter);
    EXPECT_EQ(keyOf(Qt::Key_Return, Qt::ShiftModifier), keys::ShiftEnter);
    EXPECT_EQ(keyOf(Qt::Key_Escape), keys::Esc);
    EXPECT_EQ(keyOf(Qt::Key_PageDown), keys::PgDn);
}

TEST(QtKeys, ShiftTabLettersDigitsAndUnknownKeys) {
    // Qt reports Shift+Tab as Backtab, with or without the Shift flag: Shift counts once.
    EXPECT_EQ(keyOf(Qt::Key_Backtab, Qt::ShiftModifier), keys::ShiftTab);
    EXPECT_EQ(keyOf(Qt::Key_Backtab), keys::ShiftTab);
    EXPECT_EQ(keyOf(Qt::Key_A), keys::Letter('A'));
    EXPECT_EQ(keyOf(Qt::Key_Z, Qt::ShiftModifier), keys::kShift + keys::Letter('Z'));
    EXPECT_EQ(keyOf(Qt::Key_7, Qt::AltModifier), keys::kAlt + keys::Letter('7'));
    EXPECT_FALSE(keyOf(Qt::Key_Ccedilla).has_value());
    EXPECT_FALSE(keyOf(Qt::Key_Comma).has_value());
}

}  // namespace
}  // namespace dv
