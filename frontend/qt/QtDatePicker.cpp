#include <QCalendarWidget>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLocale>
#include <QVBoxLayout>

#include "frontend/qt/DialogAnswerHook.h"
#include "frontend/qt/QtDialogs.h"

namespace dv {
namespace {

bool isValidDay(DayNumber day) {
    return day >= firstValidDay && day <= lastValidDay;
}

QDate qtDate(DayNumber day) {
    const CivilDate date = civilDate(day);
    return {date.year, date.month, date.day};
}

// The day the picker opens at: the request's, or the program's today (which --today fixes).
QDate startDate(DayNumber start) {
    if (isValidDay(start)) return qtDate(start);
    if (isValidDay(today())) return qtDate(today());
    return QDate::currentDate();
}

}  // namespace

std::unique_ptr<QDialog> buildDatePicker(const DatePickerRequest& request,
                                         QCalendarWidget*& calendar, QWidget* parent) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setWindowTitle(windowTitleText(request.caption));
    calendar = new QCalendarWidget(dialog.get());
    calendar->setLocale(QLocale(QLocale::Slovenian, QLocale::Slovenia));
    calendar->setFirstDayOfWeek(Qt::Monday);
    calendar->setGridVisible(true);
    calendar->setDateRange(qtDate(firstValidDay), qtDate(lastValidDay));
    calendar->setSelectedDate(startDate(request.start));
    // A double click (or Enter) on a day takes it at once.
    QObject::connect(calendar, &QCalendarWidget::activated, dialog.get(), &QDialog::accept);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog.get());
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);

    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(calendar);
    layout->addWidget(buttons);
    calendar->setFocus();
    return dialog;
}

std::optional<DayNumber> showDatePicker(const DatePickerRequest& request, QWidget* parent) {
    if (const std::optional<int> answer = hookedDialogAnswer(kDialogDatePicker)) {
        if (!isValidDay(*answer)) return std::nullopt;
        return *answer;
    }
    QCalendarWidget* calendar = nullptr;
    const std::unique_ptr<QDialog> dialog = buildDatePicker(request, calendar, parent);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    const QDate chosen = calendar->selectedDate();
    const DayNumber day = dayNumber(chosen.year(), chosen.month(), chosen.day());
    if (!isValidDay(day)) return std::nullopt;
    return day;
}

}  // namespace dv
