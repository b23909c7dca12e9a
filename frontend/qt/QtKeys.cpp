#include "frontend/qt/QtKeys.h"

#include <QKeyEvent>

namespace dv {
namespace {

// The key without modifiers.
std::optional<KeyCode> baseKey(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return keys::Letter(static_cast<char>(key));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return keys::Letter(static_cast<char>(key));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return keys::F(key - Qt::Key_F1 + 1);
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return keys::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return keys::Enter;
        case Qt::Key_Escape:
            return keys::Esc;
        case Qt::Key_Space:
            return keys::Space;
        case Qt::Key_Backspace:
            return keys::Backspace;
        case Qt::Key_PageUp:
            return keys::PgUp;
        case Qt::Key_PageDown:
            return keys::PgDn;
        case Qt::Key_Home:
            return keys::Home;
        case Qt::Key_End:
            return keys::End;
        case Qt::Key_Left:
            return keys::Left;
        case Qt::Key_Up:
            return keys::Up;
        case Qt::Key_Right:
            return keys::Right;
        case Qt::Key_Down:
            return keys::Down;
        case Qt::Key_Insert:
            return keys::Insert;
        case Qt::Key_Delete:
            return keys::Delete;
        case Qt::Key_Apostrophe:
            return keys::Apostrophe;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<KeyCode> keyCodeOf(const QKeyEvent& event) {
    std::optional<KeyCode> key = baseKey(event.key());
    if (!key) return std::nullopt;
    const Qt::KeyboardModifiers held = event.modifiers();
    // Qt reports Shift+Tab as its own key.
    if ((held & Qt::ShiftModifier) || event.key() == Qt::Key_Backtab) *key += keys::kShift;
    if (held & Qt::ControlModifier) *key += keys::kCtrl;
    if (held & Qt::AltModifier) *key += keys::kAlt;
    return key;
}

}  // namespace dv
