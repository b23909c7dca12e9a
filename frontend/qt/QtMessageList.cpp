#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "frontend/qt/DialogAnswerHook.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/QtMessageButtons.h"

namespace dv {
namespace {

// The rows as a two-column list; every text is shown as plain text, "|" as a line break.
QTreeWidget* buildRowList(const MessageListRequest& request, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("rows"));
    list->setColumnCount(2);
    list->setHeaderLabels({QString::fromStdString(request.textHeading),
                           QString::fromStdString(request.categoryHeading)});
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(false);
    list->setWordWrap(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    for (const MessageListRequest::Row& row : request.rows)
        list->addTopLevelItem(
            new QTreeWidgetItem({messageBoxText(row.text), QString::fromStdString(row.category)}));
    // The newest row comes last; that is the one the user is shown first.
    if (list->topLevelItemCount() > 0) {
        QTreeWidgetItem* last = list->topLevelItem(list->topLevelItemCount() - 1);
        list->setCurrentItem(last);
        list->scrollToItem(last);
    }
    return list;
}

}  // namespace

std::unique_ptr<QDialog> buildMessageList(const MessageListRequest& request, MessageButtons& answer,
                                          QWidget* parent) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setWindowTitle(windowTitleText(request.caption));
    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(buildRowList(request, dialog.get()));

    auto* buttons = new QDialogButtonBox(dialog.get());
    const MessageButtons shown = shownButtons(request.buttons);
    const MessageButtons preferred = effectiveDefault(shown, request.defaultButton);
    for (const MessageButtonKind& kind : kMessageButtonKinds) {
        if ((shown & kind.bit) == 0) continue;
        QPushButton* button = buttons->addButton(kind.button);
        button->setAutoDefault(kind.bit == preferred);
        button->setDefault(kind.bit == preferred);
        const MessageButtons bit = kind.bit;
        QObject::connect(button, &QPushButton::clicked, dialog.get(),
                         [&answer, bit, d = dialog.get()] {
                             answer = bit;
                             d->accept();
                         });
    }
    layout->addWidget(buttons);
    // Escape, or closing the window, answers as Escape does in a message box.
    answer = escapeAnswer(shown, request.defaultButton);
    dialog->resize(640, 360);
    return dialog;
}

MessageButtons showMessageList(const MessageListRequest& request, QWidget* parent) {
    if (const std::optional<int> answer = hookedDialogAnswer(kDialogMessageList))
        return acceptedAnswer(static_cast<MessageButtons>(*answer), request.buttons,
                              request.defaultButton);
    MessageButtons answer = kButtonOk;
    const std::unique_ptr<QDialog> dialog = buildMessageList(request, answer, parent);
    dialog->exec();
    return answer;
}

}  // namespace dv
