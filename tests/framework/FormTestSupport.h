#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/SettingsManager.h"
#include "framework/ErrorReporter.h"
#include "frontend/TempDirectory.h"
#include "runtime/FrontEnd.h"
#include "runtime/Halt.h"
#include "runtime/ProcedureScheduler.h"
#include "runtime/WindowInput.h"
#include "storage/TableAccess.h"
#include "support/FormTestProcedures.h"

namespace dv::test {

// A front end for the form tests: message boxes and date pickers are recorded and answered from
// queues filled in advance. A box or picker without an answer fails the test (a box is then
// answered with its default button, a picker cancelled); answers left over fail it too.
class FormFrontEnd : public FrontEnd {
  public:
    FormFrontEnd() : previous_(setCurrentFrontEnd(this)) {}
    ~FormFrontEnd() override;
    FormFrontEnd(const FormFrontEnd&) = delete;
    FormFrontEnd& operator=(const FormFrontEnd&) = delete;

    void answer(MessageButtons button) { answers_.push_back(button); }
    // A box with an OK button and no answer queued is answered OK.
    bool answerOkByDefault = false;
    void answerDate(std::optional<DayNumber> day) { dates_.push_back(day); }

    MessageButtons messageBox(const MessageBoxRequest& request) override;
    std::optional<DayNumber> pickDate(const DatePickerRequest& request) override;

    const std::vector<MessageBoxRequest>& boxes() const { return boxes_; }
    const std::vector<DatePickerRequest>& pickers() const { return pickers_; }
    // "CAPTION: TEXT" of every box, oldest first.
    std::vector<std::string> shown() const;

  private:
    FrontEnd* previous_;
    std::deque<MessageButtons> answers_;
    std::deque<std::optional<DayNumber>> dates_;
    std::vector<MessageBoxRequest> boxes_;
    std::vector<DatePickerRequest> pickers_;
};

// A company's data directory in a fresh temporary directory with every table's file there, the
// program's message reporter, the table access, the settings file, and a scheduler whose
// procedures the test drives through the window model as a front end does: it starts a
// procedure, lets it run until it waits, acts on the focused window and lets it run again.
class FormTest : public ::testing::Test {
  protected:
    FormTest();
    ~FormTest() override;

    // Starts `body` on a procedure thread and runs until every procedure waits.
    void start(std::function<Response()> body);
    // Calls the test form with `request` from a procedure of its own, as a list does.
    void startForm(Request request, const TestFormOptions& options = {});
    void run();

    // The focused window; the test fails when none is open.
    Window& window();
    Control& control(std::string_view name) { return window().control(name); }
    // The focused control's name, "" when none.
    std::string focusName();
    // Focuses the control, replaces its text and presses Tab, as typing does.
    void type(std::string_view name, const std::string& text);
    void press(std::string_view name);
    void key(KeyCode key);
    void closeBox();
    // Posts an event of a toolbar button to the focused window.
    void pressToolbar(int control);

    // The responses of the procedures that ended since the last call.
    std::vector<Response> ended();

    // Units added and read through the table's own driver (no rules, no numbering).
    void addUnit(int code, std::string_view name, std::string_view kind = "M");
    std::vector<std::string> units();  // "code name kind", in code order

    TempDirectory root;
    FormFrontEnd frontEnd;
    ErrorReporter errors;
    SettingsManager settings;
    ProcedureScheduler scheduler;

  private:
    std::unique_ptr<TableAccess> access_;
    HaltHandler previousHalt_;
};

// Thrown where a fatal message would end the program.
struct ProgramHalted {
    int exitCode;
    std::string message;
};

}  // namespace dv::test
