#include "frontend/qt/ListTableModel.h"

#include <algorithm>
#include <utility>

#include "frontend/qt/QtText.h"

namespace dv {
namespace {

bool sameCell(const ListCell& a, const ListCell& b) {
    return a.text == b.text && a.foreground == b.foreground && a.background == b.background &&
           a.selectedForeground == b.selectedForeground &&
           a.selectedBackground == b.selectedBackground;
}

bool sameRow(const ListRow& a, const ListRow& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameCell);
}

QVariant colourOf(Colour colour) {
    if (std::optional<QColor> qt = toQColor(colour)) return *qt;
    return {};
}

}  // namespace

ListTableModel::ListTableModel(std::vector<ListColumn> columns, QObject* parent)
    : QAbstractTableModel(parent),
      columns_(std::move(columns)),
      columnCount_(static_cast<int>(columns_.size())) {}

int ListTableModel::widestRow(const std::vector<ListRow>& rows) const {
    std::size_t widest = columns_.size();
    for (const ListRow& row : rows) widest = std::max(widest, row.size());
    return static_cast<int>(widest);
}

void ListTableModel::setRows(const std::vector<ListRow>& rows) {
    const int columns = widestRow(rows);
    if (rows.size() != rows_.size() || columns != columnCount_) {
        beginResetModel();
        rows_ = rows;
        columnCount_ = columns;
        endResetModel();
        return;
    }
    if (columnCount_ == 0) return;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (sameRow(rows[r], rows_[r])) continue;
        rows_[r] = rows[r];
        const int row = static_cast<int>(r);
        emit dataChanged(index(row, 0), index(row, columnCount_ - 1));
    }
}

void ListTableModel::setMarks(const std::vector<bool>& marks) {
    std::vector<bool> shown = marks;
    shown.resize(rows_.size(), false);
    const std::vector<bool> before = std::exchange(marks_, shown);
    for (std::size_t r = 0; r < marks_.size(); ++r) {
        if (r < before.size() && before[r] == marks_[r]) continue;
        const QModelIndex first = index(static_cast<int>(r), 0);
        emit dataChanged(first, first, {Qt::CheckStateRole});
    }
}

int ListTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnCount_;
}

const ListCell* ListTableModel::cellAt(const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= rowCount()) return nullptr;
    const ListRow& row = rows_[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    return column < row.size() ? &row[column] : nullptr;
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole) {
        const auto column = static_cast<std::size_t>(index.column());
        Qt::Alignment across = Qt::AlignLeft;
        if (column < columns_.size() && columns_[column].rightAligned) across = Qt::AlignRight;
        if (column < columns_.size() && columns_[column].centred) across = Qt::AlignHCenter;
        return QVariant::fromValue(Qt::AlignVCenter | across);
    }
    if (role == Qt::CheckStateRole) {
        if (!markable_ || index.column() != 0 || !index.isValid()) return {};
        const auto row = static_cast<std::size_t>(index.row());
        return row < marks_.size() && marks_[row] ? Qt::Checked : Qt::Unchecked;
    }
    const ListCell* cell = cellAt(index);
    if (cell == nullptr) return {};
    switch (role) {
        case Qt::DisplayRole:
            return toQString(cell->text);
        case Qt::ForegroundRole:
            return colourOf(cell->foreground);
        case Qt::BackgroundRole:
            return colourOf(cell->background);
        case SelectedForegroundRole:
            return colourOf(cell->selectedForeground);
        case SelectedBackgroundRole:
            return colourOf(cell->selectedBackground);
        default:
            return {};
    }
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const auto column = static_cast<std::size_t>(section);
    return column < columns_.size() ? toQString(columns_[column].heading) : QString();
}

void ListCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!(option->state & QStyle::State_Selected)) return;
    const QVariant background = index.data(ListTableModel::SelectedBackgroundRole);
    const QVariant foreground = index.data(ListTableModel::SelectedForegroundRole);
    if (background.isValid()) {
        option->palette.setColor(QPalette::Highlight, background.value<QColor>());
        // Styles that paint the highlight from the item's own brush.
        option->backgroundBrush = background.value<QColor>();
    }
    if (foreground.isValid())
        option->palette.setColor(QPalette::HighlightedText, foreground.value<QColor>());
}

}  // namespace dv
