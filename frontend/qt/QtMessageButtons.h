#pragma once

#include <QDialogButtonBox>
#include <array>

#include "runtime/FrontEnd.h"

namespace dv {

// The button bits of a box in the order a box shows them, each with the standard button of Qt
// that stands for it (QMessageBox uses the same values as QDialogButtonBox).
struct MessageButtonKind {
    MessageButtons bit;
    QDialogButtonBox::StandardButton button;
};
inline constexpr std::array<MessageButtonKind, 8> kMessageButtonKinds{{
    {kButtonOk, QDialogButtonBox::Ok},
    {kButtonYes, QDialogButtonBox::Yes},
    {kButtonNo, QDialogButtonBox::No},
    {kButtonAbort, QDialogButtonBox::Abort},
    {kButtonRetry, QDialogButtonBox::Retry},
    {kButtonIgnore, QDialogButtonBox::Ignore},
    {kButtonCancel, QDialogButtonBox::Cancel},
    {kButtonHelp, QDialogButtonBox::Help},
}};

// The buttons a box really shows: the known bits of `buttons`, OK alone when none is known.
MessageButtons shownButtons(MessageButtons buttons);

// The button a box selects as its default: `defaultButton` when the box shows it, else the
// box's first button.
MessageButtons effectiveDefault(MessageButtons buttons, MessageButtons defaultButton);

// The bit of a Qt standard button; 0 for one that stands for no bit.
MessageButtons buttonBitOf(int standardButton);

// What a box answers when a hook or a click gives `answer`: that button when the box shows it,
// else the box's Escape answer.
MessageButtons acceptedAnswer(MessageButtons answer, MessageButtons buttons,
                              MessageButtons defaultButton);

}  // namespace dv
