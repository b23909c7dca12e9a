#pragma once

#include <cstdint>
#include <string_view>

namespace dv {

// Results of raising a message by its level, which are also the results of the table operations
// and of a procedure's set-up: a reporting operation returns the level result of the message it
// raised.
enum class Level : std::uint8_t {
    Benign = 0,  // success; Yes to a question; a quiet message
    User = 1,    // the record is not valid
    Fatal = 3,   // fatal; the table is not usable; a window that is not to open
    Cancel = 4,  // No to a question
    Notify = 5,  // a failure, reported or to be reported by the caller
};
inline constexpr Level kLevelBenign = Level::Benign;
inline constexpr Level kLevelUser = Level::User;
inline constexpr Level kLevelFatal = Level::Fatal;
inline constexpr Level kLevelCancel = Level::Cancel;
inline constexpr Level kLevelNotify = Level::Notify;

// The part of the program's message reporter that the layers below the framework use: quote the
// texts a message needs, capture the runtime error, raise a message by id. The framework's
// ErrorReporter implements it and installs itself as the current one.
class MessageRaiser {
  public:
    virtual ~MessageRaiser() = default;

    virtual void quoteFile(std::string_view text) = 0;
    virtual void quoteField(std::string_view text) = 0;
    virtual void captureErrorState() = 0;
    // Acts by the message's level and returns the level result; a fatal message ends the program.
    virtual Level raise(std::uint16_t id) = 0;
    // Stores `text` for %Message, then raises `id`.
    virtual Level raiseWithText(std::uint16_t id, std::string_view text) = 0;
};

// The current raiser: the one installed last, else a fallback that writes each message id on
// standard error and returns kLevelNotify (before the program's reporter exists).
MessageRaiser& currentMessageRaiser();

// Installs `raiser` (nullptr goes back to the fallback) and returns the previous one (nullptr when
// it was the fallback). The caller keeps ownership.
MessageRaiser* setCurrentMessageRaiser(MessageRaiser* raiser);

// Message 24 "Procedure not defined" for a procedure that is called but is not part of the
// program, with the procedure's name as %Message; returns the level result.
Level raiseProcedureNotDefined(std::string_view procedure);

}  // namespace dv
