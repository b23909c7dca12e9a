#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/ErrorState.h"

namespace dv {

// The texts a message may quote through its placeholders.
struct MessageQuotes {
    std::string fileName;     // %File
    ErrorState saved;         // %ErrorCode, %ErrorText, %Error, %FileErrorCode, %FileError
    std::string messageText;  // %Message
    std::string fieldName;    // %Field
    std::string procedure;    // %Procedure
    std::string category;     // %Category
    std::string previous;     // %Previous
};

// Most characters of a built message text.
inline constexpr std::size_t kMaxMessageTextLength = 1999;

// Replaces every placeholder of `text`, matched without regard to letter case, by its quote, and
// cuts the result to kMaxMessageTextLength characters. The text is read once from left to right
// and at each "%" the longest placeholder that matches is taken, so "%FileError" is never read as
// "%File" followed by "Error", and a quoted text that holds a "%" is never substituted again.
std::string buildMessageText(std::string_view text, const MessageQuotes& quotes);

// What %ErrorText stands for: the error text and its code in parentheses; the file driver's own
// text and code when the runtime reports code 90.
std::string describeError(const ErrorState& saved);

// At most `count` characters of UTF-8 `text`; a character is never split.
std::string_view firstCharacters(std::string_view text, std::size_t count);

}  // namespace dv
