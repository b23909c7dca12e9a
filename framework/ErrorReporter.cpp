#include "framework/ErrorReporter.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "framework/BuiltInMessages.h"
#include "framework/ErrorMessageBlock.h"
#include "framework/ErrorText.h"
#include "runtime/Halt.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr std::string_view kFatalSuffix = "  Press OK to end this application";
constexpr std::string_view kHistoryCaption = "Errors History";

struct ProcedureName {
    std::uint64_t reporter;
    std::string name;
};

// The running procedures of the calling thread, of every reporter, oldest first.
std::vector<ProcedureName>& threadProcedures() {
    thread_local std::vector<ProcedureName> names;
    return names;
}

std::uint64_t nextReporterSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

std::string quoted(std::string_view text) {
    return std::string(firstCharacters(trimTrailingBlanks(text), kMaxQuoteLength));
}

// What a raise of an id that no table holds shows: a notice naming the id.
MessageEntry unknownMessage(std::uint16_t id) {
    return MessageEntry{id,
                        MsgNotify,
                        "Unknown Message",
                        "No message is defined for id " + std::to_string(id) + ".",
                        {}};
}

}  // namespace

ErrorReporter::ErrorReporter()
    : serial_(nextReporterSerial()), previousRaiser_(setCurrentMessageRaiser(this)) {
    messages_.add(decodeMessageBlock(builtInMessageBlock()));
}

ErrorReporter::~ErrorReporter() {
    if (&currentMessageRaiser() == this) setCurrentMessageRaiser(previousRaiser_);
    auto& names = threadProcedures();
    std::erase_if(names, [this](const ProcedureName& entry) { return entry.reporter == serial_; });
}

void ErrorReporter::addMessages(std::string_view block) {
    messages_.add(decodeMessageBlock(block));
}

void ErrorReporter::assignCategory(std::uint16_t id, std::string_view category) {
    if (id == kAnyMessageId) {
        defaultCategory_ = category;
        return;
    }
    std::size_t position = messages_.select(id);
    if (position != ErrorMessages::npos) messages_.at(position).category = category;
}

void ErrorReporter::quoteFile(std::string_view text) {
    fileName_ = quoted(text);
}

void ErrorReporter::quoteField(std::string_view text) {
    fieldName_ = quoted(text);
}

void ErrorReporter::captureErrorState() {
    const ErrorState& runtime = lastError();
    savedError_.code = runtime.code;
    savedError_.text = trimTrailingBlanks(runtime.text);
    savedError_.fileErrorCode = trimTrailingBlanks(runtime.fileErrorCode);
    savedError_.fileErrorText = trimTrailingBlanks(runtime.fileErrorText);
    savedError_.fileName = trimTrailingBlanks(runtime.fileName);
}

Level ErrorReporter::raise(std::uint16_t id) {
    captureErrorState();
    return dispatch(build(id));
}

Level ErrorReporter::raiseWithText(std::uint16_t id, std::string_view text) {
    messageText_ = firstCharacters(text, kMaxQuoteLength);
    return raise(id);
}

MessageButtons ErrorReporter::askWithButtons(std::uint16_t id, MessageButtons buttons,
                                             MessageButtons defaultButton) {
    if (silent_) return defaultButton;
    RaisedMessage message = build(id);
    return messageBox(MessageBoxRequest{message.entry.title, message.text, MessageIcon::Question,
                                        buttons, defaultButton});
}

void ErrorReporter::pushProcedure(std::string_view name) {
    threadProcedures().push_back(ProcedureName{serial_, std::string(name)});
}

void ErrorReporter::popProcedure(std::string_view name) {
    auto& names = threadProcedures();
    auto found = std::find_if(names.rbegin(), names.rend(), [&](const ProcedureName& entry) {
        return entry.reporter == serial_ && entry.name == name;
    });
    if (found != names.rend()) names.erase(std::next(found).base());
}

std::string ErrorReporter::currentProcedure() const {
    const auto& names = threadProcedures();
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        if (it->reporter == serial_) return it->name;
    return {};
}

void ErrorReporter::showHistory() {
    if (silent_) return;
    historyWindow(kButtonOk | kButtonHelp, kButtonOk);
}

MessageButtons ErrorReporter::display(const DisplayRequest& request) {
    if (logErrors_) writeToLog(request.text);
    if (history_.enabled()) addHistoryEntry(request);
    if (silent_) return request.defaultButton;
    if (history_.enabled()) {
        if (levelNumber(request.level) != historyViewLevel_) return request.defaultButton;
        return historyWindow(request.buttons, request.defaultButton);
    }
    return messageBox(MessageBoxRequest{request.title, request.text, request.icon, request.buttons,
                                        request.defaultButton});
}

void ErrorReporter::addHistoryEntry(const DisplayRequest& request) {
    bool useDefault = request.category.empty() || request.id == kAnyMessageId;
    history_.record(request.id, useDefault ? defaultCategory_ : request.category, request.text);
}

MessageButtons ErrorReporter::historyWindow(MessageButtons buttons, MessageButtons defaultButton) {
    MessageListRequest window;
    window.caption = kHistoryCaption;
    window.textHeading = "Message";
    window.categoryHeading = "Category";
    for (const HistoryEntry& entry : history_.entries())
        window.rows.push_back({entry.text, entry.category});
    window.buttons = buttons;
    window.defaultButton = defaultButton;
    MessageButtons pressed = currentFrontEnd().messageList(window);
    if (historyResetOnView_) history_.clear();
    return pressed;
}

MessageButtons ErrorReporter::messageBox(const MessageBoxRequest& request) {
    return currentFrontEnd().messageBox(request);
}

Level ErrorReporter::takeQuiet(const RaisedMessage&) {
    return kLevelBenign;
}

Level ErrorReporter::takeFatal(const RaisedMessage& message) {
    RaisedMessage shown = message;
    shown.text += kFatalSuffix;
    display(displayRequest(shown, MsgFatal, MessageIcon::Exclamation, kButtonOk, kButtonOk));
    halt(kFatalExitCode, message.text);
}

Level ErrorReporter::takeNotify(const RaisedMessage& message) {
    display(displayRequest(message, MsgNotify, MessageIcon::Exclamation, kButtonOk, kButtonOk));
    return kLevelNotify;
}

Level ErrorReporter::takeHigherLevel(const RaisedMessage& message) {
    return takeFatal(message);
}

Level ErrorReporter::takeProgramError(const RaisedMessage& message) {
    return takeFatal(message);
}

Level ErrorReporter::takeQuestion(const RaisedMessage& message) {
    MessageButtons pressed = display(
        displayRequest(message, MsgAsk, MessageIcon::Question, kButtonYes | kButtonNo, kButtonYes));
    return pressed == kButtonYes ? kAnswerYes : kAnswerNo;
}

ErrorReporter::RaisedMessage ErrorReporter::build(std::uint16_t id) {
    std::size_t position = messages_.select(id);
    if (position == ErrorMessages::npos) {
        MessageEntry entry = unknownMessage(id);
        std::string text = entry.text;
        return RaisedMessage{std::move(entry), std::move(text)};
    }
    const MessageEntry& entry = messages_.at(position);
    std::size_t previous = messages_.previous(position);
    MessageQuotes quotes{
        fileName_,
        savedError_,
        messageText_,
        fieldName_,
        currentProcedure(),
        entry.category,
        previous == ErrorMessages::npos ? std::string{} : messages_.at(previous).text};
    return RaisedMessage{entry, buildMessageText(entry.text, quotes)};
}

Level ErrorReporter::dispatch(const RaisedMessage& message) {
    switch (message.entry.level) {
        case MsgQuiet:
            return takeQuiet(message);
        case MsgAsk:
        case MsgDeclined:
            return takeQuestion(message);
        case MsgProgram:
            return takeProgramError(message);
        case MsgFatal:
            return takeFatal(message);
        case MsgNotify:
            return takeNotify(message);
        default:
            return takeHigherLevel(message);
    }
}

DisplayRequest ErrorReporter::displayRequest(const RaisedMessage& message, MessageLevel level,
                                             MessageIcon icon, MessageButtons buttons,
                                             MessageButtons defaultButton) const {
    return DisplayRequest{level,        message.entry.id,    message.entry.category,
                          message.text, message.entry.title, icon,
                          buttons,      defaultButton};
}

void ErrorReporter::writeToLog(std::string_view text) {
    ErrorLog& log = errorLog();
    if (log.open() != kLogDone) return;
    log.write(errorLogLine(today(), now(), text));
    log.close();
}

}  // namespace dv
