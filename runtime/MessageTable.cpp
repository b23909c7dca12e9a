#include "runtime/MessageTable.h"

namespace dv {
namespace {

#define DV_MESSAGE_ENTRY(name, id, level, title, text) {id, level, title, text},
constexpr BuiltInMessage kMessages[] = {DV_BUILT_IN_MESSAGES(DV_MESSAGE_ENTRY)};
#undef DV_MESSAGE_ENTRY

}  // namespace

std::span<const BuiltInMessage> builtInMessages() {
    return kMessages;
}

}  // namespace dv
