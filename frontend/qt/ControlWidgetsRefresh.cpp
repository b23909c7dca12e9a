// Showing the model's state in the widgets.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>

#include "frontend/qt/ControlWidgets.h"
#include "frontend/qt/ListTableModel.h"
#include "frontend/qt/QtText.h"

namespace dv {
namespace {

void setTextIfChanged(QLineEdit& line, const QString& text) {
    if (line.text() != text) line.setText(text);
}

int tabIndex(const Control& sheet) {
    const Control* chosen = sheet.chosenTab();
    const std::vector<Control*> tabs = sheet.members();
    for (std::size_t i = 0; i < tabs.size(); ++i)
        if (tabs[i] == chosen) return static_cast<int>(i);
    return -1;
}

void applyColours(QWidget& widget, Colour foreground, Colour background) {
    QPalette palette = widget.parentWidget() ? widget.parentWidget()->palette() : QPalette();
    if (auto colour = toQColor(foreground)) {
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, *colour);
    }
    const std::optional<QColor> fill = toQColor(background);
    if (fill) {
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            palette.setColor(role, *fill);
    }
    widget.setAutoFillBackground(fill.has_value());
    widget.setPalette(palette);
}

}  // namespace

void ControlWidgets::refresh(bool focusedWindow) {
    if (window_ == nullptr) return;
    refreshing_ = true;
    for (const auto& control : window_->controls())
        refreshControl(*control, bindings_[static_cast<std::size_t>(control->number() - 1)]);
    if (focusedWindow) refreshFocus();
    refreshing_ = false;
}

void ControlWidgets::refreshControl(const Control& control, Binding& binding) {
    if (binding.action != nullptr) {
        refreshAction(control, *binding.action);
        return;
    }
    if (binding.widget == nullptr) return;
    refreshState(control, binding);
    refreshValue(control, binding);
    refreshColours(control, binding);
}

void ControlWidgets::refreshState(const Control& control, Binding& binding) {
    QWidget& widget = *binding.widget;
    const QString tip = toQString(control.tip());
    if (binding.sheet != nullptr) {
        const int index = binding.sheet->indexOf(&widget);
        binding.sheet->setTabText(index, toQString(control.text()));
        binding.sheet->setTabToolTip(index, tip);
        binding.sheet->setTabEnabled(index, control.enabledFlag());
        binding.sheet->setTabVisible(index, !control.hiddenFlag());
        return;
    }
    widget.setEnabled(control.enabledFlag());  // Qt does nothing when it is already so
    if (widget.isHidden() != control.hiddenFlag()) widget.setHidden(control.hiddenFlag());
    if (widget.toolTip() != tip) widget.setToolTip(tip);
    widget.setStatusTip(toQString(control.message()));
}

void ControlWidgets::refreshValue(const Control& control, Binding& binding) {
    QWidget* widget = binding.widget;
    const QString text = toQString(control.text());
    const QString value = toQString(control.value());
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (control.type() != ControlType::Image && label->text() != text) label->setText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        setTextIfChanged(*line, value);
        line->setReadOnly(control.readOnly());
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
        if (box->toPlainText() != value) box->setPlainText(value);
        box->setReadOnly(control.readOnly());
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            setTextIfChanged(*combo->lineEdit(), value);
        else
            combo->setCurrentIndex(combo->findText(value));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (button->text() != text) button->setText(text);
        if (control.type() == ControlType::Check) button->setChecked(control.checked());
        if (control.type() == ControlType::Radio) button->setChecked(control.chosen());
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        if (group->title() != text) group->setTitle(text);
    } else if (auto* sheet = qobject_cast<QTabWidget*>(widget)) {
        const int index = tabIndex(control);
        if (index >= 0 && sheet->currentIndex() != index) sheet->setCurrentIndex(index);
    } else if (control.type() == ControlType::List) {
        refreshList(control, binding);
    }
}

void ControlWidgets::refreshList(const Control& control, Binding& binding) {
    auto* view = static_cast<QTableView*>(binding.widget);
    binding.rows->setRows(control.rows());
    binding.rows->setMarks(control.marks());
    QItemSelectionModel* selection = view->selectionModel();
    const int row = control.highlighted() - 1;
    if (row < 0) {
        selection->clearSelection();
        return;
    }
    const QModelIndex current = binding.rows->index(row, 0);
    if (selection->currentIndex().row() != row || !selection->isRowSelected(row)) {
        selection->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
        view->scrollTo(current);
    }
}

void ControlWidgets::refreshColours(const Control& control, Binding& binding) {
    if (control.foreground() == binding.foreground && control.background() == binding.background)
        return;
    binding.foreground = control.foreground();
    binding.background = control.background();
    applyColours(*binding.widget, binding.foreground, binding.background);
}

void ControlWidgets::refreshAction(const Control& control, QAction& action) {
    const QString text = toQString(control.text());
    if (action.text() != text) action.setText(text);
    action.setToolTip(toQString(control.tip().empty() ? control.text() : control.tip()));
    action.setStatusTip(toQString(control.message()));
    action.setEnabled(control.enabledFlag());
    action.setVisible(!control.hiddenFlag());
    if (action.isCheckable()) action.setChecked(control.checked());
}

void ControlWidgets::refreshFocus() {
    const Control* focus = window_->focused();
    if (focus == nullptr) return;
    QWidget* target = widget(focus->number());
    if (target == nullptr || !target->isVisible() || target->hasFocus()) return;
    target->setFocus(Qt::OtherFocusReason);
}

}  // namespace dv
