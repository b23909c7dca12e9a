#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/FrontEnd.h"
#include "runtime/ProcedureScheduler.h"

class QWidget;

namespace dv {

// The front end of the Qt desktop. It installs itself as the current front end for its
// lifetime.
//
// A procedure that asks for a dialog (message box, list window, file dialog, date picker,
// printer set-up, report preview, opening an address) runs on a procedure thread, where no
// widget may be touched: it leaves its request here and waits, giving the baton back. The GUI
// thread, once the scheduler is idle, shows the dialog (answerWaitingDialog), stores the answer
// and runs the scheduler again, and the procedure goes on with the answer. Asked on the GUI
// thread itself, the dialog is shown at once; asked on any other thread, nobody can answer and
// the unattended answer is given.
class QtFrontEnd : public FrontEnd {
  public:
    explicit QtFrontEnd(ProcedureScheduler& scheduler);
    ~QtFrontEnd() override;
    QtFrontEnd(const QtFrontEnd&) = delete;
    QtFrontEnd& operator=(const QtFrontEnd&) = delete;

    MessageButtons messageBox(const MessageBoxRequest& request) override;
    MessageButtons messageList(const MessageListRequest& request) override;
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override;
    std::optional<DayNumber> pickDate(const DatePickerRequest& request) override;
    int popupMenu(const PopupMenuRequest& request) override;
    PrinterSettings printer() const override { return printer_; }
    void setPrinter(const PrinterSettings& printer) override { printer_ = printer; }
    bool printerSetUp(const std::string& caption) override;
    bool openAddress(const std::string& address) override;
    void beep() override;
    void setBusy(bool busy) override;
    ReportPreviewResult previewReport(const ReportPreviewRequest& request) override;

    // The GUI side, used while it holds the baton.

    // The window the dialogs are shown over.
    void setDialogParent(QWidget* parent) { parent_ = parent; }
    // Whether a procedure waits for a dialog that has not been shown yet.
    bool hasWaitingDialog() const;
    // Shows the dialog that a procedure has waited for longest and stores its answer; false
    // when none waits. The procedure goes on when the scheduler next runs.
    bool answerWaitingDialog();

  private:
    struct WaitingDialog {
        std::function<void(QWidget*)> show;  // shows the dialog and stores the answer
        bool shown = false;
        bool answered = false;
    };

    template <typename Answer>
    Answer ask(const std::function<Answer(QWidget*)>& show, Answer unattended);
    bool onProcedureThread() const;

    ProcedureScheduler& scheduler_;
    FrontEnd* previous_;
    QWidget* parent_ = nullptr;
    PrinterSettings printer_;
    std::vector<WaitingDialog*> waiting_;  // oldest first; each lives on its procedure's stack
};

}  // namespace dv
