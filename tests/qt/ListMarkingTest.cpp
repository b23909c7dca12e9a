#include <QApplication>
#include <QMouseEvent>
#include <QTableView>

#include "DesktopTestSupport.h"
#include "runtime/Layout.h"

namespace dv::test {
namespace {

// A list that marks rows, driven the way a browse list drives it: a MarkRow event or Space
// toggles the row's mark, Ctrl+A marks all.
Response markingProcedure() {
    static const WindowLayout layout = parseLayout(R"(window Oznacevanje "Označevanje"
  list ?Seznam multiple
    column "Šifra"
  button ?Zapri "Zapri"
)",
                                                   "Oznacevanje.layout");
    Window window(layout);
    Control& list = window.control("Seznam");
    list.setRows({{{"1"}}, {{"2"}}, {{"3"}}});
    list.alert(keys::Space);
    list.alert(keys::kCtrl + keys::Letter('A'));
    std::vector<bool> marks(3, false);
    while (true) {
        const Event event = window.nextEvent();
        if (event.kind == EventKind::CloseWindow) return RespCompleted;
        if (event.kind == EventKind::MarkRow) marks[static_cast<std::size_t>(event.row - 1)].flip();
        if (event.kind == EventKind::AlertKey && event.key == keys::Space)
            marks[static_cast<std::size_t>(list.highlighted() - 1)].flip();
        if (event.kind == EventKind::AlertKey && event.key == keys::kCtrl + keys::Letter('A'))
            marks.assign(3, true);
        list.setMarks(marks);
    }
}

void ctrlClick(QWidget& widget, QPoint at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::ControlModifier);
        QApplication::sendEvent(&widget, &event);
    }
}

using ListMarking = DesktopTest;

// Ctrl+click marks the clicked row and highlights it, a second one takes the mark away, a plain
// click only highlights; Space and Ctrl+A reach the procedure (the view does not select all on
// its own). The marks show as the check state of each row's first cell.
TEST_F(ListMarking, CtrlClickSpaceAndCtrlAReachTheListAndTheMarksShow) {
    start("Oznacevanje", markingProcedure);
    auto& view = widget<QTableView>("Seznam");
    Control& list = focusedWindow().control("Seznam");
    const auto checked = [&](int row) {
        return view.model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    };
    const auto centre = [&](int row) {
        return view.visualRect(view.model()->index(row, 0)).center();
    };
    ctrlClick(*view.viewport(), centre(1));
    settle();
    EXPECT_EQ(list.highlighted(), 2);
    EXPECT_TRUE(list.marked(2));
    EXPECT_TRUE(checked(1));
    EXPECT_FALSE(checked(0));

    click(*view.viewport(), centre(2));
    settle();
    EXPECT_EQ(list.highlighted(), 3);
    EXPECT_FALSE(list.marked(3));
    pressKey(view, Qt::Key_Space, Qt::NoModifier, " ");
    settle();
    EXPECT_TRUE(checked(2));

    ctrlClick(*view.viewport(), centre(1));
    settle();
    EXPECT_FALSE(checked(1));
    pressKey(view, Qt::Key_A, Qt::ControlModifier);
    settle();
    EXPECT_TRUE(checked(0) && checked(1) && checked(2));
}

}  // namespace
}  // namespace dv::test
