#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "DesktopTestSupport.h"
#include "frontend/TestProcedures.h"
#include "frontend/qt/ControlWidgets.h"
#include "frontend/qt/QtDialogs.h"

namespace dv::test {
namespace {

// The application frame of the program's own layout: it records the menu items and toolbar
// buttons chosen, ends on Izhod (menu or toolbar) or its close box, and disables item 1 of
// the DIDEROVIV menu when its first item is chosen.
struct FrameLog {
    std::vector<std::string> chosen;
};

Response frameProcedure(FrameLog& log) {
    Window frame("Main");
    while (true) {
        const Event event = frame.nextEvent();
        if (event.kind == EventKind::CloseWindow) return RespCompleted;
        if (event.kind != EventKind::Accepted) continue;
        const std::string& name = frame.control(event.control).name();
        log.chosen.push_back(name);
        if (name == "Izhod" || name == "TbIzhod") return RespCompleted;
        if (name == "Rekonstrukcija") frame.control("EvidencaInventur").setEnabled(false);
    }
}

// A window that closes only when asked the second time, as a form that asks the user first.
Response reluctantProcedure() {
    static const WindowLayout layout =
        parseLayout("window Trmast \"Trmasto okno\"\n  string \"Ostajam\"\n", "Trmast.layout");
    Window window(layout);
    int asked = 0;
    while (true)
        if (window.nextEvent().kind == EventKind::CloseWindow && ++asked == 2) return RespCompleted;
}

QStringList texts(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* action : actions)
        if (!action->isSeparator()) out << action->text();
    return out;
}

QAction* menuItem(QMenuBar& bar, const QString& menu, const QString& item) {
    for (QAction* top : bar.actions())
        if (top->text() == menu && top->menu() != nullptr)
            for (QAction* action : top->menu()->actions())
                if (action->text() == item) return action;
    return nullptr;
}

QAction* toolButton(QToolBar& bar, const QString& text) {
    for (QAction* action : bar.actions())
        if (action->text() == text) return action;
    return nullptr;
}

class DesktopFrame : public DesktopTest {
  protected:
    void startFrame() {
        start("Main", [this] { return frameProcedure(log); });
    }
    FrameLog log;
};

TEST_F(DesktopFrame, TheFrameShowsItsCaptionMenusAndToolbarWithTips) {
    startFrame();
    EXPECT_EQ(desktop->windowTitle(), QString("    DIDEROVIV "));
    EXPECT_EQ(texts(desktop->menuBar()->actions()),
              QStringList({"&Datoteka", "&Šifranti", "&DIDEROVIV",
                           "&Zajem s terminalov - zajem ASCII", "&Servisne funkcije", "O&kna",
                           "P&omoč"}));
    EXPECT_NE(menuItem(*desktop->menuBar(), "&Datoteka", "Nastavitev tiskalnika ..."), nullptr);
    EXPECT_NE(menuItem(*desktop->menuBar(), "&DIDEROVIV",
                       "5. Izpis dokumentov inventure (manjki in viški)"),
              nullptr);

    QToolBar& bar = desktop->toolBar();
    EXPECT_FALSE(bar.isHidden());
    EXPECT_EQ(texts(bar.actions()),
              QStringList({"IZHOD", "KOPIJE", "SKLADIŠČA", "DIDEROVIV", "NASTAVITVE"}));
    EXPECT_EQ(toolButton(bar, "SKLADIŠČA")->toolTip(),
              QString("Evidenca poslovnih enot - skladišč"));
    EXPECT_EQ(toolButton(bar, "IZHOD")->toolTip(), QString("Izhod iz programa"));
    // The frame is the main window itself, not one of the sub-windows.
    EXPECT_TRUE(desktop->area().subWindowList().isEmpty());
}

TEST_F(DesktopFrame, MenuItemsAndToolbarButtonsReachTheFrameAndFollowItsState) {
    startFrame();
    menuItem(*desktop->menuBar(), "&Šifranti", "Skladišča - poslovne enote")->trigger();
    settle();
    toolButton(desktop->toolBar(), "NASTAVITVE")->trigger();
    settle();
    EXPECT_EQ(log.chosen, (std::vector<std::string>{"BrowseSFENOTE", "TbNastavitve"}));

    QAction* first = menuItem(*desktop->menuBar(), "&DIDEROVIV",
                              "1. Evidenca inventur, priprava podatkov in izpis predloge");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isEnabled());
    menuItem(*desktop->menuBar(), "&DIDEROVIV", "Najprej naredite rekonstrukcijo zalog ...")
        ->trigger();
    settle();
    EXPECT_FALSE(first->isEnabled());
    // A disabled item chosen all the same (a stale shortcut) does not reach the procedure.
    first->setEnabled(true);
    first->trigger();
    settle();
    EXPECT_EQ(log.chosen.back(), "Rekonstrukcija");
    EXPECT_FALSE(first->isEnabled());

    EXPECT_EQ(finishedCalls, 0);
    toolButton(desktop->toolBar(), "IZHOD")->trigger();
    settle();
    EXPECT_TRUE(desktop->finished());
    EXPECT_EQ(finishedCalls, 1);
}

// The window menu lays the open windows side by side or in a cascade and lists them, the active
// one checked; choosing one brings it to the front, for the program's model as well.
TEST_F(DesktopFrame, TheWindowMenuArrangesAndListsTheOpenWindows) {
    startFrame();
    QAction* tile = menuItem(*desktop->menuBar(), "O&kna", "Razporedi &drugo ob drugem");
    ASSERT_NE(tile, nullptr);
    EXPECT_FALSE(tile->isEnabled()) << "nothing to arrange yet";
    start("Trmast", [] { return reluctantProcedure(); });
    start("Trmast", [] { return reluctantProcedure(); });
    const QList<QMdiSubWindow*> subs = desktop->area().subWindowList();
    ASSERT_EQ(subs.size(), 2);

    QMenu* menu = nullptr;
    for (QAction* top : desktop->menuBar()->actions())
        if (top->text() == "O&kna") menu = top->menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    const QStringList entries = texts(menu->actions());
    ASSERT_EQ(entries.size(), 4) << entries.join(",").toStdString();
    EXPECT_EQ(entries[2], QString("&1 Trmasto okno"));
    EXPECT_EQ(entries[3], QString("&2 Trmasto okno"));

    menuItem(*desktop->menuBar(), "O&kna", "Razporedi &drugo ob drugem")->trigger();
    settle();
    EXPECT_FALSE(subs[0]->geometry().intersects(subs[1]->geometry())) << "side by side";
    menuItem(*desktop->menuBar(), "O&kna", "Razporedi &kaskadno")->trigger();
    settle();
    EXPECT_NE(subs[0]->geometry().topLeft(), subs[1]->geometry().topLeft());
    EXPECT_TRUE(subs[0]->geometry().intersects(subs[1]->geometry())) << "one over the other";

    QMdiSubWindow* other = desktop->area().activeSubWindow() == subs[0] ? subs[1] : subs[0];
    emit menu->aboutToShow();
    const int otherEntry = other == subs[0] ? 2 : 3;
    EXPECT_FALSE(menu->actions()[otherEntry + 1]->isChecked());  // the separator counts too
    menu->actions()[otherEntry + 1]->trigger();
    settle();
    EXPECT_EQ(desktop->area().activeSubWindow(), other);
    const Window* focused = scheduler.desktop().focused();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(desktop->subWindowOf(*focused), other);
}

TEST_F(DesktopFrame, ClosingTheMainWindowClosesTheFrameAndThenEveryWindow) {
    startFrame();
    start("Vnos", formProcedure);
    start("Trmast", reluctantProcedure);
    EXPECT_EQ(desktop->area().subWindowList().size(), 2);

    desktop->close();
    settle();
    // The frame ended and the form closed; the reluctant window keeps the program running.
    EXPECT_EQ(scheduler.desktop().frame(), nullptr);
    EXPECT_FALSE(desktop->finished());
    ASSERT_EQ(scheduler.desktop().windows().size(), 1u);
    EXPECT_EQ(scheduler.desktop().windows().front()->name(), "Trmast");
    EXPECT_TRUE(desktop->frameWidgets() == nullptr);
    EXPECT_TRUE(desktop->menuBar()->actions().isEmpty());

    desktop->close();
    settle();
    EXPECT_TRUE(desktop->finished());
    EXPECT_EQ(finishedCalls, 1);
    EXPECT_EQ(scheduler.liveCount(), 0u);
}

TEST_F(DesktopFrame, AProcedureThatFailsIsReportedToTheUser) {
    answer(kButtonOk);
    start("Napaka", failingProcedure);
    EXPECT_EQ(asked(), std::vector<std::string>{kDialogMessageBox});
    EXPECT_TRUE(desktop->finished());
}

}  // namespace
}  // namespace dv::test
