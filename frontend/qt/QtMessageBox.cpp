#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "frontend/qt/DialogAnswerHook.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/QtMessageButtons.h"

namespace dv {
namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(const MessageButtonKind& kind) {
    return static_cast<QMessageBox::StandardButton>(kind.button);
}

}  // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(windowTitleText(request.caption));
    // The text may quote what a user typed: it is never read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(messageBoxText(request.text));
    box->setIcon(qtIcon(request.icon));
    const MessageButtons shown = shownButtons(request.buttons);
    const MessageButtons preferred = effectiveDefault(shown, request.defaultButton);
    const MessageButtons escape = escapeAnswer(shown, request.defaultButton);
    for (const MessageButtonKind& kind : kMessageButtonKinds) {
        if ((shown & kind.bit) == 0) continue;
        QPushButton* button = box->addButton(qtButton(kind));
        if (kind.bit == preferred) box->setDefaultButton(button);
        if (kind.bit == escape) box->setEscapeButton(button);
    }
    return box;
}

MessageButtons messageBoxAnswer(const QMessageBox& box, const MessageBoxRequest& request) {
    QAbstractButton* clicked = box.clickedButton();
    const MessageButtons bit = clicked != nullptr ? buttonBitOf(box.standardButton(clicked)) : 0;
    return acceptedAnswer(bit, request.buttons, request.defaultButton);
}

MessageButtons showMessageBox(const MessageBoxRequest& request, QWidget* parent) {
    if (const std::optional<int> answer = hookedDialogAnswer(kDialogMessageBox))
        return acceptedAnswer(static_cast<MessageButtons>(*answer), request.buttons,
                              request.defaultButton);
    const std::unique_ptr<QMessageBox> box = buildMessageBox(request, parent);
    box->exec();
    return messageBoxAnswer(*box, request);
}

}  // namespace dv
