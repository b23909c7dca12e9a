#include "framework/BuiltInMessages.h"

#include <cstdint>
#include <string>
#include <vector>

#include "framework/ErrorMessageBlock.h"
#include "runtime/MessageTable.h"

namespace dv {
namespace {

std::string packBuiltInMessages() {
    std::vector<MessageEntry> entries;
    for (const BuiltInMessage& message : builtInMessages())
        entries.push_back(
            {message.id, message.level, std::string(message.title), std::string(message.text), {}});
    return encodeMessageBlock(entries);
}

}  // namespace

std::string_view builtInMessageBlock() {
    static const std::string block = packBuiltInMessages();
    return block;
}

}  // namespace dv
