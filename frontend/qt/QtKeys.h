#pragma once

#include <optional>

#include "runtime/EventKey.h"

class QKeyEvent;

namespace dv {

// The key the windows know for a key pressed in Qt, with the modifiers held; nothing for keys
// the windows have no code for (they stay with the widget: accented letters, punctuation).
std::optional<KeyCode> keyCodeOf(const QKeyEvent& event);

}  // namespace dv
