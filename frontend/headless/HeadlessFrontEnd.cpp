#include "frontend/headless/HeadlessFrontEnd.h"

#include <algorithm>
#include <array>
#include <utility>

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
    // The box goes away however the wait ends, also when the procedure is aborted.
    struct Closer {
        HeadlessFrontEnd& frontEnd;
        OpenBox* box;
        ~Closer() {
            std::erase_if(frontEnd.openBoxes_, [&](const auto& b) { return b.get() == box; });
        }
    } closer{*this, box};
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

std::vector<std::string> HeadlessFrontEnd::takeProblems() {
    return std::exchange(problems_, {});
}

}  // namespace dv
