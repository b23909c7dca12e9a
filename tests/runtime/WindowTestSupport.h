#pragma once

#include <string>
#include <vector>

#include "runtime/Window.h"

namespace dv::test {

// The events ready in a window, taken without waiting, as "Kind ?Name" ("Kind" for a window
// event, "AlertKey ?Name F6" for a key).
inline std::vector<std::string> takeEvents(Window& window) {
    std::vector<std::string> taken;
    while (auto event = window.takeEvent()) {
        std::string text(eventKindName(event->kind));
        if (!event->isWindowEvent()) text += " " + window.control(event->control).describe();
        if (event->kind == EventKind::AlertKey) text += " " + keyName(event->key);
        taken.push_back(text);
        if (taken.size() > 100) break;  // a timer that never stops
    }
    return taken;
}

using Events = std::vector<std::string>;

}  // namespace dv::test
