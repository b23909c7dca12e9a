#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <vector>

#include "runtime/Control.h"

namespace dv {

// The rows of a list control for a QTableView: one column per declared column (more when a row
// has more cells), the headings, the cells' texts aligned as their columns ask (left, right or
// centred), and each cell's
// colours. The colours of a highlighted row come through the two roles below, which
// ListCellDelegate paints.
class ListTableModel : public QAbstractTableModel {
  public:
    static constexpr int SelectedForegroundRole = Qt::UserRole + 1;
    static constexpr int SelectedBackgroundRole = Qt::UserRole + 2;

    explicit ListTableModel(std::vector<ListColumn> columns, QObject* parent = nullptr);

    // Takes the list's rows. Rows that did not change keep their state in the view; the model is
    // reset only when the number of rows or columns changed.
    void setRows(const std::vector<ListRow>& rows);
    const std::vector<ListRow>& rows() const { return rows_; }
    // A list that marks rows shows each row's mark as the check state of its first cell.
    void setMarkable(bool markable) { markable_ = markable; }
    void setMarks(const std::vector<bool>& marks);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    int widestRow(const std::vector<ListRow>& rows) const;
    const ListCell* cellAt(const QModelIndex& index) const;

    std::vector<ListColumn> columns_;
    std::vector<ListRow> rows_;
    std::vector<bool> marks_;
    bool markable_ = false;
    int columnCount_ = 0;
};

// Paints a highlighted cell in the cell's own highlight colours, where it has them.
class ListCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace dv
