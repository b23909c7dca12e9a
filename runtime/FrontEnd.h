#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dv {

// Message box buttons as a bit set; a message box answers with the bit of the pressed button.
using MessageButtons = std::uint32_t;
inline constexpr MessageButtons kButtonOk = 1;
inline constexpr MessageButtons kButtonYes = 2;
inline constexpr MessageButtons kButtonNo = 4;
inline constexpr MessageButtons kButtonAbort = 8;
inline constexpr MessageButtons kButtonRetry = 16;
inline constexpr MessageButtons kButtonIgnore = 32;
inline constexpr MessageButtons kButtonCancel = 64;
inline constexpr MessageButtons kButtonHelp = 128;

enum class MessageIcon { None, Information, Exclamation, Question, Error };

// One modal message box. In `text` a "|" is a line break; it is kept as given and the front end
// renders it.
struct MessageBoxRequest {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = kButtonOk;
    MessageButtons defaultButton = kButtonOk;
};

// A modal window listing rows of two columns (a text and a category) above a row of buttons.
struct MessageListRequest {
    struct Row {
        std::string text;
        std::string category;
    };
    std::string caption;
    std::string textHeading;
    std::string categoryHeading;
    std::vector<Row> rows;
    MessageButtons buttons = kButtonOk;
    MessageButtons defaultButton = kButtonOk;
};

// Everything the user sees passes through the front end: the Qt desktop, the headless script
// driver of the tests, or the console fallback.
class FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    // Shows the box and waits for the answer; returns the bit of the pressed button.
    virtual MessageButtons messageBox(const MessageBoxRequest& request) = 0;

    // Shows the list window and returns the pressed button. By default the rows are shown as one
    // message box, one row a line, for front ends without a list window of their own.
    virtual MessageButtons messageList(const MessageListRequest& request);
};

// The front end in use; the console fallback when none has been set.
FrontEnd& currentFrontEnd();

// Installs `frontEnd` (nullptr goes back to the console fallback) and returns the previous one
// (nullptr when it was the fallback). The caller keeps ownership.
FrontEnd* setCurrentFrontEnd(FrontEnd* frontEnd);

// The answer a box gives without a user: its default button when that is one of its buttons,
// else its lowest button.
MessageButtons unattendedAnswer(MessageButtons buttons, MessageButtons defaultButton);

// Prints every box on standard error and answers it unattended.
class ConsoleFrontEnd : public FrontEnd {
  public:
    MessageButtons messageBox(const MessageBoxRequest& request) override;
};

}  // namespace dv
