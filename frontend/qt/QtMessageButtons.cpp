#include "frontend/qt/QtMessageButtons.h"

#include "frontend/qt/QtDialogs.h"

namespace dv {
namespace {

constexpr MessageButtons kKnownButtons = 0xFF;

bool isSingleButton(MessageButtons bit) {
    return bit != 0 && (bit & (bit - 1)) == 0;
}

}  // namespace

MessageButtons shownButtons(MessageButtons buttons) {
    const MessageButtons known = buttons & kKnownButtons;
    return known != 0 ? known : kButtonOk;
}

MessageButtons effectiveDefault(MessageButtons buttons, MessageButtons defaultButton) {
    return unattendedAnswer(shownButtons(buttons), defaultButton);
}

MessageButtons escapeAnswer(MessageButtons buttons, MessageButtons defaultButton) {
    const MessageButtons shown = shownButtons(buttons);
    if ((shown & kButtonCancel) != 0) return kButtonCancel;
    if ((shown & kButtonNo) != 0) return kButtonNo;
    return effectiveDefault(shown, defaultButton);
}

MessageButtons buttonBitOf(int standardButton) {
    for (const MessageButtonKind& kind : kMessageButtonKinds)
        if (static_cast<int>(kind.button) == standardButton) return kind.bit;
    return 0;
}

MessageButtons acceptedAnswer(MessageButtons answer, MessageButtons buttons,
                              MessageButtons defaultButton) {
    if (isSingleButton(answer) && (shownButtons(buttons) & answer) != 0) return answer;
    return escapeAnswer(buttons, defaultButton);
}

}  // namespace dv
