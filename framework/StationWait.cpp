#include "framework/StationWait.h"

#include <chrono>
#include <thread>

#include "framework/ProcedureLayout.h"
#include "runtime/Window.h"

namespace dv {
namespace {

// Hundredths of a second between attempts in the desktop; a front end whose timers fire at
// once (a UI script) waits the pause instead, so that the server is not asked without end.
constexpr int kTimerInterval = 25;
constexpr auto kPause = std::chrono::milliseconds(50);

}  // namespace

LockOutcome waitForLock(std::string_view layout, const LockAttempt& attempt,
                        const std::function<std::string(const std::vector<LockHolder>&)>& describe) {
    std::vector<LockHolder> holders;
    LockOutcome outcome = attempt(holders);
    if (outcome != LockOutcome::Busy) return outcome;
    Window window(procedureLayout(layout));
    window.setCaption(" ČAKANJE NA DRUGO POSTAJO");
    Control& text = window.control("?ProgressText");
    text.setText(describe(holders));
    const int cancel = window.control("?Cancel").number();
    window.setTimer(kTimerInterval);
    for (;;) {
        const Event event = window.nextEvent();
        if (event.kind == EventKind::CloseWindow || event.kind == EventKind::CloseDown ||
            (event.kind == EventKind::Accepted && event.control == cancel))
            break;
        if (event.kind != EventKind::Timer) continue;
        std::this_thread::sleep_for(kPause);
        holders.clear();
        outcome = attempt(holders);
        if (outcome != LockOutcome::Busy) break;
        text.setText(describe(holders));
    }
    window.setTimer(0);
    return outcome;
}

}  // namespace dv
