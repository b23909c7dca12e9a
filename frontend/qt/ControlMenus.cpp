// A window's menu bar and toolbar as Qt menus and tool buttons.
#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "frontend/qt/ControlWidgets.h"
#include "frontend/qt/QtText.h"
#include "frontend/qt/ResourcePictures.h"

namespace dv {

QAction* ControlWidgets::makeAction(Control& control, QObject& parent) {
    auto* action = new QAction(toQString(control.text()), &parent);
    if (const QIcon icon = resourceIcon(control.declared().icon); !icon.isNull())
        action->setIcon(icon);
    action->setCheckable(control.type() == ControlType::Check);
    const int number = control.number();
    connect(action, &QAction::triggered, this, [this, number] { pressed(number); });
    bindings_[static_cast<std::size_t>(number - 1)].action = action;
    return action;
}

// The items and submenus of a menu (or of the menu bar) into a QMenu or QMenuBar.
void ControlWidgets::addMenuItems(const Control& menu, QWidget& into) {
    for (Control* child : window_->childrenOf(menu)) {
        if (child->type() == ControlType::Menu) {
            auto* submenu = new QMenu(toQString(child->text()), &into);
            addMenuItems(*child, *submenu);
            into.addAction(submenu->menuAction());
            bindings_[static_cast<std::size_t>(child->number() - 1)].action = submenu->menuAction();
        } else if (child->type() == ControlType::Item) {
            into.addAction(makeAction(*child, into));
        }
    }
}

void ControlWidgets::buildChrome(QWidget& host, WindowChrome chrome) {
    for (Control* control : topLevel(true)) {
        if (control->type() == ControlType::MenuBar) {
            QMenuBar* bar = chrome.menuBar;
            if (bar == nullptr) {
                bar = new QMenuBar(&host);
                host.layout()->setMenuBar(bar);
            }
            addMenuItems(*control, *bar);
        } else if (control->type() == ControlType::Toolbar) {
            QToolBar* bar = chrome.toolBar;
            if (bar == nullptr) {
                bar = new QToolBar(&host);
                if (auto* column = qobject_cast<QBoxLayout*>(host.layout()))
                    column->insertWidget(0, bar);
            }
            bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            for (Control* button : window_->childrenOf(*control))
                bar->addAction(makeAction(*button, *bar));
        }
    }
}

}  // namespace dv
