#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "DesktopTestSupport.h"
#include "frontend/qt/DesktopWindow.h"
#include "frontend/qt/RunDesktop.h"

namespace dv::test {
namespace {

// Closes the desktop should the program not end by itself, so that a fault fails the test
// instead of hanging it.
void closeDesktopLater(QObject& guard) {
    QTimer::singleShot(5000, &guard, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (dynamic_cast<DesktopWindow*>(widget) != nullptr) widget->close();
    });
}

TEST(RunDesktop, RunsUntilTheLastProcedureEndsAndRestoresTheFrontEnd) {
    ensureOffscreenApplication();
    static const WindowLayout layout =
        parseLayout("window Ura \"Ura\" timer=1\n  string ?Stevec\n", "Ura.layout");
    ProcedureScheduler scheduler;
    FrontEnd* const before = &currentFrontEnd();
    int ticks = 0;
    scheduler.start("Ura", [&ticks] {
        Window window(layout);
        while (ticks < 2) {
            const EventKind kind = window.nextEvent().kind;
            if (kind == EventKind::CloseWindow) return RespCancelled;
            if (kind == EventKind::Timer) ++ticks;
        }
        return RespCompleted;
    });
    QObject guard;
    closeDesktopLater(guard);
    EXPECT_EQ(runDesktop(scheduler), 0);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(scheduler.liveCount(), 0u);
    EXPECT_EQ(&currentFrontEnd(), before);

    // A procedure that ends at once leaves nothing to wait for.
    bool ran = false;
    scheduler.start("Kratek", [&ran] {
        ran = true;
        return RespCompleted;
    });
    EXPECT_EQ(runDesktop(scheduler), 0);
    EXPECT_TRUE(ran);
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(dynamic_cast<DesktopWindow*>(widget), nullptr);
}

}  // namespace
}  // namespace dv::test
