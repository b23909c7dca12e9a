#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QWheelEvent>

#include "DesktopTestSupport.h"
#include "frontend/TestProcedures.h"
#include "frontend/qt/QtDialogs.h"
#include "runtime/Date.h"

namespace dv::test {
namespace {

QString cellText(const QTableView& view, int row, int column) {
    return view.model()->index(row, column).data().toString();
}

QPoint rowCentre(const QTableView& view, int row) {
    return view.visualRect(view.model()->index(row, 0)).center();
}

class DesktopWindows : public DesktopTest {
  protected:
    // The control of the focused window.
    Control& control(std::string_view name) { return focusedWindow().control(name); }
};

TEST_F(DesktopWindows, AListOpensAsASubWindowWithItsHeadingsRowsAndAButtonRow) {
    start("Evidenca", registerProcedure);
    EXPECT_EQ(focusedSubWindow().windowTitle(), QString("Evidenca inventur"));
    EXPECT_EQ(desktop->area().activeSubWindow(), &focusedSubWindow());

    auto& view = widget<QTableView>("Seznam");
    ASSERT_EQ(view.model()->rowCount(), 2);
    ASSERT_EQ(view.model()->columnCount(), 2);
    EXPECT_EQ(view.model()->headerData(0, Qt::Horizontal).toString(), QString("Številka"));
    EXPECT_EQ(cellText(view, 1, 1), QString("Skladišče"));
    EXPECT_EQ(view.currentIndex().row(), 0);  // the model's highlighted row

    auto& add = widget<QPushButton>("Dodaj");
    auto& remove = widget<QPushButton>("Brisi");
    EXPECT_EQ(add.text(), QString("&Dodaj"));
    // The buttons stand side by side below the list.
    EXPECT_EQ(add.y(), remove.y());
    EXPECT_LT(add.x(), remove.x());
    EXPECT_GE(add.y(), view.geometry().bottom());
}

TEST_F(DesktopWindows, RowsButtonsAndTheMessageBoxAnswerReachTheProcedure) {
    start("Evidenca", registerProcedure);
    auto& view = widget<QTableView>("Seznam");
    click(*view.viewport(), rowCentre(view, 1));
    settle();
    EXPECT_EQ(control("Seznam").highlighted(), 2);
    EXPECT_EQ(focusedWindow().focused(), &control("Seznam"));
    EXPECT_EQ(view.currentIndex().row(), 1);

    answer(kButtonNo);
    widget<QPushButton>("Brisi").click();
    settle();
    EXPECT_EQ(asked(), std::vector<std::string>{kDialogMessageBox});
    EXPECT_EQ(view.model()->rowCount(), 2);

    answer(kButtonYes);
    widget<QPushButton>("Brisi").click();
    settle();
    ASSERT_EQ(view.model()->rowCount(), 1);
    EXPECT_EQ(cellText(view, 0, 1), QString("Center"));

    // The list's keys go to the model: the highlight moves there first.
    start("Evidenca", registerProcedure);
    auto& second = widget<QTableView>("Seznam");
    ASSERT_NE(&second, &view);
    second.setFocus(Qt::MouseFocusReason);
    settle();
    pressKey(second, Qt::Key_Down);
    settle();
    EXPECT_EQ(control("Seznam").highlighted(), 2);
    EXPECT_EQ(second.currentIndex().row(), 1);
    pressKey(second, Qt::Key_Up);
    settle();
    EXPECT_EQ(second.currentIndex().row(), 0);

    widget<QPushButton>("Zapri").click();
    settle();
    ASSERT_EQ(desktop->area().subWindowList().size(), 1);
    EXPECT_EQ(desktop->subWindowOf(focusedWindow()), desktop->area().subWindowList().front());
}

TEST_F(DesktopWindows, TypingTabbingAndTheCalendarKeyGoThroughTheModel) {
    start("Evidenca", registerProcedure);
    MdiWindow& list = focusedSubWindow();
    widget<QPushButton>("Dodaj").click();
    settle();
    EXPECT_EQ(focusedSubWindow().windowTitle(), QString("Dodajanje zapisa"));
    // The list waits for the form it called: it takes no input meanwhile.
    EXPECT_FALSE(list.widget()->isEnabled());

    auto& quantity = widget<QLineEdit>("Kolicina");
    click(quantity);
    settle();
    EXPECT_EQ(focusedWindow().focused(), &control("Kolicina"));
    typeKeys(quantity, "-5");
    EXPECT_EQ(control("Kolicina").value(), "-5");
    EXPECT_TRUE(control("Kolicina").changedByUser());

    // Leaving a negative quantity: the procedure warns and keeps the focus there.
    answer(kButtonOk);
    pressKey(quantity, Qt::Key_Tab);
    settle();
    EXPECT_EQ(asked(), std::vector<std::string>{kDialogMessageBox});
    EXPECT_EQ(focusedWindow().focused(), &control("Kolicina"));
    EXPECT_EQ(QApplication::focusWidget(), &quantity);

    quantity.selectAll();
    typeKeys(quantity, "12");
    pressKey(quantity, Qt::Key_Tab);
    settle();
    auto& date = widget<QLineEdit>("Datum");
    EXPECT_EQ(focusedWindow().focused(), &control("Datum"));
    EXPECT_EQ(QApplication::focusWidget(), &date);

    answer(dayNumber(2024, 1, 31));
    pressKey(date, Qt::Key_F6);
    settle();
    EXPECT_EQ(asked().back(), kDialogDatePicker);
    EXPECT_EQ(date.text(), QString("31.01.2024"));

    widget<QPushButton>("OK").click();
    settle();
    EXPECT_EQ(focusedWindow().name(), "Evidenca");
    EXPECT_EQ(widget<QLabel>("Odziv").text(), QString("1"));
    EXPECT_EQ(desktop->area().subWindowList().size(), 1);
    EXPECT_TRUE(list.widget()->isEnabled());
}

TEST_F(DesktopWindows, CheckBoxesTabsAndEscapeActOnTheModel) {
    start("Vnos", formProcedure);
    auto& check = widget<QCheckBox>("Potrjeno");
    check.click();
    settle();
    EXPECT_TRUE(control("Potrjeno").checked());
    EXPECT_TRUE(check.isChecked());
    control("Potrjeno").setChecked(false);  // by program
    settle();
    EXPECT_FALSE(check.isChecked());

    auto& sheet = widget<QTabWidget>("Zavihki");
    auto& note = widget<QLineEdit>("Opomba");
    EXPECT_FALSE(note.isVisible());
    click(*sheet.tabBar(), sheet.tabBar()->tabRect(1).center());
    settle();
    EXPECT_EQ(control("Zavihki").value(), "2");
    EXPECT_EQ(sheet.currentIndex(), 1);
    EXPECT_TRUE(note.isVisible());

    // A disabled control refuses what the user does to it; the widget shows the model again.
    control("Potrjeno").setEnabled(false);
    settle();
    EXPECT_FALSE(check.isEnabled());

    pressKey(note, Qt::Key_Escape);
    settle();
    EXPECT_TRUE(desktop->finished());
}

TEST_F(DesktopWindows, WheelAndHeadingClicksOfAPagedListGoToItsProcedure) {
    static const WindowLayout layout = parseLayout(R"(window Stran "Stran"
  list ?Vrstice paged
    column "Naziv"
  button ?Zapri "Zapri"
)",
                                                   "Stran.layout");
    std::vector<EventKind> scrolls;
    std::vector<int> headings;
    start("Stran", [&scrolls, &headings] {
        Window window(layout);
        window.control("Vrstice").setRows({{{"A"}}, {{"B"}}});
        while (true) {
            const Event event = window.nextEvent();
            if (event.kind == EventKind::ScrollUp || event.kind == EventKind::ScrollDown)
                scrolls.push_back(event.kind);
            if (event.kind == EventKind::HeaderPressed) headings.push_back(event.column);
            if (isAccepted(event, window, "Zapri")) return RespCompleted;
        }
    });
    auto& view = widget<QTableView>("Vrstice");
    const auto wheel = [&view](int delta) {
        const QPointF at = view.viewport()->rect().center();
        QWheelEvent event(at, view.viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &event);
    };
    wheel(-120);  // down: from row 1 to row 2
    settle();
    EXPECT_EQ(control("Vrstice").highlighted(), 2);
    EXPECT_TRUE(scrolls.empty());
    wheel(-120);  // past the last row of the page
    settle();
    wheel(120);
    settle();
    EXPECT_EQ(scrolls, (std::vector<EventKind>{EventKind::ScrollDown}));
    EXPECT_EQ(control("Vrstice").highlighted(), 1);

    QHeaderView& header = *view.horizontalHeader();
    click(*header.viewport(), {header.sectionViewportPosition(0) + 4, header.height() / 2});
    settle();
    EXPECT_EQ(headings, std::vector<int>{1});
}

TEST_F(DesktopWindows, AWindowTimerRunsWithoutInput) {
    static const WindowLayout layout =
        parseLayout("window Ura \"Ura\" timer=1\n  string ?Stevec\n", "Ura.layout");
    int ticks = 0;
    start("Ura", [&ticks] {
        Window window(layout);
        while (ticks < 3)
            if (window.nextEvent().kind == EventKind::Timer) ++ticks;
        return RespCompleted;
    });
    QEventLoop loop;
    desktop->setFinishedCallback([&loop] { loop.quit(); });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);  // in case the timer never runs
    loop.exec();
    EXPECT_TRUE(desktop->finished());
    EXPECT_EQ(ticks, 3);
}

}  // namespace
}  // namespace dv::test
