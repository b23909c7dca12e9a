#pragma once

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/IniFile.h"
#include "runtime/FrontEnd.h"
#include "runtime/ProcedureScheduler.h"

namespace dv {

// The front end without a display, driven from code or a UI script. A message box opened by a
// procedure stays open, and the procedure waits, until the driver answers it; file dialogs and
// date pickers take the answers queued for them in advance. Timers of the scheduler's windows
// fire at once. It installs itself as the current front end for its lifetime.
//
// A report preview keeps a copy of the pages. While a script drives the front end
// (setPreviewsWait), the preview stays open, and its procedure waits, until the driver closes
// it; otherwise (automation, or a preview outside a procedure thread) it closes at once. A
// preview closed without being saved answers "closed without printing" (response 2); one the
// driver saved as PDF answers "printed or saved" (response 1), as the desktop preview does.
//
// Boxes and dialogs that nobody can answer (a box raised outside a procedure thread, a dialog
// with no queued answer) are answered unattended (a box) or cancelled (a dialog) and noted as
// problems for the driver to report.
class HeadlessFrontEnd : public FrontEnd {
  public:
    explicit HeadlessFrontEnd(ProcedureScheduler& scheduler);
    ~HeadlessFrontEnd() override;
    HeadlessFrontEnd(const HeadlessFrontEnd&) = delete;
    HeadlessFrontEnd& operator=(const HeadlessFrontEnd&) = delete;

    MessageButtons messageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
    std::optional<DayNumber> pickDate(const DatePickerRequest& request) override;
    int popupMenu(const PopupMenuRequest& request) override;
    ReportPreviewResult previewReport(const ReportPreviewRequest& request) override;
    // Counts the beeps, which a test can read: there is nothing to hear.
    void beep() override { ++beeps_; }
    int beeps() const { return beeps_; }
    // Counts the times the wait cursor was shown and keeps whether it shows, for tests.
    void setBusy(bool busy) override {
        busyTimes_ += busy ? 1 : 0;
        busy_ = busy;
    }
    int busyTimes() const { return busyTimes_; }
    bool busy() const { return busy_; }

    // The driver's side, used while it holds the baton.

    // The message box waiting for an answer (the newest when several procedures wait), nullptr
    // when none.
    const MessageBoxRequest* openMessageBox() const;
    // Answers the open box; refuses (with the reason) when no box is open or the box has no
    // such button. The procedure goes on when the driver next runs the scheduler.
    bool answer(MessageButtons button, std::string& refusal);

    // The answer to the next file dialog or date picker (nothing: the user cancels).
    void queueFileAnswer(std::optional<std::string> path) {
        fileAnswers_.push_back(std::move(path));
    }
    void queueDateAnswer(std::optional<DayNumber> day) { dateAnswers_.push_back(day); }
    std::size_t unusedFileAnswers() const { return fileAnswers_.size(); }
    std::size_t unusedDateAnswers() const { return dateAnswers_.size(); }
    // The item the next popup menu chooses, by its text without the "&" of its shortcut; a
    // disabled item chooses nothing.
    void queueMenuAnswer(std::string item) { menuAnswers_.push_back(std::move(item)); }
    std::size_t unusedMenuAnswers() const { return menuAnswers_.size(); }

    // Whether report previews stay open until the driver closes them (a script drives).
    void setPreviewsWait(bool wait) { previewsWait_ = wait; }
    // The pages of the open preview (the newest when several procedures wait), nullptr when
    // none is open.
    const PageQueue* openPreview() const;
    // Saves the open preview's pages as a PDF file through the installed page exporter; the
    // preview then answers "printed or saved" when closed. Fails, with the reason, when none is
    // open, no exporter is installed or the file cannot be written.
    FileResult savePreview(const std::filesystem::path& file);
    // Closes the open preview; refuses (with the reason) when none is open. The procedure goes
    // on when the driver next runs the scheduler.
    bool closePreview(std::string& refusal);
    // The pages of the latest preview shown, open or closed; nullptr before the first.
    const PageQueue* lastPreview() const { return lastPreview_.get(); }
    int shownPreviews() const { return shownPreviews_; }

    // What was shown, oldest first.
    const std::vector<MessageBoxRequest>& shownBoxes() const { return shownBoxes_; }
    const std::vector<FileDialogRequest>& shownFileDialogs() const { return fileDialogs_; }
    const std::vector<DatePickerRequest>& shownDatePickers() const { return datePickers_; }

    // Problems met since the last call, oldest first.
    std::vector<std::string> takeProblems();

  private:
    struct OpenBox {
        MessageBoxRequest request;
        std::optional<MessageButtons> answer;
    };

    struct OpenPreview {
        std::shared_ptr<const PageQueue> pages;
        bool saved = false;
        bool closed = false;
    };

    OpenPreview* newestOpenPreview() const;

    ProcedureScheduler& scheduler_;
    FrontEnd* previous_;
    std::vector<std::unique_ptr<OpenBox>> openBoxes_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::deque<std::optional<DayNumber>> dateAnswers_;
    std::deque<std::string> menuAnswers_;
    std::vector<MessageBoxRequest> shownBoxes_;
    std::vector<FileDialogRequest> fileDialogs_;
    std::vector<DatePickerRequest> datePickers_;
    std::vector<std::string> problems_;
    std::vector<std::unique_ptr<OpenPreview>> openPreviews_;
    std::shared_ptr<const PageQueue> lastPreview_;
    int shownPreviews_ = 0;
    bool previewsWait_ = false;
    int beeps_ = 0;
    int busyTimes_ = 0;
    bool busy_ = false;
};

// "OK", "Yes", ... for a button bit, and back (letter case ignored; 0 for an unknown name).
std::string buttonName(MessageButtons button);
MessageButtons buttonFromName(std::string_view name);

}  // namespace dv
