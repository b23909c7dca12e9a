#include <QApplication>
#include <QEnterEvent>
#include <QPushButton>

#include "DesktopTestSupport.h"
#include "frontend/qt/LinkLabel.h"

namespace dv::test {
namespace {

// The About window over the program's own layout: it records the controls pressed until its
// close box.
Response aboutWindow(std::vector<std::string>& pressed) {
    Window window("VerzijaPrograma");
    while (true) {
        const Event event = window.nextEvent();
        if (event.kind == EventKind::CloseWindow) return Response::None;
        if (event.kind == EventKind::Accepted)
            pressed.push_back(window.control(event.control).name());
    }
}

void pointerIn(QWidget& widget) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&widget, &enter);
}

void pointerOut(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

class DesktopLinks : public DesktopTest {
  protected:
    std::vector<std::string> pressed;
};

TEST_F(DesktopLinks, TheAboutWindowsLinksAreLinksThatChangeColourUnderThePointer) {
    start("VerzijaPrograma", [this] { return aboutWindow(pressed); });
    const QColor grey(102, 102, 102);
    for (const char* name : {"SpletnaStran", "Eposta"}) {
        auto& link = widget<LinkLabel>(name);
        EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor) << name;
        EXPECT_TRUE(link.font().underline()) << name;
        EXPECT_EQ(link.textColour(), grey) << name;
        pointerIn(link);
        EXPECT_EQ(link.textColour(), QColor(Qt::white)) << name;
        pointerOut(link);
        EXPECT_EQ(link.textColour(), grey) << name;
        // Drawn on a band where both colours read.
        EXPECT_TRUE(link.autoFillBackground()) << name;
        EXPECT_EQ(link.palette().color(QPalette::Window), QColor(120, 170, 215)) << name;
    }
    // The window's buttons stay buttons.
    EXPECT_NE(dynamic_cast<QPushButton*>(focusedSubWindow().widgets().widget("FursTest")), nullptr);

    click(widget<LinkLabel>("Eposta"));
    settle();
    click(widget<LinkLabel>("SpletnaStran"));
    settle();
    EXPECT_EQ(pressed, (std::vector<std::string>{"Eposta", "SpletnaStran"}));
}

}  // namespace
}  // namespace dv::test
