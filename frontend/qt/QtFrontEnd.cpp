#include "frontend/qt/QtFrontEnd.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <exception>

#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/QtText.h"

namespace dv {
namespace {

bool onGuiThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

// Takes a waiting dialog off the list however the wait ends, also when the procedure is
// aborted while it waits.
class WaitingEntry {
  public:
    template <typename T>
    WaitingEntry(std::vector<T*>& list, T* entry)
        : remove_([&list, entry] { std::erase(list, entry); }) {
        list.push_back(entry);
    }
    ~WaitingEntry() { remove_(); }
    WaitingEntry(const WaitingEntry&) = delete;
    WaitingEntry& operator=(const WaitingEntry&) = delete;

  private:
    std::function<void()> remove_;
};

}  // namespace

QtFrontEnd::QtFrontEnd(ProcedureScheduler& scheduler)
    : scheduler_(scheduler), previous_(setCurrentFrontEnd(this)) {
    scheduler_.desktop().setImmediateTimers(false);
}

QtFrontEnd::~QtFrontEnd() {
    setCurrentFrontEnd(previous_);
}

bool QtFrontEnd::onProcedureThread() const {
    const ProcedureThread* thread = ProcedureThread::current();
    return thread != nullptr && &thread->scheduler() == &scheduler_;
}

template <typename Answer>
Answer QtFrontEnd::ask(const std::function<Answer(QWidget*)>& show, Answer unattended) {
    if (onProcedureThread()) {
        Answer answer = unattended;
        WaitingDialog dialog{[&show, &answer](QWidget* parent) { answer = show(parent); }};
        const WaitingEntry entry(waiting_, &dialog);
        scheduler_.waitUntil([&dialog] { return dialog.answered; });
        return answer;
    }
    if (onGuiThread()) return show(parent_);
    return unattended;
}

bool QtFrontEnd::hasWaitingDialog() const {
    return std::any_of(waiting_.begin(), waiting_.end(),
                       [](const WaitingDialog* dialog) { return !dialog->shown; });
}

bool QtFrontEnd::answerWaitingDialog() {
    auto it = std::find_if(waiting_.begin(), waiting_.end(),
                           [](const WaitingDialog* dialog) { return !dialog->shown; });
    if (it == waiting_.end()) return false;
    // The list may change while the dialog is open (other procedures run meanwhile); the
    // dialog itself stays where it is, on its procedure's stack.
    WaitingDialog* dialog = *it;
    dialog->shown = true;
    try {
        dialog->show(parent_);
    } catch (const std::exception& e) {
        // The procedure goes on with the unattended answer.
        std::fprintf(stderr, "dideroviv: a dialog failed: %s\n", e.what());
    }
    dialog->answered = true;
    return true;
}

MessageButtons QtFrontEnd::messageBox(const MessageBoxRequest& request) {
    return ask<MessageButtons>(
        [&request](QWidget* parent) { return showMessageBox(request, parent); },
        unattendedAnswer(request.buttons, request.defaultButton));
}

MessageButtons QtFrontEnd::messageList(const MessageListRequest& request) {
    return ask<MessageButtons>(
        [&request](QWidget* parent) { return showMessageList(request, parent); },
        unattendedAnswer(request.buttons, request.defaultButton));
}

std::optional<std::string> QtFrontEnd::chooseFile(const FileDialogRequest& request) {
    return ask<std::optional<std::string>>(
        [&request](QWidget* parent) { return showFileDialog(request, parent); }, std::nullopt);
}

std::optional<DayNumber> QtFrontEnd::pickDate(const DatePickerRequest& request) {
    return ask<std::optional<DayNumber>>(
        [&request](QWidget* parent) { return showDatePicker(request, parent); }, std::nullopt);
}

int QtFrontEnd::popupMenu(const PopupMenuRequest& request) {
    return ask<int>([&request](QWidget* parent) { return showPopupMenu(request, parent); }, 0);
}

bool QtFrontEnd::printerSetUp(const std::string& caption) {
    return ask<bool>(
        [this, &caption](QWidget* parent) {
            PrinterSettings chosen = printer_;
            if (!showPrinterDialog(chosen, caption, parent)) return false;
            printer_ = chosen;
            return true;
        },
        false);
}

bool QtFrontEnd::openAddress(const std::string& address) {
    return ask<bool>(
        [&address](QWidget*) {
            return QDesktopServices::openUrl(QUrl::fromUserInput(toQString(address)));
        },
        false);
}

void QtFrontEnd::beep() {
    ask<bool>(
        [](QWidget*) {
            QApplication::beep();
            return true;
        },
        false);
}

void QtFrontEnd::setBusy(bool busy) {
    ask<bool>(
        [busy](QWidget*) {
            if (busy)
                QApplication::setOverrideCursor(Qt::WaitCursor);
            else
                QApplication::restoreOverrideCursor();
            return true;
        },
        false);
}

ReportPreviewResult QtFrontEnd::previewReport(const ReportPreviewRequest& request) {
    const ReportPreviewResult closed{RespCancelled, request.copies, request.zoom};
    if (request.pages == nullptr) return closed;
    return ask<ReportPreviewResult>(
        [this, &request](QWidget* parent) { return showReportPreview(request, printer_, parent); },
        closed);
}

}  // namespace dv
