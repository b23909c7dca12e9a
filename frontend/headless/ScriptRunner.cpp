#include "frontend/headless/ScriptRunner.h"

#include <algorithm>
#include <map>

#include "frontend/headless/ScriptReference.h"
#include "runtime/WindowDesktop.h"
#include "runtime/WindowInput.h"

namespace dv {
namespace {

// Commands that deal with an open message box, or only queue answers for later.
bool mayRunWithBoxOpen(const std::string& verb) {
    return verb == "message" || verb == "message-contains" || verb == "answer" || verb == "file" ||
           verb == "date";
}

// Commands that may run while a report preview is open: its own, and those of a message box.
bool mayRunWithPreviewOpen(const std::string& verb) {
    return verb == "preview" || verb == "message" || verb == "message-contains" || verb == "answer";
}

std::string boxShown(const MessageBoxRequest& box) {
    return scriptQuoted(box.caption) + " " + scriptQuoted(box.text);
}

std::string pagesShown(int count) {
    return std::to_string(count) + (count == 1 ? " page" : " pages");
}

std::string previewShown(const PageQueue& pages) {
    return "report preview " + scriptQuoted(pages.title) + " of " + pagesShown(pages.pageCount());
}

bool isOpen(const WindowDesktop& desktop, const Window* window) {
    const auto& windows = desktop.windows();
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

}  // namespace

std::string ScriptFailure::report() const {
    std::string text = line == 0 ? "at the end of the script" : "line " + std::to_string(line);
    if (!command.empty()) text += ": " + command;
    text += "\n  expected: " + expected + "\n  seen:     " + seen + "\n  windows:  ";
    if (windows.empty()) text += "none open";
    for (std::size_t i = 0; i < windows.size(); ++i)
        text += (i ? ", " : "") + windows[i] + (i == 0 ? " (focused)" : "");
    text += "\n  focus:    " + (focus.empty() ? std::string("none") : focus);
    text += "\n  message:  " + (messageBox.empty() ? std::string("none") : messageBox) + "\n";
    if (!preview.empty()) text += "  preview:  " + preview + "\n";
    return text;
}

ScriptRunner::ScriptRunner(ProcedureScheduler& scheduler, HeadlessFrontEnd& frontEnd,
                           const ProcedureRegistry& procedures, ScriptServices services)
    : scheduler_(scheduler),
      frontEnd_(frontEnd),
      procedures_(procedures),
      services_(std::move(services)) {
    scheduler_.setSwitchLimit(kSwitchLimit);
    frontEnd_.setPreviewsWait(true);
}

ScriptRunner::~ScriptRunner() {
    frontEnd_.setPreviewsWait(false);
}

std::optional<ScriptFailure> ScriptRunner::run(const std::vector<ScriptLine>& lines) {
    for (const ScriptLine& line : lines) {
        Outcome outcome = checkNoBox(line.verb);
        if (!outcome) outcome = checkNoPreview(line.verb);
        if (!outcome) outcome = execute(line);
        if (outcome) return failure(line.number, line.source, std::move(*outcome));
    }
    if (Outcome outcome = checkNothingLeftOpen()) return failure(0, "", std::move(*outcome));
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::checkNothingLeftOpen() const {
    if (const MessageBoxRequest* box = frontEnd_.openMessageBox())
        return Mismatch{"no message box left open", "message " + boxShown(*box)};
    if (const PageQueue* pages = frontEnd_.openPreview())
        return Mismatch{"no report preview left open", previewShown(*pages)};
    if (frontEnd_.unusedFileAnswers() > 0)
        return Mismatch{"a file dialog for each file answer", "an answer left unused"};
    if (frontEnd_.unusedDateAnswers() > 0)
        return Mismatch{"a date picker for each date answer", "an answer left unused"};
    if (frontEnd_.unusedMenuAnswers() > 0)
        return Mismatch{"a popup menu for each menu command", "a menu that never opened"};
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::execute(const ScriptLine& line) {
    using Command = Outcome (ScriptRunner::*)(const ScriptLine&);
    static const std::map<std::string, Command, std::less<>> commands{
        {"start", &ScriptRunner::start},
        {"menu", &ScriptRunner::menu},
        {"toolbar", &ScriptRunner::toolbar},
        {"window", &ScriptRunner::window},
        {"focus", &ScriptRunner::focus},
        {"type", &ScriptRunner::type},
        {"press", &ScriptRunner::press},
        {"key", &ScriptRunner::key},
        {"tab", &ScriptRunner::tab},
        {"row", &ScriptRunner::row},
        {"header", &ScriptRunner::header},
        {"right-click", &ScriptRunner::rightClick},
        {"mark", &ScriptRunner::mark},
        {"close", &ScriptRunner::close},
        {"message", &ScriptRunner::message},
        {"message-contains", &ScriptRunner::messageContains},
        {"answer", &ScriptRunner::answer},
        {"expect", &ScriptRunner::expect},
        {"file", &ScriptRunner::file},
        {"date", &ScriptRunner::date},
        {"preview", &ScriptRunner::preview},
        {"sql", &ScriptRunner::sql},
        {"idle", &ScriptRunner::idle},
    };
    auto it = commands.find(line.verb);
    if (it == commands.end()) return Mismatch{"a known command", "'" + line.verb + "'"};
    return (this->*(it->second))(line);
}

ScriptRunner::Outcome ScriptRunner::settle() {
    const bool settled = scheduler_.runUntilIdle();
    Outcome outcome;
    for (ProcedureEnd& end : scheduler_.takeEnded()) {
        if (end.failed && !outcome)
            outcome = Mismatch{"procedure " + end.name + " to run without error",
                               "it failed: " + end.failure};
        ended_.push_back(std::move(end));
    }
    if (outcome) return outcome;
    if (auto problems = frontEnd_.takeProblems(); !problems.empty())
        return Mismatch{"only boxes and dialogs the script can answer", problems.front()};
    if (!settled)
        return Mismatch{
            "every procedure to wait for the user",
            "the procedures still busy after " + std::to_string(kSwitchLimit) + " switches"};
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::checkNoBox(const std::string& verb) const {
    const MessageBoxRequest* box = frontEnd_.openMessageBox();
    if (box == nullptr || mayRunWithBoxOpen(verb)) return std::nullopt;
    return Mismatch{"no message box open", "message " + boxShown(*box)};
}

ScriptRunner::Outcome ScriptRunner::checkNoPreview(const std::string& verb) const {
    const PageQueue* pages = frontEnd_.openPreview();
    if (pages == nullptr || mayRunWithPreviewOpen(verb)) return std::nullopt;
    return Mismatch{"the report preview closed first (preview close)", previewShown(*pages)};
}

ScriptFailure ScriptRunner::failure(int line, const std::string& command, Mismatch mismatch) const {
    ScriptFailure f;
    f.line = line;
    f.command = command;
    f.expected = std::move(mismatch.expected);
    f.seen = std::move(mismatch.seen);
    const auto& windows = scheduler_.desktop().windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        f.windows.push_back(scriptQuoted((*it)->caption()));
    if (const Window* focused = scheduler_.desktop().focused(); focused && focused->focused())
        f.focus = focused->focused()->describe();
    if (const MessageBoxRequest* box = frontEnd_.openMessageBox()) f.messageBox = boxShown(*box);
    if (const PageQueue* pages = frontEnd_.openPreview()) f.preview = previewShown(*pages);
    return f;
}

// Procedures and the frame.

ScriptRunner::Outcome ScriptRunner::start(const ScriptLine& line) {
    const std::string& name = line.arguments[0].text;
    if (const ProcedureBody* body = procedures_.find(name)) {
        scheduler_.start(name, *body);
    } else if (services_.unknownProcedure) {
        scheduler_.start(name, [report = services_.unknownProcedure, name] {
            report(name);
            return Response::None;
        });
    } else {
        return Mismatch{"a procedure named " + name, "no such procedure"};
    }
    return settle();
}

ScriptRunner::Outcome ScriptRunner::menu(const ScriptLine& line) {
    Window* frame = scheduler_.desktop().frame();
    if (frame == nullptr) return Mismatch{"the application frame", "no frame is open"};
    std::string problem;
    Control* top =
        findControlByText(*frame, line.arguments[0].text, {ControlType::Menu}, nullptr, problem);
    if (top == nullptr) return Mismatch{"menu " + scriptQuoted(line.arguments[0].text), problem};
    Control* item =
        findControlByText(*frame, line.arguments[1].text, {ControlType::Item}, top, problem);
    if (item == nullptr)
        return Mismatch{"item " + scriptQuoted(line.arguments[1].text) + " in that menu", problem};
    if (InputResult r = pressControl(*frame, *item); !r.ok())
        return Mismatch{"a menu item that can be chosen", r.refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::toolbar(const ScriptLine& line) {
    Window* frame = scheduler_.desktop().frame();
    if (frame == nullptr) return Mismatch{"the application frame", "no frame is open"};
    const Control* bar = nullptr;
    for (const auto& control : frame->controls())
        if (control->type() == ControlType::Toolbar) bar = control.get();
    if (bar == nullptr) return Mismatch{"a toolbar", "the frame has none"};
    std::string problem;
    Control* button = findControlByText(*frame, line.arguments[0].text,
                                        {ControlType::Button, ControlType::Check}, bar, problem);
    if (button == nullptr)
        return Mismatch{"toolbar button " + scriptQuoted(line.arguments[0].text), problem};
    if (InputResult r = pressControl(*frame, *button); !r.ok())
        return Mismatch{"a toolbar button that can be pressed", r.refusal};
    return settle();
}

// Windows and controls.

ScriptRunner::Outcome ScriptRunner::window(const ScriptLine& line) {
    const std::string& caption = line.arguments[0].text;
    const Window* focused = scheduler_.desktop().focused();
    if (focused == nullptr) return Mismatch{"window " + scriptQuoted(caption), "no window open"};
    if (focused->caption() != caption)
        return Mismatch{"window " + scriptQuoted(caption),
                        "window " + scriptQuoted(focused->caption())};
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::findTarget(const LayoutToken& reference, Target& target) const {
    const std::string shown = reference.quoted ? scriptQuoted(reference.text) : reference.text;
    target.window = scheduler_.desktop().focused();
    if (target.window == nullptr) return Mismatch{"a window with " + shown, "no window open"};
    std::string problem;
    target.control = findScriptControl(*target.window, reference, problem);
    if (target.control == nullptr) return Mismatch{"a control " + shown, problem};
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::focus(const ScriptLine& line) {
    Target target;
    if (Outcome outcome = findTarget(line.arguments[0], target)) return outcome;
    if (InputResult r = focusControl(*target.window, *target.control); !r.ok())
        return Mismatch{"the focus to go to " + target.control->describe(), r.refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::type(const ScriptLine& line) {
    Target target;
    if (Outcome outcome = findTarget(line.arguments[0], target)) return outcome;
    Window& window = *target.window;
    Control& control = *target.control;
    if (window.focused() != &control) {
        if (InputResult r = focusControl(window, control); !r.ok())
            return Mismatch{"the focus to go to " + control.describe(), r.refusal};
        if (Outcome outcome = settle()) return outcome;
        if (Outcome outcome = checkNoBox(line.verb)) return outcome;
        WindowDesktop& desktop = scheduler_.desktop();
        if (!isOpen(desktop, &window)) return Mismatch{"the window to stay open", "it closed"};
        if (desktop.focused() != &window || window.focused() != &control) {
            const Window* now = desktop.focused();
            return Mismatch{"the focus on " + control.describe(),
                            "the focus on " + (now && now->focused() ? now->focused()->describe()
                                                                     : std::string("nothing"))};
        }
    }
    if (InputResult r = typeInto(window, control, line.arguments[1].text); !r.ok())
        return Mismatch{"to type into " + control.describe(), r.refusal};
    pressKey(window, line.arguments.size() == 3 ? keys::Enter : keys::Tab);
    return settle();
}

ScriptRunner::Outcome ScriptRunner::press(const ScriptLine& line) {
    Target target;
    if (Outcome outcome = findTarget(line.arguments[0], target)) return outcome;
    if (InputResult r = pressControl(*target.window, *target.control); !r.ok())
        return Mismatch{"to press " + target.control->describe(), r.refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::row(const ScriptLine& line) {
    Target target;
    if (Outcome outcome = findTarget(line.arguments[0], target)) return outcome;
    const int number = std::stoi(line.arguments[1].text);
    if (InputResult r = highlightRow(*target.window, *target.control, number); !r.ok())
        return Mismatch{"to highlight row " + line.arguments[1].text, r.refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::header(const ScriptLine& line) {
    Target target;
    if (Outcome outcome = findTarget(line.arguments[0], target)) return outcome;
    const int column = std::stoi(line.arguments[1].text);
    if (InputResult r = pressColumnHeader(*target.window, *target.control, column); !r.ok())
        return Mismatch{"to click the heading of column " + line.arguments[1].text, r.refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::mark(const ScriptLine& line) {
    Target target;
    if (Outcome outcome = findTarget(line.arguments[0], target)) return outcome;
    const int number = std::stoi(line.arguments[1].text);
    if (InputResult r = markRow(*target.window, *target.control, number); !r.ok())
        return Mismatch{"to mark row " + line.arguments[1].text, r.refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::rightClick(const ScriptLine& line) {
    Target target;
    if (Outcome outcome = findTarget(line.arguments[0], target)) return outcome;
    const int row = std::stoi(line.arguments[1].text);
    frontEnd_.queueMenuAnswer(line.arguments[2].text);
    if (InputResult r = rightClickRow(*target.window, *target.control, row); !r.ok())
        return Mismatch{"to right-click row " + line.arguments[1].text, r.refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::key(const ScriptLine& line) {
    Window* window = scheduler_.desktop().focused();
    if (window == nullptr) return Mismatch{"a window for the key", "no window open"};
    pressKey(*window, *keyFromName(line.arguments[0].text));
    return settle();
}

ScriptRunner::Outcome ScriptRunner::tab(const ScriptLine& line) {
    Window* window = scheduler_.desktop().focused();
    const std::string& text = line.arguments[0].text;
    if (window == nullptr) return Mismatch{"tab " + scriptQuoted(text), "no window open"};
    std::string problem;
    Control* tab = findControlByText(*window, text, {ControlType::Tab}, nullptr, problem);
    if (tab == nullptr) return Mismatch{"tab " + scriptQuoted(text), problem};
    if (InputResult r = chooseTab(*window, *tab); !r.ok())
        return Mismatch{"to show tab " + scriptQuoted(text), r.refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::close(const ScriptLine&) {
    Window* window = scheduler_.desktop().focused();
    if (window == nullptr) return Mismatch{"a window to close", "no window open"};
    clickCloseBox(*window);
    return settle();
}

ScriptRunner::Outcome ScriptRunner::expect(const ScriptLine& line) {
    Target target;
    if (Outcome outcome = findTarget(line.arguments[0], target)) return outcome;
    const Control& control = *target.control;
    const std::string& what = line.arguments[1].text;
    const std::string name = control.describe();
    if (what == "text") {
        const std::string& wanted = line.arguments[2].text;
        if (control.displayText() != wanted)
            return Mismatch{name + " text " + scriptQuoted(wanted),
                            name + " text " + scriptQuoted(control.displayText())};
        return std::nullopt;
    }
    if (what == "rows") {
        const int wanted = std::stoi(line.arguments[2].text);
        if (control.type() != ControlType::List) return Mismatch{"a list", name + " is not one"};
        if (control.rowCount() != wanted)
            return Mismatch{name + " rows " + std::to_string(wanted),
                            name + " rows " + std::to_string(control.rowCount())};
        return std::nullopt;
    }
    if (what == "cell") {
        const int r = std::stoi(line.arguments[2].text);
        const int c = std::stoi(line.arguments[3].text);
        const std::string& wanted = line.arguments[4].text;
        const std::string where = name + " cell " + std::to_string(r) + " " + std::to_string(c);
        if (control.type() != ControlType::List) return Mismatch{"a list", name + " is not one"};
        if (r > control.rowCount())
            return Mismatch{where + " " + scriptQuoted(wanted),
                            name + " rows " + std::to_string(control.rowCount())};
        const ListRow& cells = control.rows()[static_cast<std::size_t>(r - 1)];
        if (c > static_cast<int>(cells.size()))
            return Mismatch{where + " " + scriptQuoted(wanted),
                            name + " row " + std::to_string(r) + " with " +
                                std::to_string(cells.size()) + " cells"};
        const std::string& shown = cells[static_cast<std::size_t>(c - 1)].text;
        if (shown != wanted)
            return Mismatch{where + " " + scriptQuoted(wanted), where + " " + scriptQuoted(shown)};
        return std::nullopt;
    }
    if (what == "marked") {
        if (control.type() != ControlType::List) return Mismatch{"a list", name + " is not one"};
        std::string shown;
        for (int r = 1; r <= control.rowCount(); ++r)
            if (control.marked(r)) shown += (shown.empty() ? "" : " ") + std::to_string(r);
        const std::string& wanted = line.arguments[2].text;
        if (shown != wanted)
            return Mismatch{name + " marked " + scriptQuoted(wanted),
                            name + " marked " + scriptQuoted(shown)};
        return std::nullopt;
    }
    bool holds = false;
    std::string state;
    if (what == "enabled" || what == "disabled") {
        holds = control.isEnabled() == (what == "enabled");
        state = control.isEnabled() ? "enabled" : "disabled";
    } else if (what == "visible" || what == "hidden") {
        holds = control.isVisible() == (what == "visible");
        state = control.isVisible() ? "visible" : "hidden";
    } else {
        holds = target.window->focused() == &control;
        state = "not focused (the focus is on " +
                (target.window->focused() ? target.window->focused()->describe()
                                          : std::string("nothing")) +
                ")";
    }
    if (holds) return std::nullopt;
    return Mismatch{name + " " + what, name + " " + state};
}

// Message boxes and dialogs.

ScriptRunner::Outcome ScriptRunner::message(const ScriptLine& line) {
    const std::string wanted =
        scriptQuoted(line.arguments[0].text) + " " + scriptQuoted(line.arguments[1].text);
    const MessageBoxRequest* box = frontEnd_.openMessageBox();
    if (box == nullptr) return Mismatch{"message " + wanted, "no message box"};
    if (box->caption != line.arguments[0].text || box->text != line.arguments[1].text)
        return Mismatch{"message " + wanted, "message " + boxShown(*box)};
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::messageContains(const ScriptLine& line) {
    const std::string& part = line.arguments[0].text;
    const MessageBoxRequest* box = frontEnd_.openMessageBox();
    if (box == nullptr)
        return Mismatch{"a message containing " + scriptQuoted(part), "no message box"};
    if (box->text.find(part) == std::string::npos)
        return Mismatch{"a message containing " + scriptQuoted(part), "message " + boxShown(*box)};
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::answer(const ScriptLine& line) {
    std::string refusal;
    if (!frontEnd_.answer(buttonFromName(line.arguments[0].text), refusal))
        return Mismatch{"a message box with the button " + line.arguments[0].text, refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::file(const ScriptLine& line) {
    const LayoutToken& answer = line.arguments[0];
    if (!answer.quoted && answer.text == "cancel")
        frontEnd_.queueFileAnswer(std::nullopt);
    else
        frontEnd_.queueFileAnswer(answer.text);
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::date(const ScriptLine& line) {
    const LayoutToken& answer = line.arguments[0];
    if (!answer.quoted && answer.text == "cancel")
        frontEnd_.queueDateAnswer(std::nullopt);
    else
        frontEnd_.queueDateAnswer(parseScriptDate(answer.text));
    return std::nullopt;
}

// The report preview.

ScriptRunner::Outcome ScriptRunner::preview(const ScriptLine& line) {
    const std::string& what = line.arguments[0].text;
    const PageQueue* pages = frontEnd_.openPreview();
    if (pages == nullptr)
        return Mismatch{"the report preview (preview " + what + ")", "no report preview is open"};
    if (what == "pages") {
        const int wanted = std::stoi(line.arguments[1].text);
        if (pages->pageCount() != wanted)
            return Mismatch{"a report preview of " + pagesShown(wanted), previewShown(*pages)};
        return std::nullopt;
    }
    if (what == "contains") {
        const std::string& text = line.arguments[1].text;
        if (!pages->contains(text))
            return Mismatch{"a preview page containing " + scriptQuoted(text),
                            previewShown(*pages) + " without it"};
        return std::nullopt;
    }
    if (what == "pdf") {
        const std::string& path = line.arguments[1].text;
        if (FileResult saved = frontEnd_.savePreview(path); !saved.ok())
            return Mismatch{"the preview saved as PDF to " + scriptQuoted(path), saved.error};
        return std::nullopt;
    }
    std::string refusal;
    if (!frontEnd_.closePreview(refusal)) return Mismatch{"a report preview to close", refusal};
    return settle();
}

ScriptRunner::Outcome ScriptRunner::sql(const ScriptLine& line) {
    if (!services_.sql) return Mismatch{"a database to query", "no database is set up"};
    std::string error;
    auto result = services_.sql(line.arguments[0].text, error);
    if (!result) return Mismatch{"the query to run", error};
    // A script line cannot hold a line break: there the rows are joined by the two characters
    // "\n".
    std::string shown;
    for (char c : *result) shown += c == '\n' ? std::string("\\n") : std::string(1, c);
    if (shown != line.arguments[1].text)
        return Mismatch{scriptQuoted(line.arguments[1].text), scriptQuoted(shown)};
    return std::nullopt;
}

ScriptRunner::Outcome ScriptRunner::idle(const ScriptLine&) {
    return settle();
}

}  // namespace dv
