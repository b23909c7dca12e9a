#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/SettingsManager.h"
#include "framework/BrowseList.h"

namespace dv {

// The green-bar colours of the rows at odd positions of a page (red in the lowest byte).
inline constexpr Colour kGreenBarBackground = 13559033;         // red 249, green 228, blue 206
inline constexpr Colour kGreenBarSelectedBackground = 9750001;  // red 241, green 197, blue 148
inline constexpr Colour kGreenBarForeground = 0;

// The list extension that the program's browse windows attach to their lists: alternating row
// colours, sorting and locating by column, hiding columns, a query line, and the column layout
// kept in the settings file from one run to the next.
//
// A click on a column's heading (HeaderPressed) sorts the list by that column; a click on the
// heading of the sort column turns its order round.
//
// Kept per list in the settings section it is given, for each column n: "COLUMNWIDTH#n",
// "COLUMNORDER#n" (its place among the columns), "SORTCOLUMN#n" (1 when the list is sorted by
// it), "SORTDIRECTION#n" (1 descending) and "DESIGNHASH#n" (the column's heading, picture and
// field; saved values of a column whose design changed are not used); and "StartColumn" and
// "StartDirection", the column and direction the list opens sorted by.
class BrowseColumns final : public BrowseListExtension {
  public:
    enum class MenuItem : std::uint8_t {
        Hide = 1,
        Unhide,
        ChangeSort,
        RestoreDefaults,
        Cancel,
    };

    // `settings` may be null (nothing is kept); `section` names the list in it.
    BrowseColumns(BrowseList& list, SettingsManager* settings, std::string section);

    // A column (from 1) with its record field (table null: no field) and the key that orders it
    // (-1: it cannot be sorted by).
    void AddColumn(int column, const TableDef* table, int field, int key = -1);
    // The entry control that takes the query line (accepted: the query is applied).
    void SetQueryLine(std::string_view control) { queryLine_ = control; }
    // Reads the kept layout and sorts the list by the kept column (after the list's Init).
    void Load();
    // Writes the layout; done when the list ends.
    FileResult Save();

    // ---- BrowseListExtension
    void styleRows(std::vector<ListRow>& rows) override;
    void takeEvent(const Event& event) override;
    void orderChosen(int order) override;
    void closing() override;

    // ---- sorting and locating
    // Sorts the list by a column (descending: read backward); false, with the reason shown,
    // when it cannot be.
    bool SortByColumn(int column, bool descending = false);
    int sortColumn() const { return sortColumn_; }
    bool sortDescending() const { return descending_; }
    // Moves to the first row at or after `text` in the sort column; false with the reason shown
    // when `column` is not the sort column or the list is empty.
    bool LocateOnColumn(int column, std::string_view text);
    // "Locate on: " and the sort column's heading.
    std::string locatePrompt() const;

    // ---- layout
    bool HideColumn(int column);
    void UnhideColumns();
    bool hidden(int column) const;
    void SetWidth(int column, int width);
    int width(int column) const;
    // Puts a column at `place` (from 1) among the columns.
    void MoveColumn(int column, int place);
    // The columns in the order they are shown.
    std::vector<int> columnOrder() const;
    void RestoreDefaults();

    // ---- menu and query
    static const std::vector<std::string>& MenuTexts();
    // The menu item chosen on column `column`; "Change sort order to another column..." sorts
    // by that column.
    void ChooseMenuItem(MenuItem item, int column);
    // Narrows every order of the list by the query line on the sort column's field (empty text:
    // no narrowing). False, with the reason shown, when the line cannot be read.
    bool ApplyQuery(std::string_view text);
    const std::string& query() const { return query_; }

    std::uint32_t designHash(int column) const;

  private:
    struct Column {
        int column;
        const TableDef* table;
        int field;
        int key;
        int width = 0;
        int place;
        bool hidden = false;
    };

    Column* find(int column);
    const Column* find(int column) const;
    std::string heading(int column) const;
    void notify(const std::string& text) const;
    int orderFor(const Column& column, bool descending);
    std::string entry(std::string_view name, int column) const;

    BrowseList& list_;
    SettingsManager* settings_;
    std::string section_;
    std::vector<Column> columns_;
    std::string queryLine_;
    std::string query_;
    int sortColumn_ = 0;
    bool descending_ = false;
    int startColumn_ = 0;
    bool startDescending_ = false;
};

}  // namespace dv
