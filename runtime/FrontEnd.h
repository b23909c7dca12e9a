#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Date.h"
#include "runtime/PageQueue.h"
#include "runtime/Request.h"

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

// A file dialog: asks for a file to open or to save, or for a folder.
struct FileDialogRequest {
    std::string caption;
    std::string path;        // the file or folder it starts at
    std::string filter;      // pairs of a description and patterns: "Tekst|*.txt|Vse|*.*"
    bool save = false;       // a file to write, which need not exist
    bool directory = false;  // a folder
};

// The date picker that F6 opens on a date field.
struct DatePickerRequest {
    std::string caption = "Koledar";
    DayNumber start = 0;  // the date it opens at; 0 for today
};

// A menu that opens where the pointer is (a list's right-click menu): its items in order; an
// empty text is a separator.
struct PopupMenuRequest {
    struct Item {
        std::string text;
        bool enabled = true;
    };
    std::vector<Item> items;
};

// The printer reports go to, as the front end knows it.
struct PrinterSettings {
    std::string device;  // empty: the system's default printer
    int copies = 1;

    friend bool operator==(const PrinterSettings&, const PrinterSettings&) = default;
};

// A finished report shown in the preview, from which the user prints it or saves it as PDF.
struct ReportPreviewRequest {
    const PageQueue* pages = nullptr;
    std::string reportName;  // whose options these are
    std::string printerDialogTitle = "Select Printer";
    int copies = 1;
    int zoom = 0;  // percent; 0 fits the whole page
};

// How the user left the preview: the response (completed: printed or saved; cancelled: closed
// without) and the preview options as the user left them.
struct ReportPreviewResult {
    Response response = RespCancelled;
    int copies = 1;
    int zoom = 0;
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

    // Shows a file dialog; the path chosen, nothing when the user cancelled. By default the
    // dialog is cancelled, for front ends without one.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& request);

    // Shows the date picker; the date chosen, nothing when the user cancelled. By default the
    // picker is cancelled, for front ends without one.
    virtual std::optional<DayNumber> pickDate(const DatePickerRequest& request);

    // The open windows are models (see Window.h and WindowDesktop.h) that the front end reads
    // and changes while it holds the procedure scheduler's baton; nothing here shows them.

    // The current printer, and making another one current. Front ends without a printer
    // system have only the default printer.
    virtual PrinterSettings printer() const { return {}; }
    virtual void setPrinter(const PrinterSettings&) {}
    // The system's printer set-up dialog under `caption`; the printer chosen becomes current.
    // False when the user cancelled, or the front end has no such dialog.
    virtual bool printerSetUp(const std::string& /*caption*/) { return false; }

    // Shows the menu and waits for the choice: the item's number (from 1, separators counted),
    // 0 when none was chosen. By default nothing is chosen, for front ends without menus.
    virtual int popupMenu(const PopupMenuRequest&) { return 0; }

    // Opens an address (web page, "mailto:") in the desktop's own program. False when the
    // front end cannot, or the desktop refused.
    virtual bool openAddress(const std::string& /*address*/) { return false; }

    // Sounds the desktop's warning beep. Front ends without a sound do nothing.
    virtual void beep() {}
    // Shows the wait cursor over the program while `busy` (a long read the user waits for);
    // false puts the cursor back. Front ends without a pointer do nothing.
    virtual void setBusy(bool busy) { (void)busy; }

    // Shows the pages of a finished report until the user closes the preview. Front ends
    // without a preview print nothing and answer that the preview was closed.
    virtual ReportPreviewResult previewReport(const ReportPreviewRequest& request) {
        return {RespCancelled, request.copies, request.zoom};
    }
};

// The front end in use; the console fallback when none has been set.
FrontEnd& currentFrontEnd();

// The wait cursor of the current front end while it lives, also when what it waits for throws.
class WaitCursor {
  public:
    WaitCursor() { currentFrontEnd().setBusy(true); }
    ~WaitCursor() { currentFrontEnd().setBusy(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

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
