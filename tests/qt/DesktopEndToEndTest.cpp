#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DesktopTestSupport.h"
#include "app/ProgramStartUp.h"
#include "frontend/qt/DesktopWindow.h"
#include "frontend/qt/MdiWindow.h"
#include "frontend/qt/QtDialogs.h"
#include "frontend/qt/RunDesktop.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/ProcedureScheduler.h"
#include "runtime/WindowDesktop.h"
#include "support/DemoStocktake.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

// How long one step may wait for the desktop (a window to open, a batch to end) before the test
// gives up on it; far beyond what any step needs, so that a fault fails the test instead of
// hanging it.
constexpr qint64 kPatienceMs = 60'000;

DesktopWindow* shownDesktop() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* desktop = dynamic_cast<DesktopWindow*>(widget); desktop && desktop->isVisible())
            return desktop;
    return nullptr;
}

// What shows the window that has the desktop's focus: its sub-window, or the frame itself.
QWidget* focusedWindowWidget() {
    DesktopWindow* desktop = shownDesktop();
    const Window* focused = programScheduler().desktop().focused();
    if (desktop == nullptr || focused == nullptr) return nullptr;
    if (MdiWindow* sub = desktop->subWindowOf(*focused)) return sub;
    return focused->isFrame() ? desktop : nullptr;
}

// Whether the focused window shows that caption, with no dialog open over it.
bool windowShown(const QString& caption) {
    const QWidget* window = focusedWindowWidget();
    return QApplication::activeModalWidget() == nullptr && window != nullptr &&
           window->isVisible() && window->windowTitle() == caption;
}

// The shown and enabled button of the focused window with that text (as it shows it, with its
// & mark); nullptr when there is none.
QAbstractButton* shownButton(const QString& text) {
    QWidget* window = focusedWindowWidget();
    if (window == nullptr) return nullptr;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->text() == text && button->isVisible() && button->isEnabled()) return button;
    return nullptr;
}

// The widget of a control of the focused window, as type W; nullptr when it has none.
template <typename W>
W* controlWidget(std::string_view name) {
    auto* sub = dynamic_cast<MdiWindow*>(focusedWindowWidget());
    return sub == nullptr ? nullptr : dynamic_cast<W*>(sub->widgets().widget(name));
}

// The dialog on top of the modal stack (the report preview, its file dialog), as type W.
template <typename W>
W* modalDialog() {
    return dynamic_cast<W*>(QApplication::activeModalWidget());
}

QWidget* toolButton(QToolBar& bar, const QString& text) {
    for (QAction* action : bar.actions())
        if (action->text() == text && action->isEnabled()) return bar.widgetForAction(action);
    return nullptr;
}

// A whole stocktake of the demo company as its user takes it on the desktop: the steps of the
// path, each tried on every turn of the event loop until it can be done (its window has opened,
// its batch has ended), then the next. Every turn is a single-shot timer of its own, started
// before the step acts: a click that opens the report preview or its file dialog returns only
// when the dialog closes, and the steps that answer and close it run in the dialog's own loop.
class DesktopUser : public QObject {
  public:
    using Action = std::function<bool()>;  // true when done, false when it cannot be done yet

    void then(std::string what, Action act) { steps_.push_back({std::move(what), std::move(act)}); }
    // Waits until the focused window shows that caption.
    void waitFor(const QString& caption) {
        then("the window \"" + caption.toStdString() + "\"",
             [caption] { return windowShown(caption); });
    }
    void begin() {
        waiting_.start();
        nextTurn();
    }
    bool finished() const { return steps_.empty(); }
    const std::string& failure() const { return failure_; }

  private:
    struct Step {
        std::string what;
        Action act;
    };

    void nextTurn() {
        QTimer::singleShot(1, this, [this] { turn(); });
    }

    void turn() {
        if (!failure_.empty()) return giveUp();
        if (steps_.empty()) return;
        nextTurn();
        // The frame takes the keyboard back when a dialog over it has closed, as the window
        // manager gives it back.
        if (DesktopWindow* desktop = shownDesktop();
            desktop && QApplication::activeModalWidget() == nullptr &&
            QApplication::activePopupWidget() == nullptr && !desktop->isActiveWindow())
            desktop->activateWindow();
        // A box that no step answers.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            failure_ =
                "a message box \"" + box->text().toStdString() + "\" before " + steps_.front().what;
            return;
        }
        // Taken off before it acts: the steps after it run inside the dialogs it opens.
        Step step = std::move(steps_.front());
        steps_.pop_front();
        if (step.act()) {
            waiting_.restart();
            return;
        }
        steps_.push_front(std::move(step));
        if (waiting_.elapsed() > kPatienceMs) {
            failure_ = "gave up waiting for " + steps_.front().what;
        }
    }

    // Closes whatever is open, so that the desktop ends and the test reports the failure: the
    // dialogs, the windows by their close boxes, the frame, and at last the procedures that
    // still keep a window open.
    void giveUp() {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        } else if (DesktopWindow* desktop = shownDesktop()) {
            if (++closing_ > 100) programScheduler().shutdown();
            for (QMdiSubWindow* sub : desktop->area().subWindowList()) sub->close();
            desktop->close();
        }
        if (shownDesktop() != nullptr) QTimer::singleShot(10, this, [this] { turn(); });
    }

    std::deque<Step> steps_;
    QElapsedTimer waiting_;
    std::string failure_;
    int closing_ = 0;
};

// Replaces the whole text of a line edit as the user does: a click into it, Ctrl+A, the text
// key by key, then Tab (or Enter) to leave it.
void typeInto(QLineEdit& edit, const QString& text, int endKey = Qt::Key_Tab) {
    click(edit);
    pressKey(edit, Qt::Key_A, Qt::ControlModifier);
    typeKeys(edit, text);
    pressKey(edit, endKey);
}

// The stocktake of the demo company (support/DemoStocktake.h) on the real desktop, offscreen:
// the program starts in its directory as the desktop command starts it, and every step is a
// click or a key on the widgets the user sees. Message boxes are answered through the answer
// hook in the order the path meets them; the previews and their file dialogs show, the user's
// documents folder (where the file dialog opens) being the program directory.
class DesktopEndToEnd : public DemoStocktakeTest {
  protected:
    void SetUp() override {
        DemoStocktakeTest::SetUp();
        ensureOffscreenApplication();
        // The user's documents folder, where the preview proposes to save a PDF, is the
        // program directory.
        const fs::path config = folders.root() / "config";
        fs::create_directories(config);
        std::ofstream(config / "user-dirs.dirs")
            << "XDG_DOCUMENTS_DIR=\"" << program.string() << "\"\n";
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.string()));
        setDialogAnswerHook([this](const char* kind) -> std::optional<int> {
            asked.emplace_back(kind);
            // The preview and its file dialog show: the steps save the PDF through them. So
            // does a box that the path does not expect, for the steps to tell what it says.
            const std::string dialog = kind;
            if (dialog == kDialogPreview || dialog == kDialogFileDialog) return std::nullopt;
            if (dialog != kDialogMessageBox) {
                ADD_FAILURE() << "a " << kind << " dialog that the path does not expect";
                return 0;
            }
            if (answers.empty()) return std::nullopt;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    void TearDown() override {
        setDialogAnswerHook({});
        qunsetenv("XDG_CONFIG_HOME");
    }

    // Chooses the item of the frame's menu with two clicks: on the menu bar, then in the menu.
    void chooseFromMenu(const QString& menu, const QString& item) {
        user.then("the menu " + menu.toStdString(), [menu] {
            DesktopWindow* desktop = shownDesktop();
            if (desktop == nullptr || !windowShown(desktop->windowTitle())) return false;
            QMenuBar& bar = *desktop->menuBar();
            for (QAction* top : bar.actions())
                if (top->text() == menu && top->menu() != nullptr) {
                    click(bar, bar.actionGeometry(top).center());
                    return true;
                }
            return false;
        });
        user.then("the menu item " + item.toStdString(), [item] {
            auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (open == nullptr) return false;
            for (QAction* action : open->actions())
                if (action->text() == item && action->isEnabled()) {
                    click(*open, open->actionGeometry(action).center());
                    return true;
                }
            return false;
        });
    }

    void clickButton(const QString& text) {
        user.then("the button " + text.toStdString(), [text] {
            QAbstractButton* button = shownButton(text);
            if (button == nullptr) return false;
            click(*button);
            return true;
        });
    }

    // The preview that the last step opened: it shows pages, "Shrani kot PDF..." saves them as
    // `file` in the program directory, and "Zapri" closes it.
    void saveShownReport(const std::string& file) {
        user.then("the preview of " + file, [] {
            auto* preview = modalDialog<QDialog>();
            auto* pages = preview ? preview->findChild<QPrintPreviewWidget*>() : nullptr;
            auto* bar = preview ? preview->findChild<QToolBar*>() : nullptr;
            if (pages == nullptr || bar == nullptr) return false;
            EXPECT_GT(pages->pageCount(), 0);
            QWidget* save = toolButton(*bar, "Shrani kot PDF...");
            if (save == nullptr) return false;
            click(*save);
            return true;
        });
        // The file dialog opens in the documents folder with the report's title as the name:
        // the user types the name instead and saves.
        user.then("the file dialog for " + file, [file] {
            auto* dialog = modalDialog<QFileDialog>();
            auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
            auto* buttons = dialog ? dialog->findChild<QDialogButtonBox*>() : nullptr;
            QPushButton* save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
            if (name == nullptr || save == nullptr || !name->isVisible()) return false;
            click(*name);
            pressKey(*name, Qt::Key_A, Qt::ControlModifier);
            typeKeys(*name, QString::fromStdString(file));
            // Not Enter: it goes to the list of completions that may open below the name.
            click(*save);
            return true;
        });
        user.then("closing the preview of " + file, [this, file] {
            auto* preview = modalDialog<QDialog>();
            auto* bar = preview ? preview->findChild<QToolBar*>() : nullptr;
            if (bar == nullptr || preview->findChild<QPrintPreviewWidget*>() == nullptr ||
                !fs::exists(program / file))
                return false;
            QWidget* close = toolButton(*bar, "Zapri");
            if (close == nullptr) return false;
            click(*close);
            return true;
        });
    }

    void type(std::string_view control, const QString& text, int endKey = Qt::Key_Tab) {
        user.then("typing into " + std::string(control), [control, text, endKey] {
            auto* edit = controlWidget<QLineEdit>(control);
            if (edit == nullptr || !edit->isVisible()) return false;
            typeInto(*edit, text, endKey);
            return true;
        });
    }

    void answer(int button) {
        user.then("an answer", [this, button] {
            answers.push_back(button);
            return true;
        });
    }

    void openAndPrintTemplate();
    void countByHand();
    void importCapture();
    void printDifferences();
    void post();
    void printDocuments();

    DesktopUser user;
    std::deque<int> answers;
    std::vector<std::string> asked;
};

void DesktopEndToEnd::openAndPrintTemplate() {
    chooseFromMenu("&DIDEROVIV", "1. Evidenca inventur, priprava podatkov in izpis predloge");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton("&Dodaj");
    user.waitFor("Dodajanje zapisa");
    // Reaching the shop's field opens the list of shops to choose from.
    user.then("clicking into the shop", [] {
        auto* shop = controlWidget<QLineEdit>("INVENTUR:Enota");
        if (shop == nullptr) return false;
        click(*shop);
        return true;
    });
    user.waitFor(" SKLADIŠČA BLAGA - IZDELKOV");
    user.then("the first shop's row", [] {
        auto* list = controlWidget<QTableView>("Seznam");
        if (list == nullptr || list->model()->rowCount() == 0) return false;
        EXPECT_EQ(list->model()->index(0, 0).data().toString(), QString("1"));
        click(*list->viewport(), list->visualRect(list->model()->index(0, 0)).center());
        return true;
    });
    clickButton("&Izberi");
    user.waitFor("Dodajanje zapisa");
    type("INVENTUR:PREDSEDNIK", "Ana Kovač");
    clickButton("POTRDI");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    answer(kButtonYes);  // the template is prepared on one computer only
    clickButton(" PRIPRAVA PREDLOGE");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton("   IZPIS PREDLOGE");
    user.waitFor("  DOLOČITEV POGOJEV ZA IZPIS INVENTURNE PREDLOGE");
    clickButton("  Izpis predloge   [F5]");
    saveShownReport("predloga.pdf");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton(" ZAPRI");
}

void DesktopEndToEnd::countByHand() {
    chooseFromMenu("&DIDEROVIV", "2. Vnos inventurnega popisa");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton("  &IZBERI INVENTURO ZA VNOS POPISA");
    for (const Counted& count : counts) {
        user.waitFor(" INVENTURNI POPIS ZA INVENTURO ŠT. 1");
        // The code as a scanner types it, ending with Enter; Enter again opens its count.
        type("LokatorKoda", QString::fromStdString(count.code), Qt::Key_Return);
        user.then("Enter on the row of " + count.code, [code = count.code] {
            auto* list = controlWidget<QTableView>("Seznam");
            QWidget* focus = QApplication::focusWidget();
            if (list == nullptr || focus == nullptr) return false;
            EXPECT_EQ(list->model()->index(list->currentIndex().row(), 0).data().toString(),
                      QString::fromStdString(code));
            pressKey(*focus, Qt::Key_Return);
            return true;
        });
        user.waitFor("Spreminjanje zapisa");
        type("INVENDET:PopisanaZaloga", QString::fromStdString(count.counted.toString(0)),
             Qt::Key_Return);
    }
    user.waitFor(" INVENTURNI POPIS ZA INVENTURO ŠT. 1");
    clickButton(" ZAPRI");
}

void DesktopEndToEnd::importCapture() {
    user.waitFor("    DIDEROVIV ");
    chooseFromMenu("&Zajem s terminalov - zajem ASCII", "2. Obdelava ASCII datoteke zajema");
    user.waitFor(" KNJIŽENJE ASCII DATOTEKE S TERMINALA ali ROČNI ZAJEM");
    type("GLO:DIDEROVIV", "1");
    user.then("the stocktake's shop", [] {
        auto* shop = controlWidget<QLineEdit>("GLO:ENOTAINV");
        if (shop == nullptr) return false;
        EXPECT_EQ(shop->text(), QString("1"));
        return true;
    });
    clickButton("  Knjkiženje zajema inventure");
}

void DesktopEndToEnd::printDifferences() {
    user.waitFor("    DIDEROVIV ");
    chooseFromMenu("&DIDEROVIV", "3. Izpis inventurnih razlik");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton(" IZPIS INVENTURNIH RAZLIK   [F5]");
    user.waitFor("  DOLOČITEV POGOJEV ZA IZPIS INVENTURNIH RAZLIK");
    clickButton(" Izpis inventurnih razlik   [F5]");
    saveShownReport("razlike.pdf");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton("ZAPRI");
}

void DesktopEndToEnd::post() {
    user.waitFor("    DIDEROVIV ");
    chooseFromMenu("&DIDEROVIV", "4. Knjiženje inventurnih razlik");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton("   KNJIŽENJE INVENTURNIH RAZLIK za izbrano inventuro");
    user.waitFor("  PREGLED POGOJEV ZA KNJIŽENJE INVENTURNIH RAZLIK");
    answer(kButtonOk);  // the posting is done
    clickButton("   &KNJIŽENJE");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton("ZAPRI ");
}

void DesktopEndToEnd::printDocuments() {
    user.waitFor("    DIDEROVIV ");
    chooseFromMenu("&DIDEROVIV", "5. Izpis dokumentov inventure (manjki in viški)");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton(" DOKUMENT INV. MANJKOV");
    saveShownReport("manjki.pdf");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton("  DOKUMENT INV. VIŠKOV");
    saveShownReport("viski.pdf");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton("ZAPRI");
    user.waitFor("    DIDEROVIV ");
    chooseFromMenu("&DIDEROVIV", "6. Izpis zaloge - količinsko in vrednostno");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton(" DOKUMENT ZALOG PO OPRAVLJENI INVENTURI");
    saveShownReport("zaloga.pdf");
    user.waitFor("  EVIDENCA OPRAVLJENIH INVENTUR");
    clickButton("ZAPRI");
    user.waitFor("    DIDEROVIV ");
    user.then("the toolbar's IZHOD", [] {
        DesktopWindow* desktop = shownDesktop();
        QWidget* exit = desktop ? toolButton(desktop->toolBar(), "IZHOD") : nullptr;
        if (exit == nullptr) return false;
        click(*exit);
        return true;
    });
}

// The program's working directory for the length of a scope: the desktop reads the settings of
// the directory it was started in, as its user starts it there.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const fs::path& directory) : before_(fs::current_path()) {
        fs::current_path(directory);
    }
    ~WorkingDirectory() { fs::current_path(before_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    fs::path before_;
};

TEST_F(DesktopEndToEnd, AStocktakeOfTheDemoCompanyClickedThroughTheDesktop) {
    answers = {kButtonOk, kButtonOk};  // the two reminders of a backup at start
    user.waitFor("    DIDEROVIV ");
    openAndPrintTemplate();
    countByHand();
    importCapture();
    printDifferences();
    post();
    printDocuments();
    {
        WorkingDirectory inProgram(program);
        std::string error;
        std::unique_ptr<ProgramStartUp> started = ProgramStartUp::start(program, error);
        ASSERT_NE(started, nullptr) << error;
        ProcedureScheduler& scheduler = programScheduler();
        scheduler.start("Main", *programProcedures().find("Main"));
        user.begin();
        EXPECT_EQ(runDesktop(scheduler), 0);
        scheduler.shutdown();
        EXPECT_TRUE(started->shutDown().ok());
    }
    ASSERT_EQ(user.failure(), "");
    ASSERT_TRUE(user.finished());
    EXPECT_TRUE(answers.empty());
    // Four boxes answered (two reminders, the template's question, the posting's end), and for
    // each of the five printouts its preview and the file dialog of its PDF.
    const auto countOf = [this](const char* kind) {
        return std::count(asked.begin(), asked.end(), kind);
    };
    EXPECT_EQ(asked.size(), 14u);
    EXPECT_EQ(countOf(kDialogMessageBox), 4);
    EXPECT_EQ(countOf(kDialogPreview), 5);
    EXPECT_EQ(countOf(kDialogFileDialog), 5);
    checkOutcome();
}

}  // namespace
}  // namespace dv::test
