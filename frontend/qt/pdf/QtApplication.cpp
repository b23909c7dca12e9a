#include "frontend/qt/pdf/QtApplication.h"

#include <QApplication>
#include <mutex>

namespace dv {

void ensureQtApplication() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (QCoreApplication::instance() != nullptr) return;
        static int argc = 3;
        static char name[] = "dideroviv";
        static char option[] = "-platform";
        static char platform[] = "offscreen";
        static char* argv[] = {name, option, platform, nullptr};
        // Kept to the end of the run on purpose: destroying it among the static objects at exit
        // would tear Qt down under objects that still use it.
        new QApplication(argc, argv);
    });
}

}  // namespace dv
