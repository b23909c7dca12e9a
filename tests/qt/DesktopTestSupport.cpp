#include "DesktopTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "frontend/qt/pdf/QtApplication.h"
#include "frontend/qt/QtDialogs.h"

namespace dv::test {

void ensureOffscreenApplication() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureQtApplication();
}

namespace {

void sendMouse(QWidget& widget, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace

void click(QWidget& widget, QPoint at) {
    sendMouse(widget, QEvent::MouseButtonPress, at);
    sendMouse(widget, QEvent::MouseButtonRelease, at);
}

void click(QWidget& widget) {
    click(widget, widget.rect().center());
}

void doubleClick(QWidget& widget, QPoint at) {
    click(widget, at);
    sendMouse(widget, QEvent::MouseButtonDblClick, at);
    sendMouse(widget, QEvent::MouseButtonRelease, at);
}

void pressKey(QWidget& widget, int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
    QApplication::sendEvent(&widget, &release);
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
