#include "frontend/qt/WindowMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace dv {
namespace {

// "&1 caption" for the first nine windows, as a window menu numbers them for the keyboard.
QString entryText(int index, const QString& caption) {
    const QString text = caption.trimmed();
    return index < 9 ? QStringLiteral("&%1 %2").arg(index + 1).arg(text) : text;
}

void fillWindowMenu(QMenu& menu, QMdiArea& area) {
    menu.clear();
    QAction* tile = menu.addAction(QStringLiteral("Razporedi &drugo ob drugem"));
    QAction* cascade = menu.addAction(QStringLiteral("Razporedi &kaskadno"));
    QObject::connect(tile, &QAction::triggered, &area, &QMdiArea::tileSubWindows);
    QObject::connect(cascade, &QAction::triggered, &area, &QMdiArea::cascadeSubWindows);
    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* sub : area.subWindowList())
        if (sub->isVisible()) open << sub;
    tile->setEnabled(!open.isEmpty());
    cascade->setEnabled(!open.isEmpty());
    if (open.isEmpty()) return;
    menu.addSeparator();
    for (int i = 0; i < open.size(); ++i) {
        QMdiSubWindow* sub = open[i];
        QAction* entry = menu.addAction(entryText(i, sub->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(sub == area.activeSubWindow());
        QObject::connect(entry, &QAction::triggered, &area,
                         [&area, sub] { area.setActiveSubWindow(sub); });
    }
}

}  // namespace

void addWindowMenu(QMenuBar& bar, QMdiArea& area) {
    auto* menu = new QMenu(QStringLiteral("O&kna"), &bar);
    const QList<QAction*> menus = bar.actions();
    if (menus.isEmpty())
        bar.addMenu(menu);
    else
        bar.insertMenu(menus.back(), menu);
    // Filled now as well, so that its items can be reached before it was ever opened.
    fillWindowMenu(*menu, area);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, &area] { fillWindowMenu(*menu, area); });
}

}  // namespace dv
