#include "framework/BrowseColumns.h"

#include <algorithm>

#include "framework/BrowseQuery.h"
#include "runtime/FrontEnd.h"
#include "runtime/TextCase.h"

namespace dv {
namespace {

constexpr const char* kQueryFilterId = "QUERY";

std::uint32_t fnv1a(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace

BrowseColumns::BrowseColumns(BrowseList& list, SettingsManager* settings, std::string section)
    : list_(list), settings_(settings), section_(std::move(section)) {
    list_.AttachExtension(this);
}

void BrowseColumns::AddColumn(int column, const TableDef* table, int field, int key) {
    columns_.push_back({column, table, field, key, 0, static_cast<int>(columns_.size()) + 1});
}

BrowseColumns::Column* BrowseColumns::find(int column) {
    for (Column& c : columns_)
        if (c.column == column) return &c;
    return nullptr;
}

const BrowseColumns::Column* BrowseColumns::find(int column) const {
    return const_cast<BrowseColumns*>(this)->find(column);
}

std::string BrowseColumns::heading(int column) const {
    const std::vector<ListColumn>& declared = list_.list().columns();
    if (column < 1 || column > static_cast<int>(declared.size())) return {};
    return declared[static_cast<std::size_t>(column - 1)].heading;
}

void BrowseColumns::notify(const std::string& text) const {
    currentFrontEnd().messageBox(
        {list_.host().window().caption(), text, MessageIcon::Exclamation, kButtonOk, kButtonOk});
}

// ---- rows

void BrowseColumns::styleRows(std::vector<ListRow>& rows) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool odd = r % 2 == 0;  // rows count from 1
        for (ListCell& cell : rows[r]) {
            cell.foreground = odd ? kGreenBarForeground : kDefaultColour;
            cell.background = odd ? kGreenBarBackground : kDefaultColour;
            cell.selectedForeground = odd ? kGreenBarForeground : kDefaultColour;
            cell.selectedBackground = odd ? kGreenBarSelectedBackground : kDefaultColour;
        }
    }
}

void BrowseColumns::takeEvent(const Event& event) {
    if (event.kind == EventKind::HeaderPressed && event.control == list_.list().number()) {
        // A click on the heading of the sort column turns its order round.
        SortByColumn(event.column, event.column == sortColumn_ && !descending_);
        return;
    }
    if (queryLine_.empty() || event.kind != EventKind::Accepted || event.control == 0) return;
    const Control& source = list_.host().window().control(event.control);
    if (sameControlName(source.name(), queryLine_)) ApplyQuery(source.value());
}

void BrowseColumns::orderChosen(int order) {
    const BrowseOrder& chosen = list_.order(order);
    sortColumn_ = 0;
    descending_ = chosen.descending;
    for (const Column& column : columns_)
        if (column.key == chosen.key && column.key >= 0 && column.table == &list_.view().table()) {
            sortColumn_ = column.column;
            break;
        }
    if (startColumn_ == 0) {
        startColumn_ = sortColumn_;
        startDescending_ = descending_;
    }
}

void BrowseColumns::closing() {
    if (const FileResult saved = Save(); !saved.ok()) notify(saved.error);
}

// ---- sorting and locating

int BrowseColumns::orderFor(const Column& column, bool descending) {
    for (int n = 1; n <= list_.orderCount(); ++n)
        if (list_.order(n).key == column.key && list_.order(n).descending == descending) return n;
    return list_.DefineOrderLike(list_.currentOrder(), column.key, descending);
}

bool BrowseColumns::SortByColumn(int number, bool descending) {
    const Column* column = find(number);
    if (column == nullptr || column->table == nullptr) {
        notify("Browse column field is null. Column sorting suppressed.");
        return false;
    }
    if (column->table != &list_.view().table()) {
        notify("Browse column field not in table view. Forced sort required.");
        return false;
    }
    if (column->key < 0) {
        notify("Column \"" + heading(number) + "\" is not a sortable column.");
        return false;
    }
    list_.ChooseOrder(orderFor(*column, descending));
    return true;
}

bool BrowseColumns::LocateOnColumn(int column, std::string_view text) {
    if (list_.page().empty()) {
        notify("Browse must contain records to do this.");
        return false;
    }
    if (column != sortColumn_) {
        const std::string name = heading(column);
        notify(name.empty() ? std::string("Not a sort column.")
                            : "\"" + name + "\" is not a sort column.|Select another column.");
        return false;
    }
    if (list_.order(list_.currentOrder()).locator.kind() != LocatorKind::Incremental) {
        notify("Not an incremental locate column.");
        return false;
    }
    list_.LocateOn(std::string(text));
    return true;
}

std::string BrowseColumns::locatePrompt() const {
    return "Locate on: " + heading(sortColumn_);
}

// ---- layout

bool BrowseColumns::HideColumn(int number) {
    if (number == sortColumn_) {
        notify(
            "The column you are trying to hide is the current sort column.|To hide this column, "
            "first change sort order to another column.");
        return false;
    }
    Column* column = find(number);
    if (column == nullptr) return false;
    column->hidden = true;
    return true;
}

void BrowseColumns::UnhideColumns() {
    for (Column& column : columns_) column.hidden = false;
}

bool BrowseColumns::hidden(int column) const {
    const Column* found = find(column);
    return found != nullptr && found->hidden;
}

void BrowseColumns::SetWidth(int column, int width) {
    if (Column* found = find(column)) found->width = std::max(width, 0);
}

int BrowseColumns::width(int column) const {
    const Column* found = find(column);
    return found != nullptr ? found->width : 0;
}

std::vector<int> BrowseColumns::columnOrder() const {
    std::vector<const Column*> shown;
    for (const Column& column : columns_) shown.push_back(&column);
    std::stable_sort(shown.begin(), shown.end(),
                     [](const Column* a, const Column* b) { return a->place < b->place; });
    std::vector<int> order;
    for (const Column* column : shown) order.push_back(column->column);
    return order;
}

void BrowseColumns::MoveColumn(int column, int place) {
    std::vector<int> order = columnOrder();
    const auto at = std::find(order.begin(), order.end(), column);
    if (at == order.end()) return;
    order.erase(at);
    const int clamped = std::clamp(place, 1, static_cast<int>(order.size()) + 1);
    order.insert(order.begin() + (clamped - 1), column);
    for (std::size_t p = 0; p < order.size(); ++p) find(order[p])->place = static_cast<int>(p) + 1;
}

void BrowseColumns::RestoreDefaults() {
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        columns_[c].width = 0;
        columns_[c].place = static_cast<int>(c) + 1;
        columns_[c].hidden = false;
    }
    if (startColumn_ > 0)
        SortByColumn(startColumn_, startDescending_);
    else
        list_.ChooseOrder(1);
}

// ---- menu and query

const std::vector<std::string>& BrowseColumns::MenuTexts() {
    static const std::vector<std::string> texts = {"Hide columns", "Unhide columns",
                                                   "Change sort order to another column...",
                                                   "Restore defaults", "Cancel this menu"};
    return texts;
}

void BrowseColumns::ChooseMenuItem(MenuItem item, int column) {
    switch (item) {
        case MenuItem::Hide:
            HideColumn(column);
            return;
        case MenuItem::Unhide:
            UnhideColumns();
            return;
        case MenuItem::ChangeSort:
            SortByColumn(column, column == sortColumn_ && !descending_);
            return;
        case MenuItem::RestoreDefaults:
            RestoreDefaults();
            return;
        case MenuItem::Cancel:
            return;
    }
}

bool BrowseColumns::ApplyQuery(std::string_view text) {
    const TableDef& table = list_.view().table();
    std::string filter;
    if (!trimBlanks(text).empty()) {
        // The sort column, else the first column of the primary table.
        const Column* column = find(sortColumn_);
        if (column == nullptr || column->table != &table) {
            column = nullptr;
            for (const Column& c : columns_)
                if (column == nullptr && c.table == &table) column = &c;
        }
        if (column == nullptr) {
            notify("Browse column field not in table view. Forced sort required.");
            return false;
        }
        const QueryFilter built = buildQueryFilter(text, table, column->field);
        if (!built.ok()) {
            notify("The query \"" + std::string(text) + "\" cannot be used: " + built.error + ".");
            return false;
        }
        filter = built.filter;
    }
    query_ = trimBlanks(text);
    for (int n = 1; n <= list_.orderCount(); ++n) list_.PutFilter(filter, kQueryFilterId, n);
    list_.Refresh(RefreshMode::Top);
    if (!filter.empty() && list_.page().empty()) notify("Browse contains no records...");
    return true;
}

// ---- kept layout

std::uint32_t BrowseColumns::designHash(int number) const {
    const Column* column = find(number);
    std::string design = heading(number);
    const std::vector<ListColumn>& declared = list_.list().columns();
    if (number >= 1 && number <= static_cast<int>(declared.size()))
        design += "\x1f" + declared[static_cast<std::size_t>(number - 1)].picture;
    if (column != nullptr && column->table != nullptr)
        design += "\x1f" + std::string(column->table->name) + ":" +
                  std::string(column->table->fields[static_cast<std::size_t>(column->field)].name);
    return fnv1a(design);
}

std::string BrowseColumns::entry(std::string_view name, int column) const {
    return std::string(name) + std::to_string(column);
}

FileResult BrowseColumns::Save() {
    if (settings_ == nullptr || section_.empty()) return FileResult::success();
    settings_->holdWrites();
    for (const Column& column : columns_) {
        const int n = column.column;
        const bool sorted = n == sortColumn_;
        (void)settings_->writeNumber(section_, entry("COLUMNWIDTH#", n), column.width);
        (void)settings_->writeNumber(section_, entry("COLUMNORDER#", n), column.place);
        (void)settings_->writeNumber(section_, entry("SORTCOLUMN#", n), sorted ? 1 : 0);
        (void)settings_->writeNumber(section_, entry("SORTDIRECTION#", n),
                                     sorted && descending_ ? 1 : 0);
        (void)settings_->writeNumber(section_, entry("DESIGNHASH#", n), designHash(n));
    }
    (void)settings_->writeNumber(section_, "StartColumn", sortColumn_);
    (void)settings_->writeNumber(section_, "StartDirection", descending_ ? 1 : 0);
    return settings_->flush();
}

void BrowseColumns::Load() {
    if (settings_ == nullptr || section_.empty()) return;
    for (Column& column : columns_) {
        const int n = column.column;
        const std::int64_t hash = settings_->readNumber(section_, entry("DESIGNHASH#", n), -1);
        if (hash != static_cast<std::int64_t>(designHash(n))) continue;
        column.width = static_cast<int>(std::max<std::int64_t>(
            settings_->readNumber(section_, entry("COLUMNWIDTH#", n), 0), 0));
        column.place = static_cast<int>(
            settings_->readNumber(section_, entry("COLUMNORDER#", n), column.place));
    }
    // Places read from the file are put back into one sequence.
    const std::vector<int> order = columnOrder();
    for (std::size_t p = 0; p < order.size(); ++p) find(order[p])->place = static_cast<int>(p) + 1;

    const int start = static_cast<int>(settings_->readNumber(section_, "StartColumn", 0));
    const bool descending = settings_->readNumber(section_, "StartDirection", 0) != 0;
    const Column* column = find(start);
    if (column == nullptr || column->key < 0 || column->table != &list_.view().table() ||
        settings_->readNumber(section_, entry("DESIGNHASH#", start), -1) !=
            static_cast<std::int64_t>(designHash(start)))
        return;
    if (start != sortColumn_ || descending != descending_) SortByColumn(start, descending);
}

}  // namespace dv
