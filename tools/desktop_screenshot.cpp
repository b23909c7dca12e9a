// Takes the pictures of the desktop program that the README and the user guide show. It drives
// the real program as a user would, by what its widgets show, following a shot list, and saves
// the frame as PNG pictures:
//
//   desktop_screenshot PROGRAM_DIRECTORY SHOT_LIST PICTURE_DIRECTORY
//
// The shot list has one step per line (texts in double quotes, # starts a comment):
//
//   size 1100 720                       the frame's size in pixels
//   toolbar "SKLADIŠČA"                 presses the toolbar button
//   menu "&DIDEROVIV" "3. Izpis ..."    chooses the menu item
//   wait "CAPTION"                      waits until the window is open
//   press "CAPTION" "BUTTON"            presses the window's button
//   row "CAPTION" 2                     highlights a row of the window's list
//   close "CAPTION"                     closes the window by its close box
//   answer Yes                          the next question is answered Yes (or No, OK, Cancel);
//                                       unasked, a message is answered with its default
//   save "NAME.png"                     saves the frame once the windows have settled
//
// A step that cannot be done yet (its window has not opened) is tried again for ten seconds.
// Run it on a display (scripts/screenshot.sh starts a virtual one); the program directory should
// hold the demo company.

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/ProgramStartUp.h"
#include "frontend/qt/DesktopAutomation.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/RunDesktop.h"
#include "runtime/FrontEnd.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/ProcedureScheduler.h"

namespace {

struct Step {
    int line = 0;
    std::string command;
    std::vector<std::string> words;  // the quoted texts and plain words after the command
};

// The words of a line: plain words and texts in double quotes.
std::vector<std::string> splitLine(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
        } else if (line[i] == '#') {
            break;
        } else if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            words.push_back(line.substr(i + 1, end == std::string::npos ? end : end - i - 1));
            i = end == std::string::npos ? line.size() : end + 1;
        } else {
            const std::size_t end = line.find_first_of(" \t\r", i);
            words.push_back(line.substr(i, end == std::string::npos ? end : end - i));
            i = end == std::string::npos ? line.size() : end;
        }
    }
    return words;
}

std::optional<std::vector<Step>> readShotList(const std::string& file) {
    std::ifstream in(file);
    if (!in) return std::nullopt;
    std::vector<Step> steps;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::vector<std::string> words = splitLine(line);
        if (words.empty()) continue;
        Step step{number, words.front(), {words.begin() + 1, words.end()}};
        steps.push_back(std::move(step));
    }
    return steps;
}

std::deque<int>& queuedAnswers() {
    static std::deque<int> answers;
    return answers;
}

std::optional<int> buttonNamed(const std::string& name) {
    if (name == "Yes") return dv::kButtonYes;
    if (name == "No") return dv::kButtonNo;
    if (name == "OK") return dv::kButtonOk;
    if (name == "Cancel") return dv::kButtonCancel;
    return std::nullopt;
}

// The steps, each tried until it can be done.
class Session {
  public:
    Session(std::vector<Step> steps, std::filesystem::path pictures)
        : steps_(std::move(steps)), pictures_(std::move(pictures)) {}

    // Called every tick; true when the session is over.
    bool tick() {
        if (!dv::desktopFrameUsable() && next_ == 0) return timedOut("the frame");
        if (next_ == steps_.size()) return finish(nullptr);
        const Step& step = steps_[next_];
        const std::optional<bool> done = run(step);
        if (!done) return finish(("line " + std::to_string(step.line) + ": cannot read \"" +
                                  step.command + "\"").c_str());
        if (!*done) return timedOut(("line " + std::to_string(step.line) + " (" + step.command +
                                     ")").c_str());
        ++next_;
        ticks_ = 0;
        settled_ = 0;
        return false;
    }

    bool succeeded() const { return succeeded_; }

  private:
    // Whether the step was done (false: not yet); nothing when it is malformed.
    std::optional<bool> run(const Step& step) {
        const std::vector<std::string>& w = step.words;
        const std::string& c = step.command;
        if (c == "size" && w.size() == 2) {
            dv::resizeDesktopFrame(std::stoi(w[0]), std::stoi(w[1]));
            return true;
        }
        if (c == "toolbar" && w.size() == 1) return dv::pressToolbarButton(w[0]);
        if (c == "menu" && w.size() == 2) return dv::chooseMenuItem(w[0], w[1]);
        if (c == "wait" && w.size() == 1) return dv::desktopWindowOpen(w[0]);
        if (c == "press" && w.size() == 2) return dv::pressWindowButton(w[0], w[1]);
        if (c == "row" && w.size() == 2) return dv::selectListRow(w[0], std::stoi(w[1]));
        if (c == "close" && w.size() == 1) return dv::closeDesktopWindow(w[0]);
        if (c == "answer" && w.size() == 1) {
            const std::optional<int> button = buttonNamed(w[0]);
            if (!button) return std::nullopt;
            queuedAnswers().push_back(*button);
            return true;
        }
        if (c == "save" && w.size() == 1) {
            // The windows draw themselves over a few ticks after the last step.
            if (++settled_ <= 10) return false;
            if (!dv::saveFramePicture((pictures_ / w[0]).string())) return std::nullopt;
            std::printf("%s\n", (pictures_ / w[0]).string().c_str());
            return true;
        }
        return std::nullopt;
    }

    bool timedOut(const char* what) {
        if (++ticks_ <= 400) return false;
        return finish((std::string(what) + " did not happen in time").c_str());
    }

    bool finish(const char* problem) {
        if (problem != nullptr) std::fprintf(stderr, "desktop_screenshot: %s\n", problem);
        succeeded_ = problem == nullptr;
        dv::closeDesktopFrame();
        return true;
    }

    std::vector<Step> steps_;
    std::filesystem::path pictures_;
    std::size_t next_ = 0;
    int ticks_ = 0;
    int settled_ = 0;
    bool succeeded_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: desktop_screenshot PROGRAM_DIRECTORY SHOT_LIST PICTURE_DIRECTORY\n",
                   stderr);
        return 2;
    }
    auto steps = readShotList(argv[2]);
    if (!steps) {
        std::fprintf(stderr, "desktop_screenshot: cannot read %s\n", argv[2]);
        return 1;
    }
    if (!dv::ensureDesktopApplication()) {
        std::fputs("desktop_screenshot: no display\n", stderr);
        return 1;
    }
    // Questions are answered as the shot list says, other messages with OK, anything else
    // (file choosers, printers, previews) cancelled.
    dv::setDialogAnswerHook([](const char* kind) -> std::optional<int> {
        if (std::string(kind) != dv::kDialogMessageBox) return 0;
        if (queuedAnswers().empty()) return dv::kButtonOk;
        const int answer = queuedAnswers().front();
        queuedAnswers().pop_front();
        return answer;
    });
    std::string error;
    auto program = dv::ProgramStartUp::start(std::filesystem::absolute(argv[1]), error);
    if (!program) {
        std::fprintf(stderr, "desktop_screenshot: %s\n", error.c_str());
        return 1;
    }
    dv::ProcedureScheduler& scheduler = dv::programScheduler();
    scheduler.start("Main", *dv::programProcedures().find("Main"));
    Session session(std::move(*steps), argv[3]);
    dv::pollDesktop(25, [&session] { return session.tick(); });
    dv::runDesktop(scheduler);
    scheduler.shutdown();
    const bool ended = program->shutDown().ok();
    return session.succeeded() && ended ? 0 : 1;
}
