#include "DesktopTestSupport.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/pdf/QtApplication.h"

namespace dv::test {

void ensureOffscreenApplication() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureQtApplication();
}

// The events are QtTest's: marked as coming from the window system, so that Qt gives them the
// treatment of real input (a click focuses what it hits, a key tries the shortcuts first).
void click(QWidget& widget, QPoint at) {
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, at);
}

void click(QWidget& widget) {
    click(widget, widget.rect().center());
}

void doubleClick(QWidget& widget, QPoint at) {
    click(widget, at);
    QTest::mouseDClick(&widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, at);
}

void pressKey(QWidget& widget, int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    QTest::sendKeyEvent(QTest::Click, &widget, static_cast<Qt::Key>(qtKey), text, modifiers);
}

void typeKeys(QWidget& widget, const QString& text) {
    for (const QChar c : text) {
        const int key = c.isLetter() ? c.toUpper().unicode() : c.unicode();
        pressKey(widget, key, Qt::NoModifier, QString(c));
    }
}

DesktopTest::DesktopTest() {
    ensureOffscreenApplication();
    frontEnd = std::make_unique<QtFrontEnd>(scheduler);
    desktop = std::make_unique<DesktopWindow>(scheduler, *frontEnd);
    desktop->setFinishedCallback([this] { ++finishedCalls; });
    desktop->show();
    desktop->activateWindow();
    setDialogAnswerHook([this](const char* kind) -> std::optional<int> {
        asked_.emplace_back(kind);
        if (answers_.empty()) {
            ADD_FAILURE() << "a " << kind << " dialog without an answer";
            return 0;
        }
        const int value = answers_.front();
        answers_.pop_front();
        return value;
    });
}

DesktopTest::~DesktopTest() {
    setDialogAnswerHook({});
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " dialog answer(s) not used";
    desktop->detachAll();
    scheduler.shutdown();
    desktop.reset();
    frontEnd.reset();
}

void DesktopTest::start(std::string name, ProcedureBody body) {
    scheduler.start(std::move(name), std::move(body));
    settle();
}

void DesktopTest::settle() {
    desktop->synchronise();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Window& DesktopTest::focusedWindow() {
    Window* window = scheduler.desktop().focused();
    if (window == nullptr) {
        ADD_FAILURE() << "no window is open";
        throw std::logic_error("no window is open");
    }
    return *window;
}

MdiWindow& DesktopTest::focusedSubWindow() {
    MdiWindow* sub = desktop->subWindowOf(focusedWindow());
    if (sub == nullptr) {
        ADD_FAILURE() << "the focused window has no sub-window";
        throw std::logic_error("no sub-window");
    }
    return *sub;
}

}  // namespace dv::test
