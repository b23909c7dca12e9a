#include "frontend/headless/HeadlessFrontEnd.h"

#include <algorithm>
#include <array>
#include <utility>

#include "runtime/PageExporter.h"
#include "runtime/ProcedureCall.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::array<std::pair<MessageButtons, std::string_view>, 8> kButtonNames{{
    {kButtonOk, "OK"},
    {kButtonYes, "Yes"},
    {kButtonNo, "No"},
    {kButtonAbort, "Abort"},
    {kButtonRetry, "Retry"},
    {kButtonIgnore, "Ignore"},
    {kButtonCancel, "Cancel"},
    {kButtonHelp, "Help"},
}};

std::string boxText(const MessageBoxRequest& request) {
    return "\"" + request.caption + "\" \"" + request.text + "\"";
}

// Takes an open box or preview off its list however the wait for it ends, also when the
// procedure is aborted.
template <typename T>
class RemoveWhenDone {
  public:
    RemoveWhenDone(std::vector<std::unique_ptr<T>>& list, const T* item)
        : list_(list), item_(item) {}
    ~RemoveWhenDone() {
        std::erase_if(list_, [this](const auto& open) { return open.get() == item_; });
    }
    RemoveWhenDone(const RemoveWhenDone&) = delete;
    RemoveWhenDone& operator=(const RemoveWhenDone&) = delete;

  private:
    std::vector<std::unique_ptr<T>>& list_;
    const T* item_;
};

}  // namespace

std::string buttonName(MessageButtons button) {
    for (const auto& [bit, name] : kButtonNames)
        if (bit == button) return std::string(name);
    return "#" + std::to_string(button);
}

MessageButtons buttonFromName(std::string_view name) {
    for (const auto& [bit, n] : kButtonNames)
        if (equalsIgnoreCaseAscii(n, name)) return bit;
    return 0;
}

HeadlessFrontEnd::HeadlessFrontEnd(ProcedureScheduler& scheduler)
    : scheduler_(scheduler), previous_(setCurrentFrontEnd(this)) {
    scheduler_.desktop().setImmediateTimers(true);
}

HeadlessFrontEnd::~HeadlessFrontEnd() {
    setCurrentFrontEnd(previous_);
}

MessageButtons HeadlessFrontEnd::messageBox(const MessageBoxRequest& request) {
    shownBoxes_.push_back(request);
    ProcedureThread* thread = ProcedureThread::current();
    if (thread == nullptr || &thread->scheduler() != &scheduler_) {
        problems_.push_back("a message box appeared where no one can answer it: " +
                            boxText(request));
        return unattendedAnswer(request.buttons, request.defaultButton);
    }
    openBoxes_.push_back(std::make_unique<OpenBox>(OpenBox{request, std::nullopt}));
    OpenBox* box = openBoxes_.back().get();
    const RemoveWhenDone remove(openBoxes_, box);
    scheduler_.waitUntil([box] { return box->answer.has_value(); });
    return *box->answer;
}

const MessageBoxRequest* HeadlessFrontEnd::openMessageBox() const {
    for (auto it = openBoxes_.rbegin(); it != openBoxes_.rend(); ++it)
        if (!(*it)->answer) return &(*it)->request;
    return nullptr;
}

bool HeadlessFrontEnd::answer(MessageButtons button, std::string& refusal) {
    auto it = std::find_if(openBoxes_.rbegin(), openBoxes_.rend(),
                           [](const auto& b) { return !b->answer; });
    if (it == openBoxes_.rend()) {
        refusal = "no message box is open";
        return false;
    }
    if ((button & (*it)->request.buttons) == 0 || (button & (button - 1)) != 0) {
        refusal = "the message box has no button " + buttonName(button);
        return false;
    }
    (*it)->answer = button;
    return true;
}

std::optional<std::string> HeadlessFrontEnd::chooseFile(const FileDialogRequest& request) {
    fileDialogs_.push_back(request);
    if (fileAnswers_.empty()) {
        problems_.push_back("a file dialog \"" + request.caption +
                            "\" opened with no answer given for it");
        return std::nullopt;
    }
    auto answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
}

std::optional<DayNumber> HeadlessFrontEnd::pickDate(const DatePickerRequest& request) {
    datePickers_.push_back(request);
    if (dateAnswers_.empty()) {
        problems_.push_back("a date picker \"" + request.caption +
                            "\" opened with no answer given for it");
        return std::nullopt;
    }
    auto answer = dateAnswers_.front();
    dateAnswers_.pop_front();
    return answer;
}

int HeadlessFrontEnd::popupMenu(const PopupMenuRequest& request) {
    if (menuAnswers_.empty()) {
        problems_.push_back("a popup menu opened with no item chosen for it");
        return 0;
    }
    const std::string wanted = menuAnswers_.front();
    menuAnswers_.pop_front();
    for (std::size_t i = 0; i < request.items.size(); ++i) {
        std::string text = request.items[i].text;
        std::erase(text, '&');
        // A disabled item is shown but clicking it chooses nothing, as on the desktop.
        if (text == wanted) return request.items[i].enabled ? static_cast<int>(i) + 1 : 0;
    }
    problems_.push_back("the popup menu has no item \"" + wanted + "\"");
    return 0;
}

ReportPreviewResult HeadlessFrontEnd::previewReport(const ReportPreviewRequest& request) {
    ReportPreviewResult result{RespCancelled, request.copies, request.zoom};
    if (request.pages == nullptr) return result;
    lastPreview_ = std::make_shared<const PageQueue>(*request.pages);
    ++shownPreviews_;
    const ProcedureThread* thread = ProcedureThread::current();
    if (!previewsWait_ || thread == nullptr || &thread->scheduler() != &scheduler_) return result;
    openPreviews_.push_back(std::make_unique<OpenPreview>(OpenPreview{lastPreview_}));
    OpenPreview* preview = openPreviews_.back().get();
    const RemoveWhenDone remove(openPreviews_, preview);
    scheduler_.waitUntil([preview] { return preview->closed; });
    if (preview->saved) result.response = RespCompleted;
    return result;
}

HeadlessFrontEnd::OpenPreview* HeadlessFrontEnd::newestOpenPreview() const {
    for (auto it = openPreviews_.rbegin(); it != openPreviews_.rend(); ++it)
        if (!(*it)->closed) return it->get();
    return nullptr;
}

const PageQueue* HeadlessFrontEnd::openPreview() const {
    const OpenPreview* preview = newestOpenPreview();
    return preview ? preview->pages.get() : nullptr;
}

FileResult HeadlessFrontEnd::savePreview(const std::filesystem::path& file) {
    OpenPreview* preview = newestOpenPreview();
    if (preview == nullptr) return FileResult::failure("no report preview is open");
    PageExporter* exporter = currentPageExporter();
    if (exporter == nullptr)
        return FileResult::failure("no PDF export is installed, so " + file.string() +
                                   " cannot be written");
    std::string error;
    if (!exporter->writePdf(*preview->pages, file, error)) return FileResult::failure(error);
    preview->saved = true;
    return FileResult::success();
}

bool HeadlessFrontEnd::closePreview(std::string& refusal) {
    OpenPreview* preview = newestOpenPreview();
    if (preview == nullptr) {
        refusal = "no report preview is open";
        return false;
    }
    preview->closed = true;
    return true;
}

std::vector<std::string> HeadlessFrontEnd::takeProblems() {
    return std::exchange(problems_, {});
}

}  // namespace dv
