#pragma once

#include <cstdint>
#include <string_view>

namespace dv {

// Results of raising a message by its level, which are also the results of the table operations:
// a reporting operation returns the level result of the message it raised.
inline constexpr int kLevelBenign = 0;  // success; Yes to a question; a quiet message
inline constexpr int kLevelUser = 1;    // the record is not valid
inline constexpr int kLevelFatal = 3;   // fatal; the table is not usable
inline constexpr int kLevelCancel = 4;  // No to a question
inline constexpr int kLevelNotify = 5;  // a failure, reported or to be reported by the caller

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
    virtual int raise(std::uint16_t id) = 0;
    // Stores `text` for %Message, then raises `id`.
    virtual int raiseWithText(std::uint16_t id, std::string_view text) = 0;
};

// The current raiser: the one installed last, else a fallback that writes each message id on
// standard error and returns kLevelNotify (before the program's reporter exists).
MessageRaiser& currentMessageRaiser();

// Installs `raiser` (nullptr goes back to the fallback) and returns the previous one (nullptr when
// it was the fallback). The caller keeps ownership.
MessageRaiser* setCurrentMessageRaiser(MessageRaiser* raiser);

// Message 24 "Procedure not defined" for a procedure that is called but is not part of the
// program, with the procedure's name as %Message; returns the level result.
int raiseProcedureNotDefined(std::string_view procedure);

}  // namespace dv
