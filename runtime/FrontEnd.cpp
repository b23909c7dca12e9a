#include "runtime/FrontEnd.h"

#include <atomic>
#include <cstdio>

namespace dv {
namespace {

std::atomic<FrontEnd*> installedFrontEnd{nullptr};

std::string rowsAsText(const std::vector<MessageListRequest::Row>& rows) {
    std::string text;
    for (const auto& row : rows) {
        if (!text.empty()) text += '|';
        text += row.text;
        if (!row.category.empty()) text += "  [" + row.category + "]";
    }
    return text;
}

std::string withLineBreaks(std::string text) {
    for (char& c : text)
        if (c == '|') c = '\n';
    return text;
}

}  // namespace

MessageButtons FrontEnd::messageList(const MessageListRequest& request) {
    MessageBoxRequest box;
    box.caption = request.caption;
    box.text = rowsAsText(request.rows);
    box.buttons = request.buttons;
    box.defaultButton = request.defaultButton;
    return messageBox(box);
}

std::optional<std::string> FrontEnd::chooseFile(const FileDialogRequest&) {
    return std::nullopt;
}

std::optional<DayNumber> FrontEnd::pickDate(const DatePickerRequest&) {
    return std::nullopt;
}

FrontEnd& currentFrontEnd() {
    static ConsoleFrontEnd console;
    FrontEnd* installed = installedFrontEnd.load();
    return installed ? *installed : console;
}

FrontEnd* setCurrentFrontEnd(FrontEnd* frontEnd) {
    return installedFrontEnd.exchange(frontEnd);
}

MessageButtons unattendedAnswer(MessageButtons buttons, MessageButtons defaultButton) {
    if (defaultButton != 0 && (buttons & defaultButton) == defaultButton &&
        (defaultButton & (defaultButton - 1)) == 0)
        return defaultButton;
    if (buttons == 0) return kButtonOk;
    return buttons & (~buttons + 1);
}

MessageButtons ConsoleFrontEnd::messageBox(const MessageBoxRequest& request) {
    std::fprintf(stderr, "[%s]\n%s\n", request.caption.c_str(),
                 withLineBreaks(request.text).c_str());
    return unattendedAnswer(request.buttons, request.defaultButton);
}

}  // namespace dv
