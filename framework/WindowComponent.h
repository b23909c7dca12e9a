#pragma once

#include <cstdint>

#include "runtime/Event.h"

namespace dv {

// Results of the event handlers of a window procedure and its components.
enum class EventResult : std::uint8_t {
    GoOn = 0,     // go on with the default handling
    EndLoop = 3,  // end the event loop
    Done = 5,     // this event is finished; skip the default handling
};
inline constexpr EventResult kEventGoOn = EventResult::GoOn;
inline constexpr EventResult kEventEndLoop = EventResult::EndLoop;
inline constexpr EventResult kEventDone = EventResult::Done;

// A part of a window that takes part in its events: a browse list, a lookup, the keyboard aids
// of a form. The window procedure hands it every event after its own handling, asks it after
// each event whether the window needs a refresh, and ends it when the procedure ends.
class WindowComponent {
  public:
    virtual ~WindowComponent() = default;

    // kEventGoOn lets the next component see the event; anything else ends the dispatch.
    [[nodiscard]] virtual EventResult TakeEvent(const Event& event) = 0;
    // Whether what it shows is out of date.
    virtual bool NeedsRefresh() const { return false; }
    // Shows its data again; `force` redoes everything.
    virtual void Reset(bool force) { (void)force; }
    // The procedure ends.
    virtual void Kill() {}
};

}  // namespace dv
