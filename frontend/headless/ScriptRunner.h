#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/Script.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/ProcedureScheduler.h"
#include "runtime/Window.h"

namespace dv {

// A script line that did not hold: what it expected and what was there instead, with the state
// of the screen at that moment.
struct ScriptFailure {
    int line = 0;         // 0: at the end of the script
    std::string command;  // the line as written
    std::string expected;
    std::string seen;
    std::vector<std::string> windows;  // the open windows' captions, the focused one first
    std::string focus;                 // the focused control of the focused window
    std::string messageBox;            // the open message box, caption and text
    std::string preview;               // the open report preview, title and pages

    // The failure as the script command prints it.
    std::string report() const;
};

// What the runner needs from the program around it.
struct ScriptServices {
    // Runs on a new procedure thread when `start` names a procedure nobody registered; the
    // program raises its "procedure not defined" message there. Without it such a start fails.
    std::function<void(const std::string& name)> unknownProcedure;
    // Answers `sql`: the rows as text, or nothing with the reason. Without it `sql` fails.
    std::function<std::optional<std::string>(const std::string& query, std::string& error)> sql;
};

// Runs a UI script against the procedures of a scheduler through a headless front end. After
// each command it lets the procedures run until every one waits for the user. A message box may
// stay open only for the commands that deal with it (message, message-contains, answer, and the
// file and date answers queued for later): any other command with a box open fails with the
// box's text, so that nothing is answered by accident. Likewise a report preview stays open, and
// its procedure waits, until `preview close`; while it is open only the preview commands and
// those that deal with a message box run. A script ends well when every line held, no box or
// preview is left open and every queued file and date answer was used.
class ScriptRunner {
  public:
    ScriptRunner(ProcedureScheduler& scheduler, HeadlessFrontEnd& frontEnd,
                 const ProcedureRegistry& procedures, ScriptServices services = {});
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Runs the lines in order and stops at the first that does not hold.
    std::optional<ScriptFailure> run(const std::vector<ScriptLine>& lines);

    // The procedures that ended while the script ran, oldest first.
    const std::vector<ProcedureEnd>& endedProcedures() const { return ended_; }

    // How many times the procedures may switch within one command before the runner decides
    // that one of them never waits for the user.
    static constexpr std::uint64_t kSwitchLimit = 2'000'000;

  private:
    // What a command found instead of what it expected; nothing when it held.
    struct Mismatch {
        std::string expected;
        std::string seen;
    };
    using Outcome = std::optional<Mismatch>;
    // The focused window and the control a reference names in it.
    struct Target {
        Window* window = nullptr;
        Control* control = nullptr;
    };

    Outcome execute(const ScriptLine& line);
    Outcome settle();
    Outcome checkNoBox(const std::string& verb) const;
    Outcome checkNoPreview(const std::string& verb) const;
    Outcome checkNothingLeftOpen() const;
    Outcome findTarget(const LayoutToken& reference, Target& target) const;
    ScriptFailure failure(int line, const std::string& command, Mismatch mismatch) const;

    Outcome start(const ScriptLine& line);
    Outcome menu(const ScriptLine& line);
    Outcome toolbar(const ScriptLine& line);
    Outcome window(const ScriptLine& line);
    Outcome focus(const ScriptLine& line);
    Outcome type(const ScriptLine& line);
    Outcome press(const ScriptLine& line);
    Outcome key(const ScriptLine& line);
    Outcome tab(const ScriptLine& line);
    Outcome row(const ScriptLine& line);
    Outcome header(const ScriptLine& line);
    Outcome mark(const ScriptLine& line);
    Outcome rightClick(const ScriptLine& line);
    Outcome close(const ScriptLine& line);
    Outcome message(const ScriptLine& line);
    Outcome messageContains(const ScriptLine& line);
    Outcome answer(const ScriptLine& line);
    Outcome expect(const ScriptLine& line);
    Outcome file(const ScriptLine& line);
    Outcome date(const ScriptLine& line);
    Outcome preview(const ScriptLine& line);
    Outcome sql(const ScriptLine& line);
    Outcome idle(const ScriptLine& line);

    ProcedureScheduler& scheduler_;
    HeadlessFrontEnd& frontEnd_;
    const ProcedureRegistry& procedures_;
    ScriptServices services_;
    std::vector<ProcedureEnd> ended_;
};

}  // namespace dv
