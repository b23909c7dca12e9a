#include <QAction>
#include <QCursor>
#include <QMenu>

#include "frontend/qt/DialogAnswerHook.h"
#include "frontend/qt/QtDialogs.h"

namespace dv {

std::unique_ptr<QMenu> buildPopupMenu(const PopupMenuRequest& request, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    int number = 0;
    for (const PopupMenuRequest::Item& item : request.items) {
        ++number;
        QAction* action = item.text.empty()
                              ? menu->addSeparator()
                              : menu->addAction(QString::fromStdString(item.text));
        action->setData(number);
        action->setEnabled(item.enabled && !item.text.empty());
    }
    return menu;
}

int showPopupMenu(const PopupMenuRequest& request, QWidget* parent) {
    if (const std::optional<int> answer = hookedDialogAnswer(kDialogPopupMenu)) {
        const int chosen = *answer;
        const bool usable = chosen >= 1 && chosen <= static_cast<int>(request.items.size()) &&
                            request.items[static_cast<std::size_t>(chosen - 1)].enabled &&
                            !request.items[static_cast<std::size_t>(chosen - 1)].text.empty();
        return usable ? chosen : 0;
    }
    const std::unique_ptr<QMenu> menu = buildPopupMenu(request, parent);
    const QAction* chosen = menu->exec(QCursor::pos());
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

}  // namespace dv
