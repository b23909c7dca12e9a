#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/ErrorHistory.h"
#include "framework/ErrorLog.h"
#include "framework/ErrorMessages.h"
#include "runtime/ErrorState.h"
#include "runtime/FrontEnd.h"
#include "runtime/MessageRaiser.h"

namespace dv {

// Most characters of a quoted file name, field name or message text.
inline constexpr std::size_t kMaxQuoteLength = 254;

// The exit code of the program ended by a fatal message.
inline constexpr int kFatalExitCode = levelNumber(MsgFatal);

// A message on its way to the user, as `display` receives it.
struct DisplayRequest {
    MessageLevel level = MsgNotify;
    std::uint16_t id = 0;
    std::string category;  // the message's own category, may be empty
    std::string text;      // after substitution
    std::string title;
    MessageIcon icon = MessageIcon::Exclamation;
    MessageButtons buttons = kButtonOk;
    MessageButtons defaultButton = kButtonOk;
};

// The program's one message reporter. A caller quotes the texts a message needs (file, field,
// message text) and raises the message by id; the reporter fills the placeholders, acts by the
// message's level (ask, notify, end the program) and returns the level result. It can also write
// each message to the error log and keep a history of recent messages.
//
// One instance serves every procedure thread. Procedure threads take turns (only one runs at a
// time), so the quoted texts and settings need no lock; the procedure names are kept per thread.
// A reporter installs itself as the current message raiser for the layers below the framework
// while it lives (the one made last wins; the previous one comes back when it is destroyed).
class ErrorReporter : public MessageRaiser {
  public:
    // Sets up the message table with the built-in messages, the standard error log in the
    // working directory, the default category "QLX", and the history off with view level 3.
    ErrorReporter();
    ~ErrorReporter() override;
    ErrorReporter(const ErrorReporter&) = delete;
    ErrorReporter& operator=(const ErrorReporter&) = delete;

    // Appends the messages of a packed block (see ErrorMessageBlock.h); a later message overrides
    // an earlier one with the same id. A malformed block adds nothing and throws
    // MalformedMessageBlock.
    virtual void addMessages(std::string_view block);

    // Id kAnyMessageId sets the default category; any other id sets its selected message's.
    void assignCategory(std::uint16_t id, std::string_view category);

    // Texts for %File and %Field, trailing blanks removed, at most kMaxQuoteLength characters.
    void quoteFile(std::string_view text) override;
    void quoteField(std::string_view text) override;

    // Copies the calling thread's runtime error (trailing blanks removed) for the placeholders.
    void captureErrorState() override;

    // Captures the runtime error, selects the message and acts by its level. Returns 0 (quiet, or
    // Yes to a question), 4 (No), 5 (notice shown); a fatal message ends the program through
    // halt() after it is shown.
    Level raise(std::uint16_t id) override;
    // Stores `text` for %Message (at most kMaxQuoteLength characters), then raises `id`.
    Level raiseWithText(std::uint16_t id, std::string_view text) override;

    // Shows the message with the question icon and the caller's buttons, neither logged nor
    // recorded; returns the pressed button, or `defaultButton` at once when silent.
    MessageButtons askWithButtons(std::uint16_t id, MessageButtons buttons,
                                  MessageButtons defaultButton);

    // The names of the running procedures, per thread, for %Procedure. Pop removes the calling
    // thread's most recent entry of that name.
    void pushProcedure(std::string_view name);
    void popProcedure(std::string_view name);
    std::string currentProcedure() const;

    // Shows the history window with OK and Help, OK the default (nothing when silent).
    virtual void showHistory();

    // The single place where a message is logged, recorded and shown; returns the pressed button.
    virtual MessageButtons display(const DisplayRequest& request);

    // State.
    const ErrorMessages& messages() const { return messages_; }
    const std::string& defaultCategory() const { return defaultCategory_; }
    const std::string& fileName() const { return fileName_; }
    const std::string& fieldName() const { return fieldName_; }
    const std::string& messageText() const { return messageText_; }
    const ErrorState& savedError() const { return savedError_; }

    bool silent() const { return silent_; }
    void setSilent(bool silent) { silent_ = silent; }
    bool logErrors() const { return logErrors_; }
    void setLogErrors(bool logErrors) { logErrors_ = logErrors; }

    const ErrorHistory& history() const { return history_; }
    std::int32_t historyThreshold() const { return history_.threshold(); }
    void setHistoryThreshold(std::int32_t threshold) { history_.setThreshold(threshold); }
    std::int32_t historyViewLevel() const { return historyViewLevel_; }
    void setHistoryViewLevel(std::int32_t level) { historyViewLevel_ = level; }
    bool historyResetOnView() const { return historyResetOnView_; }
    void setHistoryResetOnView(bool reset) { historyResetOnView_ = reset; }

    // The log in use: the standard log unless another has been installed (nullptr goes back to
    // the standard one; the caller keeps ownership of its log).
    ErrorLog& errorLog() { return errorLog_ ? *errorLog_ : standardErrorLog_; }
    void setErrorLog(ErrorLog* log) { errorLog_ = log; }
    StandardErrorLog& standardErrorLog() { return standardErrorLog_; }

  protected:
    // A selected message with its text built.
    struct RaisedMessage {
        MessageEntry entry;  // as stored, with the raw text
        std::string text;    // built
    };

    virtual void addHistoryEntry(const DisplayRequest& request);
    // The history window with the given buttons; empties the history afterwards when asked to.
    virtual MessageButtons historyWindow(MessageButtons buttons, MessageButtons defaultButton);
    // A plain modal message box on the current front end.
    virtual MessageButtons messageBox(const MessageBoxRequest& request);

    // Level handlers.
    virtual Level takeQuiet(const RaisedMessage& message);
    virtual Level takeFatal(const RaisedMessage& message);
    virtual Level takeNotify(const RaisedMessage& message);
    virtual Level takeHigherLevel(const RaisedMessage& message);
    virtual Level takeProgramError(const RaisedMessage& message);
    virtual Level takeQuestion(const RaisedMessage& message);

  private:
    RaisedMessage build(std::uint16_t id);
    Level dispatch(const RaisedMessage& message);
    DisplayRequest displayRequest(const RaisedMessage& message, MessageLevel level,
                                  MessageIcon icon, MessageButtons buttons,
                                  MessageButtons defaultButton) const;
    void writeToLog(std::string_view text);

    ErrorMessages messages_;
    std::string defaultCategory_ = "QLX";
    std::string fileName_;
    std::string fieldName_;
    std::string messageText_;
    ErrorState savedError_;
    bool silent_ = false;
    bool logErrors_ = false;
    ErrorHistory history_;
    std::int32_t historyViewLevel_ = levelNumber(MsgFatal);
    bool historyResetOnView_ = false;
    StandardErrorLog standardErrorLog_;
    ErrorLog* errorLog_ = nullptr;
    std::uint64_t serial_;
    MessageRaiser* previousRaiser_;
};

// Records a procedure's name for the time it runs.
class ProcedureNameScope {
  public:
    ProcedureNameScope(ErrorReporter& reporter, std::string name)
        : reporter_(reporter), name_(std::move(name)) {
        reporter_.pushProcedure(name_);
    }
    ~ProcedureNameScope() { reporter_.popProcedure(name_); }
    ProcedureNameScope(const ProcedureNameScope&) = delete;
    ProcedureNameScope& operator=(const ProcedureNameScope&) = delete;

  private:
    ErrorReporter& reporter_;
    std::string name_;
};

}  // namespace dv
