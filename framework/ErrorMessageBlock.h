#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ErrorMessages.h"

namespace dv {

// The packed form in which messages are handed to the reporter: an unsigned 16-bit little-endian
// count, then per message the id (unsigned 16-bit little-endian), the level (one byte), the title
// and the text (each one length byte, then that many bytes of UTF-8). Titles and texts are
// therefore at most 255 bytes. Decoded messages have no category.

class MalformedMessageBlock : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// Throws MalformedMessageBlock when the block is cut short or has bytes left over.
std::vector<MessageEntry> decodeMessageBlock(std::string_view block);

// Throws MalformedMessageBlock when a title or text is longer than 255 bytes or there are more
// than 65535 messages.
std::string encodeMessageBlock(std::span<const MessageEntry> entries);

}  // namespace dv
