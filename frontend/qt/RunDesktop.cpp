#include "frontend/qt/RunDesktop.h"

#include <QApplication>
#include <QEventLoop>
#include <cstdio>
#include <cstdlib>

#include "frontend/qt/DesktopWindow.h"
#include "frontend/qt/QtFrontEnd.h"
#include "frontend/qt/SlovenianButtonTexts.h"

namespace dv {
namespace {

// Whether the platform has a display to show windows on: a platform named outright (offscreen in
// tests), or an X or Wayland session. Without one Qt would end the process on the spot.
bool displayAvailable() {
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

// The application of the desktop, made on the platform's display when none exists yet; nullptr
// when there is no display or the application that exists cannot show widgets.
QApplication* desktopApplication() {
    if (QCoreApplication::instance() == nullptr) {
        if (!displayAvailable()) return nullptr;
        static int argc = 1;
        static char name[] = "dideroviv";
        static char* argv[] = {name, nullptr};
        // Kept to the end of the run, as the page export keeps its own (see QtApplication.h).
        new QApplication(argc, argv);
    }
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (application != nullptr) installSlovenianButtonTexts();
    return application;
}

}  // namespace

bool ensureDesktopApplication() {
    return desktopApplication() != nullptr;
}

int runDesktop(ProcedureScheduler& scheduler) {
    QApplication* application = desktopApplication();
    if (application == nullptr) {
        std::fputs("dideroviv: namizja ni mogoče odpreti (ni grafičnega okolja).\n", stderr);
        scheduler.shutdown();
        return 1;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    {
        QtFrontEnd frontEnd(scheduler);
        DesktopWindow desktop(scheduler, frontEnd);
        QEventLoop loop;
        desktop.setFinishedCallback([&loop] { loop.quit(); });
        desktop.show();
        desktop.synchronise();
        if (!desktop.finished()) loop.exec();
        desktop.detachAll();
        if (scheduler.liveCount() > 0) scheduler.shutdown();
    }
    // What the desktop let go of while it ran.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}

}  // namespace dv
