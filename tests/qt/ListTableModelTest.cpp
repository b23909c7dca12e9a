#include <gtest/gtest.h>

#include <QColor>

#include "frontend/qt/ListTableModel.h"

namespace dv {
namespace {

// The green-bar colours of the lists: 13559033 is red 249, green 228, blue 206.
constexpr Colour kBar = 13559033;
constexpr Colour kBarSelected = 9750001;

ListRow row(std::string a, std::string b, bool striped = false) {
    ListRow cells{{std::move(a)}, {std::move(b)}};
    if (striped)
        for (ListCell& cell : cells) {
            cell.foreground = 0;
            cell.background = kBar;
            cell.selectedForeground = 0;
            cell.selectedBackground = kBarSelected;
        }
    return cells;
}

std::vector<ListColumn> columns() {
    return {{"Šifra", "", true, false, "", ""}, {"Naziv", "", false, true, "", ""}};
}

TEST(ListTableModel, ShowsTextsHeadingsAlignmentAndEachCellsColours) {
    ListTableModel model(columns());
    model.setRows({row("1", "Center"), row("2", "Skladišče", true)});
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString("Šifra"));
    EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), QString("Skladišče"));

    const auto alignment = [&](int column) {
        return model.data(model.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
    };
    EXPECT_TRUE(alignment(0) & Qt::AlignRight);
    EXPECT_TRUE(alignment(1) & Qt::AlignHCenter);

    // A row without colours of its own leaves them to the view.
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::BackgroundRole).isValid());
    const QModelIndex striped = model.index(1, 0);
    EXPECT_EQ(model.data(striped, Qt::BackgroundRole).value<QColor>(), QColor(249, 228, 206));
    EXPECT_EQ(model.data(striped, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
    EXPECT_EQ(model.data(striped, ListTableModel::SelectedBackgroundRole).value<QColor>(),
              QColor(241, 197, 148));
}

TEST(ListTableModel, ChangedRowsAreUpdatedInPlaceAndOtherShapesReset) {
    ListTableModel model(columns());
    int resets = 0;
    std::vector<int> changedRows;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         for (int r = from.row(); r <= to.row(); ++r) changedRows.push_back(r);
                     });
    model.setRows({row("1", "A"), row("2", "B"), row("3", "C")});
    EXPECT_EQ(resets, 1);

    model.setRows({row("1", "A"), row("2", "B", true), row("3", "C")});
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(changedRows, std::vector<int>{1});
    EXPECT_EQ(model.data(model.index(1, 0), Qt::BackgroundRole).value<QColor>(),
              QColor(249, 228, 206));

    model.setRows({row("1", "A")});
    EXPECT_EQ(resets, 2);
    EXPECT_EQ(model.rowCount(), 1);

    // A row with more cells than the list declared columns widens the table.
    ListRow wide = row("1", "A");
    wide.push_back({"dodatno"});
    model.setRows({wide});
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.data(model.index(0, 2), Qt::DisplayRole).toString(), QString("dodatno"));
    EXPECT_FALSE(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString().size() > 0);
}

}  // namespace
}  // namespace dv
