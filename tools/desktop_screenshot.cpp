// Takes the picture of the desktop program that the README shows: the main frame with the list
// of warehouse units and one unit's form open. It drives the real program as a user would (the
// toolbar button, then the list's button) and saves the frame as a PNG picture.
//
//   desktop_screenshot PROGRAM_DIRECTORY PICTURE.png
//
// Run it on a display (scripts/screenshot.sh starts a virtual one); the program directory should
// hold the demo company, and the backup reminders are answered as a user would.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/ProgramStartUp.h"
#include "frontend/qt/DesktopAutomation.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/RunDesktop.h"
#include "runtime/FrontEnd.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/ProcedureScheduler.h"

namespace {

constexpr const char* kUnitsList = " SKLADIŠČA BLAGA - IZDELKOV";
// A form shows what it does in its caption.
constexpr const char* kUnitForm = "Spreminjanje zapisa";

// The steps, each waiting for what the one before it opened; true when the picture is saved.
class Session {
  public:
    explicit Session(std::string picture) : picture_(std::move(picture)) {}

    bool step() {
        using namespace dv;
        static constexpr const char* kWaitingFor[] = {"the frame", "the units list", "the form"};
        if (++ticks_ > 400) {
            std::fprintf(stderr, "desktop_screenshot: %s did not open in time\n",
                         kWaitingFor[stage_]);
            return finish("");
        }
        switch (stage_) {
            case 0:
                if (!desktopFrameUsable()) return false;
                resizeDesktopFrame(1100, 720);
                if (pressToolbarButton("SKLADIŠČA")) stage_ = 1;
                return false;
            case 1:
                if (desktopWindowOpen(kUnitsList) && pressWindowButton(kUnitsList, "&Spremeni"))
                    stage_ = 2;
                return false;
            case 2:
                if (desktopWindowOpen(kUnitForm) && ++settled_ > 10) {
                    saved_ = saveFramePicture(picture_);
                    return finish(saved_ ? "" : "the picture could not be written");
                }
                return false;
        }
        return true;
    }

    bool saved() const { return saved_; }

  private:
    bool finish(const char* problem) {
        if (*problem != '\0') std::fprintf(stderr, "desktop_screenshot: %s\n", problem);
        dv::closeDesktopFrame();
        return true;
    }

    std::string picture_;
    int stage_ = 0;
    int ticks_ = 0;
    int settled_ = 0;
    bool saved_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: desktop_screenshot PROGRAM_DIRECTORY PICTURE.png\n", stderr);
        return 2;
    }
    if (!dv::ensureDesktopApplication()) {
        std::fputs("desktop_screenshot: no display\n", stderr);
        return 1;
    }
    // Reminders and questions are answered with their default button; anything else cancelled.
    dv::setDialogAnswerHook([](const char* kind) -> std::optional<int> {
        if (std::string(kind) == dv::kDialogMessageBox) return dv::kButtonOk;
        return 0;
    });
    std::string error;
    auto program = dv::ProgramStartUp::start(std::filesystem::absolute(argv[1]), error);
    if (!program) {
        std::fprintf(stderr, "desktop_screenshot: %s\n", error.c_str());
        return 1;
    }
    dv::ProcedureScheduler& scheduler = dv::programScheduler();
    scheduler.start("Main", *dv::programProcedures().find("Main"));
    Session session(argv[2]);
    dv::pollDesktop(25, [&session] { return session.step(); });
    dv::runDesktop(scheduler);
    scheduler.shutdown();
    const bool ended = program->shutDown().ok();
    return session.saved() && ended ? 0 : 1;
}
