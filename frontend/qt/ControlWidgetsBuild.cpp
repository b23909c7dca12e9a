// Making the widgets of a window's controls and laying them out.
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "frontend/qt/ControlWidgets.h"
#include "frontend/qt/LinkLabel.h"
#include "frontend/qt/ListTableModel.h"
#include "frontend/qt/QtText.h"
#include "frontend/qt/ResourcePictures.h"
#include "runtime/Picture.h"

namespace dv {
namespace {

bool isChrome(ControlType type) {
    return type == ControlType::MenuBar || type == ControlType::Menu || type == ControlType::Item ||
           type == ControlType::Toolbar;
}

// Controls that stand in the field column of a form row, after their prompt.
bool isFieldType(ControlType type) {
    return isInputType(type) || type == ControlType::Check;
}

QLabel* plainLabel(const std::string& text, QWidget& parent) {
    auto* label = new QLabel(toQString(text), &parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

std::vector<Control*> ControlWidgets::topLevel(bool chrome) const {
    std::vector<Control*> controls;
    for (const auto& control : window_->controls())
        if (control->parent() == nullptr && isChrome(control->type()) == chrome)
            controls.push_back(control.get());
    return controls;
}

void ControlWidgets::build(QWidget& host, WindowChrome chrome) {
    if (!window_->layout().font.empty()) {
        QFont font = host.font();
        font.setFamily(toQString(window_->layout().font));
        host.setFont(font);
    }
    layOut(host, topLevel(false));
    buildChrome(host, chrome);
}

void ControlWidgets::layOut(QWidget& host, const std::vector<Control*>& children) {
    auto* outer = new QVBoxLayout(&host);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    outer->addLayout(form, 1);
    auto* buttons = new QHBoxLayout;
    QLabel* prompt = nullptr;
    const auto flushPrompt = [&] {
        if (prompt != nullptr) form->addRow(prompt);
        prompt = nullptr;
    };
    for (Control* child : children) {
        if (isChrome(child->type())) continue;
        QWidget* made = make(*child, host);
        if (child->type() == ControlType::Prompt) {
            flushPrompt();
            prompt = static_cast<QLabel*>(made);
        } else if (child->type() == ControlType::Button) {
            buttons->addWidget(made);
        } else if (isFieldType(child->type())) {
            if (prompt != nullptr) prompt->setBuddy(made);
            form->addRow(prompt, made);
            prompt = nullptr;
        } else {
            flushPrompt();
            form->addRow(made);
        }
    }
    flushPrompt();
    if (buttons->count() == 0) {
        delete buttons;
        return;
    }
    buttons->insertStretch(0);
    outer->addLayout(buttons);
}

QWidget* ControlWidgets::make(Control& control, QWidget& parent) {
    QWidget* made = nullptr;
    switch (control.type()) {
        case ControlType::Prompt:
            made = plainLabel(control.text(), parent);
            break;
        case ControlType::String:
            if (control.declared().link)
                made = new LinkLabel(toQString(control.text()), toQColor(control.declared().hover),
                                     &parent);
            else
                made = plainLabel(control.text(), parent);
            break;
        case ControlType::Image: {
            auto* image = new QLabel(&parent);
            if (auto picture = resourcePicture(control.declared().icon)) image->setPixmap(*picture);
            made = image;
            break;
        }
        case ControlType::Button: {
            auto* button = new QPushButton(toQString(control.text()), &parent);
            button->setAutoDefault(false);
            if (const QIcon icon = resourceIcon(control.declared().icon); !icon.isNull())
                button->setIcon(icon);
            made = button;
            break;
        }
        case ControlType::Check:
            made = new QCheckBox(toQString(control.text()), &parent);
            break;
        case ControlType::Radio: {
            auto* radio = new QRadioButton(toQString(control.text()), &parent);
            // The option group's value decides which radio is chosen, not Qt.
            radio->setAutoExclusive(false);
            made = radio;
            break;
        }
        case ControlType::List:
            made = makeList(control, parent);
            break;
        case ControlType::Sheet:
            made = makeSheet(control, parent);
            break;
        case ControlType::Group:
        case ControlType::Option:
            made = makeContainer(control, parent);
            break;
        default:
            made = makeInput(control, parent);
            break;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(made)) {
        const int number = control.number();
        connect(button, &QAbstractButton::clicked, this, [this, number] { pressed(number); });
    }
    bindings_[static_cast<std::size_t>(control.number() - 1)].widget = made;
    watch(*made, control.number());
    return made;
}

QWidget* ControlWidgets::makeInput(Control& control, QWidget& parent) {
    const int number = control.number();
    switch (control.type()) {
        case ControlType::TextBox: {
            auto* box = new QPlainTextEdit(&parent);
            connect(box, &QPlainTextEdit::textChanged, this,
                    [this, box, number] { typed(number, box->toPlainText()); });
            return box;
        }
        case ControlType::Combo:
        case ControlType::DropList: {
            auto* combo = new QComboBox(&parent);
            combo->setEditable(control.type() == ControlType::Combo);
            for (const std::string& choice : control.declared().choices)
                combo->addItem(toQString(choice));
            connect(combo, &QComboBox::activated, this,
                    [this, combo, number](int index) { typed(number, combo->itemText(index)); });
            if (QLineEdit* line = combo->lineEdit()) {
                connect(line, &QLineEdit::textEdited, this,
                        [this, number](const QString& text) { typed(number, text); });
                watch(*line, number);
            }
            return combo;
        }
        default: {
            // Entries, spins and anything else typed on one line: the model holds the text as
            // its picture shows it.
            auto* line = new QLineEdit(&parent);
            connect(line, &QLineEdit::textEdited, this,
                    [this, number](const QString& text) { typed(number, text); });
            return line;
        }
    }
}

namespace {

// Each column as wide as its picture shows its cells (at most 40 characters: longer texts are
// cut, not wrapped), never narrower than its heading; the last one takes what is left.
void sizeColumns(QTableView& view, const std::vector<ListColumn>& columns) {
    const QFontMetrics metrics(view.font());
    constexpr int kPadding = 16;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::optional<Picture> picture = Picture::parse(columns[i].picture);
        const int characters = std::clamp(picture ? picture->width() : 10, 1, 40);
        const int heading = metrics.horizontalAdvance(QString::fromStdString(columns[i].heading));
        view.setColumnWidth(static_cast<int>(i),
                            std::max(metrics.averageCharWidth() * characters, heading) + kPadding);
    }
    view.setWordWrap(false);
}

}  // namespace

QWidget* ControlWidgets::makeList(Control& control, QWidget& parent) {
    const int number = control.number();
    auto* view = new QTableView(&parent);
    auto* rows = new ListTableModel(control.columns(), view);
    rows->setMarkable(control.declared().multiple);
    view->setModel(rows);
    view->setItemDelegate(new ListCellDelegate(view));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    sizeColumns(*view, control.columns());
    view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(view, &QTableView::pressed, this, [this, number](const QModelIndex& index) {
        rowChosen(number, index.row() + 1, false);
    });
    connect(view, &QTableView::doubleClicked, this,
            [this, number](const QModelIndex& index) { rowChosen(number, index.row() + 1, true); });
    // Sorting by a column is the procedure's: the view itself never sorts.
    view->setSortingEnabled(false);
    view->horizontalHeader()->setSectionsClickable(true);
    connect(view->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this, number](int section) { headerClicked(number, section + 1); });
    // The right mouse button opens the list's own menu, on the row under the pointer.
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QTableView::customContextMenuRequested, this,
            [this, number, view](const QPoint& at) {
                const QModelIndex index = view->indexAt(at);
                rowMenu(number, index.isValid() ? index.row() + 1 : 0);
            });
    watch(*view->viewport(), number);
    bindings_[static_cast<std::size_t>(number - 1)].rows = rows;
    return view;
}

QWidget* ControlWidgets::makeSheet(Control& control, QWidget& parent) {
    const int number = control.number();
    auto* sheet = new QTabWidget(&parent);
    for (Control* tab : window_->childrenOf(control)) {
        if (tab->type() != ControlType::Tab) continue;
        auto* page = new QWidget(sheet);
        layOut(*page, window_->childrenOf(*tab));
        sheet->addTab(page, toQString(tab->text()));
        Binding& binding = bindings_[static_cast<std::size_t>(tab->number() - 1)];
        binding.widget = page;
        binding.sheet = sheet;
    }
    connect(sheet, &QTabWidget::tabBarClicked, this,
            [this, number](int index) { tabChosen(number, index); });
    return sheet;
}

QWidget* ControlWidgets::makeContainer(Control& control, QWidget& parent) {
    auto* box = new QGroupBox(toQString(control.text()), &parent);
    layOut(*box, window_->childrenOf(control));
    return box;
}

}  // namespace dv
