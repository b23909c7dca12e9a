#include <QAction>
#include <QCalendarWidget>
#include <QMenu>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPrinter>
#include <QPushButton>
#include <fstream>

#include "QtDialogsTestSupport.h"
#include "frontend/TempDirectory.h"
#include "runtime/Date.h"

namespace dv {
namespace {

using test::QtDialogsTest;
using test::whenShown;

TEST_F(QtDialogsTest, DatePickerOpensAtTheGivenDayOrTheProgramsToday) {
    setFixedToday(dayNumber(2023, 2, 28));
    QCalendarWidget* calendar = nullptr;
    const auto given = buildDatePicker({"Koledar", dayNumber(2024, 12, 31)}, calendar, nullptr);
    EXPECT_EQ(given->windowTitle(), QStringLiteral("Koledar"));
    EXPECT_EQ(calendar->selectedDate(), QDate(2024, 12, 31));
    EXPECT_EQ(calendar->firstDayOfWeek(), Qt::Monday);
    // No date, or none the program can hold: today as the program's clock has it.
    for (const DayNumber start : {0, -5, lastValidDay + 1}) {
        const auto dialog = buildDatePicker({"Koledar", start}, calendar, nullptr);
        EXPECT_EQ(calendar->selectedDate(), QDate(2023, 2, 28)) << start;
    }
    setFixedToday(0);
}

TEST_F(QtDialogsTest, DatePickerReturnsTheDayTakenAndNothingWhenCancelled) {
    const DatePickerRequest request{"Koledar", dayNumber(2024, 2, 28)};
    whenShown<QDialog>([](QDialog& shown) {
        shown.findChild<QCalendarWidget*>()->setSelectedDate(QDate(2024, 2, 29));
        shown.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(showDatePicker(request, nullptr), dayNumber(2024, 2, 29));
    whenShown<QDialog>([](QDialog& shown) { test::pressKey(shown, Qt::Key_Escape); });
    EXPECT_EQ(showDatePicker(request, nullptr), std::nullopt);
    whenShown<QDialog>([](QDialog& shown) {  // a double click on a day takes it
        auto* calendar = shown.findChild<QCalendarWidget*>();
        calendar->setSelectedDate(QDate(2024, 1, 15));
        emit calendar->activated(QDate(2024, 1, 15));
    });
    EXPECT_EQ(showDatePicker(request, nullptr), dayNumber(2024, 1, 15));

    useAnswers({dayNumber(2025, 6, 25), 0, lastValidDay + 1});
    EXPECT_EQ(showDatePicker({}, nullptr), dayNumber(2025, 6, 25));
    EXPECT_EQ(showDatePicker({}, nullptr), std::nullopt);
    EXPECT_EQ(showDatePicker({}, nullptr), std::nullopt);
}

TEST_F(QtDialogsTest, FileFiltersBecomeQtFilters) {
    EXPECT_EQ(qtFileFilter("Tekst|*.txt|Vse|*.*"), QStringLiteral("Tekst (*.txt);;Vse (*.*)"));
    EXPECT_EQ(qtFileFilter(" Tekst | *.txt ; *.asc |"), QStringLiteral("Tekst (*.txt *.asc)"));
    EXPECT_EQ(qtFileFilter("|*.pdf"), QStringLiteral("*.pdf (*.pdf)"));
    EXPECT_EQ(qtFileFilter("Tekst|*.txt|Vse"), QStringLiteral("Tekst (*.txt);;Vse (*)"));
    EXPECT_EQ(qtFileFilter(""), QString());
}

TEST_F(QtDialogsTest, FileDialogModesAndStartPath) {
    test::TempDirectory directory;
    const QString folder = QString::fromStdString(directory.path().string());
    const std::filesystem::path capture = directory.path() / "INVASCII.txt";
    std::ofstream(capture) << "3830001;5\n";

    const auto opening =
        buildFileDialog({"Izberi datoteko", capture.string(), "Tekst|*.txt|Vse|*.*"}, nullptr);
    EXPECT_EQ(opening->windowTitle(), QStringLiteral("Izberi datoteko"));
    EXPECT_EQ(opening->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(opening->nameFilters(), QStringList({"Tekst (*.txt)", "Vse (*.*)"}));
    EXPECT_EQ(opening->directory().absolutePath(), folder);
    EXPECT_EQ(opening->selectedFiles(), QStringList(QString::fromStdString(capture.string())));

    const auto saving = buildFileDialog({"Shrani", "", "", true}, nullptr);
    EXPECT_EQ(saving->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(saving->fileMode(), QFileDialog::AnyFile);
    const auto choosing = buildFileDialog({"Mapa", folder.toStdString(), "", false, true}, nullptr);
    EXPECT_EQ(choosing->fileMode(), QFileDialog::Directory);
    EXPECT_EQ(choosing->directory().absolutePath(), folder);
}

TEST_F(QtDialogsTest, FileDialogReturnsTheFileChosenAndNothingWhenCancelled) {
    test::TempDirectory directory;
    const std::filesystem::path capture = directory.path() / "Zajem Čatež.txt";
    std::ofstream(capture) << "3830001;5\n";
    const FileDialogRequest open{"Izberi", directory.path().string(), "Tekst|*.txt"};
    whenShown<QFileDialog>([&](QFileDialog& shown) {
        shown.selectFile(QString::fromStdString(capture.string()));
        static_cast<QDialog&>(shown).accept();  // as the dialog's own button does
    });
    EXPECT_EQ(showFileDialog(open, nullptr), capture.string());
    whenShown<QFileDialog>([](QFileDialog& shown) { shown.reject(); });
    EXPECT_EQ(showFileDialog(open, nullptr), std::nullopt);

    useAnswers({1, 0, 1});
    EXPECT_EQ(showFileDialog(open, nullptr), directory.path().string());
    EXPECT_EQ(showFileDialog(open, nullptr), std::nullopt);
    EXPECT_EQ(showFileDialog({"Izberi", "", ""}, nullptr), std::nullopt) << "nothing to accept";
}

TEST_F(QtDialogsTest, PrinterSettingsGoToThePrinterAndBackWhenAccepted) {
    QPrinter printer(QPrinter::HighResolution);
    const QString before = printer.printerName();
    applyPrinterSettings(printer, {"Tiskalnik, ki ga ni", 3});
    EXPECT_EQ(printer.printerName(), before) << "an unknown printer leaves the printer as it was";
    EXPECT_EQ(printer.copyCount(), 3);
    printer.setOutputFormat(QPrinter::PdfFormat);  // a printer that writes a file: no device
    EXPECT_EQ(printerSettingsOf(printer), (PrinterSettings{"", 3}));

    useAnswers({0, 1});
    PrinterSettings settings{"Tiskalnik, ki ga ni", 4};
    EXPECT_FALSE(showPrinterDialog(settings, "Select Printer", nullptr));
    EXPECT_EQ(settings, (PrinterSettings{"Tiskalnik, ki ga ni", 4}));
    EXPECT_TRUE(showPrinterDialog(settings, "Select Printer", nullptr));
    EXPECT_EQ(settings.copies, 4);
    EXPECT_NE(settings.device, "Tiskalnik, ki ga ni");
}

}  // namespace
}  // namespace dv

namespace dv {
namespace {

using test::QtDialogsTest;

// A list's right-click menu: separators for empty texts, disabled items shown but not chosen.
TEST_F(QtDialogsTest, PopupMenuKeepsItemsInOrderAndNeverChoosesADisabledOne) {
    const PopupMenuRequest request{{{"&Insert", true}, {"&Change", false}, {"", false},
                                    {"&Query", true}}};
    const auto menu = buildPopupMenu(request, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&Insert"));
    EXPECT_FALSE(actions[1]->isEnabled());
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->data().toInt(), 4);
    for (const auto& [answer, chosen] : {std::pair{1, 1}, {2, 0}, {3, 0}, {4, 4}, {9, 0}}) {
        setDialogAnswerHook([answer = answer](const char* kind) -> std::optional<int> {
            if (std::string(kind) == kDialogPopupMenu) return answer;
            return std::nullopt;
        });
        EXPECT_EQ(showPopupMenu(request, nullptr), chosen) << "answer " << answer;
    }
    setDialogAnswerHook({});
}

}  // namespace
}  // namespace dv
