#include "framework/ErrorText.h"

#include <functional>

#include "runtime/TextCase.h"

namespace dv {
namespace {

struct Placeholder {
    std::string_view name;
    std::function<std::string(const MessageQuotes&)> value;
};

// Longest names first, so that a name is never taken for a shorter one that is its prefix.
const Placeholder kPlaceholders[] = {
    {"%FileErrorCode", [](const MessageQuotes& q) { return q.saved.fileErrorCode; }},
    {"%ErrorCode", [](const MessageQuotes& q) { return std::to_string(q.saved.code); }},
    {"%ErrorText", [](const MessageQuotes& q) { return describeError(q.saved); }},
    {"%FileError", [](const MessageQuotes& q) { return q.saved.fileErrorText; }},
    {"%Procedure", [](const MessageQuotes& q) { return q.procedure; }},
    {"%Category", [](const MessageQuotes& q) { return q.category; }},
    {"%Previous", [](const MessageQuotes& q) { return q.previous; }},
    {"%Message", [](const MessageQuotes& q) { return q.messageText; }},
    {"%Error", [](const MessageQuotes& q) { return q.saved.text; }},
    {"%Field", [](const MessageQuotes& q) { return q.fieldName; }},
    {"%File", [](const MessageQuotes& q) { return q.fileName; }},
};

const Placeholder* placeholderAt(std::string_view text) {
    for (const Placeholder& placeholder : kPlaceholders) {
        std::string_view head = text.substr(0, placeholder.name.size());
        if (equalsIgnoreCaseAscii(head, placeholder.name)) return &placeholder;
    }
    return nullptr;
}

bool continuesCharacter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string buildMessageText(std::string_view text, const MessageQuotes& quotes) {
    std::string built;
    std::size_t i = 0;
    while (i < text.size()) {
        const Placeholder* placeholder = text[i] == '%' ? placeholderAt(text.substr(i)) : nullptr;
        if (placeholder) {
            built += placeholder->value(quotes);
            i += placeholder->name.size();
        } else {
            built += text[i++];
        }
    }
    return std::string(firstCharacters(built, kMaxMessageTextLength));
}

std::string describeError(const ErrorState& saved) {
    if (saved.code == kFileDriverError)
        return saved.fileErrorText + " (" + saved.fileErrorCode + ")";
    return saved.text + " (" + std::to_string(saved.code) + ")";
}

std::string_view firstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size(); ++characters) {
        if (characters == count) break;
        ++end;
        while (end < text.size() && continuesCharacter(text[end])) ++end;
    }
    return text.substr(0, end);
}

}  // namespace dv
