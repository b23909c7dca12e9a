#include "framework/BrowseList.h"

#include <cstring>
#include <stdexcept>

#include "data/RecordBuffers.h"
#include "storage/ViewFields.h"

namespace dv {
namespace {

bool hasOwnColours(const ListCell& cell) {
    return cell.foreground != kDefaultColour || cell.background != kDefaultColour ||
           cell.selectedForeground != kDefaultColour || cell.selectedBackground != kDefaultColour;
}

// The colours a row formatter gave cells come back after the extension styled the rows.
void keepOwnColours(const std::vector<BrowseRow>& page, std::vector<ListRow>& rows) {
    for (std::size_t r = 0; r < rows.size() && r < page.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size() && c < page[r].cells.size(); ++c) {
            const ListCell& own = page[r].cells[c];
            if (!hasOwnColours(own)) continue;
            rows[r][c].foreground = own.foreground;
            rows[r][c].background = own.background;
            rows[r][c].selectedForeground = own.selectedForeground;
            rows[r][c].selectedBackground = own.selectedBackground;
        }
}

// The keys the list acts on itself; every other key stays with the window.
void alertListKeys(Control& list) {
    for (const KeyCode key : {keys::Insert, keys::Delete, keys::CtrlEnter, keys::ShiftEnter,
                              keys::Backspace, keys::Space})
        list.alert(key);
    for (char c = 'A'; c <= 'Z'; ++c) {
        list.alert(keys::Letter(c));
        list.alert(keys::kShift + keys::Letter(c));
    }
    for (char c = '0'; c <= '9'; ++c) list.alert(keys::Letter(c));
}

}  // namespace

BrowseList::BrowseList() = default;
BrowseList::~BrowseList() = default;

// ---- set-up

void BrowseList::SetUp(BrowseHost& host, ViewManager& view, std::string_view listControl) {
    host_ = &host;
    view_ = &view;
    list_ = &host.window().control(listControl);
    page_ = std::make_unique<BrowsePage>(view, [this] { return cells(); });
    alertListKeys(list());
    if (marksRows()) list().alert(keys::kCtrl + keys::Letter('A'));
}

Control& BrowseList::list() const {
    return *list_;
}

int BrowseList::DefineOrder(int key, bool descending) {
    BrowseOrder order;
    order.key = key;
    order.descending = descending;
    orders_.push_back(std::move(order));
    return orderCount();
}

int BrowseList::DefineOrderLike(int model, int key, bool descending) {
    BrowseOrder order = target(model);
    order.key = key;
    order.descending = descending;
    order.range = order.range.over(key);
    order.locator.clear();
    orders_.push_back(std::move(order));
    return orderCount();
}

BrowseOrder& BrowseList::target(int order) {
    if (orders_.empty()) throw std::logic_error("the list has no sort order");
    if (order == 0) return orders_.back();
    if (order < 1 || order > orderCount())
        throw std::out_of_range("the list has no sort order " + std::to_string(order));
    return orders_[static_cast<std::size_t>(order - 1)];
}

const BrowseOrder& BrowseList::order(int number) const {
    return orders_.at(static_cast<std::size_t>(number - 1));
}

BrowseOrder& BrowseList::current() {
    return orders_[static_cast<std::size_t>(currentOrder_ - 1)];
}

void BrowseList::LimitOrder(LimitType type, std::vector<RangeField> fields, int order) {
    BrowseOrder& limited = target(order);
    limited.range = BrowseRange(view_->table(), limited.key, type, std::move(fields));
    limited.captured = false;
}

void BrowseList::AttachLocator(LocatorKind kind, std::string_view control, int order) {
    target(order).locator = BrowseLocator(kind, std::string(control));
}

void BrowseList::SetThumb(ThumbStyle style, int order) {
    target(order).thumb = style;
}

void BrowseList::PutFilter(std::string expression, std::string id, int order) {
    std::vector<BrowseFilter>& filters = target(order).filters;
    for (auto it = filters.begin(); it != filters.end(); ++it) {
        if (id.empty() || it->id != id) continue;
        if (expression.empty())
            filters.erase(it);
        else
            it->expression = std::move(expression);
        return;
    }
    if (!expression.empty()) filters.push_back({std::move(expression), std::move(id)});
}

void BrowseList::MapColumn(const TableDef& table, int field, int column, std::string picture) {
    if (picture.empty()) {
        const std::vector<ListColumn>& declared = list().columns();
        if (column >= 1 && column <= static_cast<int>(declared.size()))
            picture = declared[static_cast<std::size_t>(column - 1)].picture;
    }
    columns_.emplace_back(table, field, column, picture);
}

void BrowseList::WatchField(const TableDef& table, int field) {
    watched_.emplace_back(&table, field);
    watchedSeen_ = watchedValues();
}

void BrowseList::SetControls(BrowseControls controls) {
    controls_ = std::move(controls);
}

void BrowseList::SetSheet(std::string_view sheet) {
    sheet_ = sheet;
}

bool BrowseList::selecting() const {
    return host_ != nullptr && host_->request() == ReqSelect;
}

void BrowseList::Init() {
    if (host_->request() == ReqView) {
        for (std::string* name : {&controls_.insert, &controls_.change, &controls_.remove}) {
            if (Control* button = control(*name)) {
                button->setHidden(true);
                button->setEnabled(false);
            }
            name->clear();
        }
    }
    if (selecting()) callerRecord_ = view_->primary().SnapshotBuffer();
    if (orders_.empty()) DefineOrder(kFileOrder);
    inited_ = true;
    const bool atBuffer = options_.startAtCurrent;
    currentOrder_ = 1;
    BrowseOrder& first = current();
    first.range.capture(view_->primary().buffer());
    first.captured = true;
    view_->SetOrder(first.key, first.descending);
    if (extension_ != nullptr) extension_->orderChosen(currentOrder_);
    Refresh(atBuffer ? RefreshMode::Buffer : RefreshMode::Top);
}

// ---- rows

Control* BrowseList::control(const std::string& name) const {
    return name.empty() ? nullptr : host_->window().find(name);
}

ListRow BrowseList::cells() const {
    ListRow row(list().columns().size());
    for (const BrowseColumn& column : columns_) {
        if (column.column < 1) continue;
        if (static_cast<std::size_t>(column.column) > row.size())
            row.resize(static_cast<std::size_t>(column.column));
        row[static_cast<std::size_t>(column.column - 1)].text = column.format(column.table->buffer);
    }
    if (formatter_) formatter_(row);
    return row;
}

// Shows the page with row `index` (from 0) highlighted and that row's record in the buffers;
// an empty page clears the primary buffer.
void BrowseList::show(int index) {
    std::vector<ListRow> rows;
    rows.reserve(page_->rows().size());
    for (const BrowseRow& row : page_->rows()) rows.push_back(row.cells);
    if (extension_ != nullptr) {
        extension_->styleRows(rows);
        if (formatter_) keepOwnColours(page_->rows(), rows);
    }
    Control& shown = list();
    shown.setRows(std::move(rows));
    showMarks();
    shown.highlight(page_->empty() ? 0 : std::clamp(index, 0, page_->size() - 1) + 1);
    currentChoice_ = shown.highlighted();
    if (page_->empty()) {
        clearRecord(view_->table(), view_->primary().buffer());
        view_->ClearJoined();
    } else {
        LoadHighlighted();
    }
    SyncButtons();
}

void BrowseList::LoadHighlighted() {
    if (currentChoice_ < 1 || currentChoice_ > page_->size()) return;
    const BrowseRow& row = page_->rows()[static_cast<std::size_t>(currentChoice_ - 1)];
    std::memcpy(view_->primary().buffer(), row.record.data(), row.record.size());
    view_->ReadJoins();
}

// ---- filter and refresh

std::string BrowseList::filterText() const {
    const BrowseOrder& order = orders_[static_cast<std::size_t>(currentOrder_ - 1)];
    return viewFilterText(order.range.filterText(), order.filters);
}

// Gives the view the filter of the current order when it changed; true when it did.
bool BrowseList::applyFilter() {
    std::string text = filterText();
    if (filterApplied_ && text == appliedFilter_) return false;
    view_->SetFilter(text);
    appliedFilter_ = std::move(text);
    filterApplied_ = true;
    return true;
}

void BrowseList::Refresh(RefreshMode mode) {
    if (!inited_) return;
    applyFilter();
    watchedSeen_ = watchedValues();
    page_->setCapacity(options_.fileLoaded ? 0 : options_.itemsToFill);
    if (options_.quickScan) view_->SetQuickScan(true);
    const int screenRow = options_.retainRow && currentChoice_ > 0 ? currentChoice_ - 1 : 0;
    int index = -1;
    if (mode == RefreshMode::Current && currentChoice_ > 0 && !page_->empty()) {
        const DriverPosition at = page_->position(currentChoice_ - 1);
        index = page_->fill([&at](ViewManager& view) { view.SetTo(at); }, screenRow);
    } else if (mode == RefreshMode::Buffer) {
        const int components = view_->components();
        index = page_->fill([components](ViewManager& view) { view.SetToBuffer(components); },
                            screenRow);
    } else if (mode == RefreshMode::Bottom) {
        index = page_->fillFromEnd();
    } else {
        index = page_->fillFromStart();
    }
    if (options_.quickScan) view_->SetQuickScan(false);
    show(index);
}

// Fills the page at a record's position (or the record after it, when it is gone), keeping the
// highlighted screen row where the records allow.
void BrowseList::fillAt(const DriverPosition& position) {
    applyFilter();
    const int screenRow = options_.retainRow && currentChoice_ > 0 ? currentChoice_ - 1 : 0;
    show(page_->fill([&position](ViewManager& view) { view.SetTo(position); }, screenRow));
}

void BrowseList::ChooseOrder(int number) {
    if (number < 1 || number > orderCount() || number == currentOrder_) return;
    currentOrder_ = number;
    BrowseOrder& order = current();
    if (!order.captured) {
        order.range.capture(view_->primary().buffer());
        order.captured = true;
    }
    order.locator.clear();
    view_->SetOrder(order.key, order.descending);
    if (extension_ != nullptr) extension_->orderChosen(currentOrder_);
    Refresh(page_->empty() ? RefreshMode::Top : RefreshMode::Buffer);
}

std::vector<std::string> BrowseList::watchedValues() const {
    std::vector<std::string> values;
    for (const auto& [table, field] : watched_)
        values.push_back(readFieldValue(*table, field, table->buffer).toText());
    return values;
}

bool BrowseList::NeedsRefresh() const {
    return NeedRefresh();
}

void BrowseList::Kill() {
    if (inited_) OnClose(host_->response());
}

bool BrowseList::NeedRefresh() const {
    if (!inited_) return false;
    return watchedValues() != watchedSeen_ || filterText() != appliedFilter_;
}

// ---- buttons

void BrowseList::SyncButtons() {
    const bool rows = !page_->empty();
    for (const std::string* name :
         {&controls_.change, &controls_.remove, &controls_.print, &controls_.view})
        if (Control* button = control(*name)) button->setEnabled(rows);
    if (Control* select = control(controls_.select)) {
        if (selecting()) {
            select->setHidden(false);
            select->setEnabled(rows);
        } else if (options_.hideSelect) {
            select->setEnabled(false);
            select->setHidden(true);
        }
    }
}

bool BrowseList::press(const std::string& name) {
    Control* button = control(name);
    if (button == nullptr || !button->isEnabled() || !button->isVisible()) return false;
    host_->window().post(EventKind::Accepted, *button);
    return true;
}

int BrowseList::thumbPosition() const {
    if (page_->empty()) return 0;
    if (options_.fileLoaded)
        return page_->size() < 2 ? 0 : (currentChoice_ - 1) * 100 / (page_->size() - 1);
    if (page_->atBottom() && (!page_->atTop() || currentChoice_ == page_->size())) return 100;
    if (page_->atTop()) return 0;
    return 50;
}

// ---- events

EventResult BrowseList::TakeEvent(const Event& event) {
    if (!inited_) return kEventGoOn;
    if (extension_ != nullptr) extension_->takeEvent(event);
    Window& window = host_->window();
    const Control* source = event.control != 0 ? &window.control(event.control) : nullptr;
    if (source == &list()) {
        switch (event.kind) {
            case EventKind::NewSelection:
                OnListSelection();
                break;
            case EventKind::AlertKey:
                OnListKey(event.key);
                break;
            case EventKind::RowMenu:
                OnRightClick(event.row);
                break;
            case EventKind::MarkRow:
                ToggleMark(event.row);
                break;
            case EventKind::Accepted:
                // A double click: Select when selecting, else Change.
                if (!page_->empty()) press(selecting() ? controls_.select : controls_.change);
                break;
            case EventKind::ScrollUp:
            case EventKind::ScrollDown:
            case EventKind::PageUp:
            case EventKind::PageDown:
            case EventKind::ScrollTop:
            case EventKind::ScrollBottom:
                OnScroll(event.kind);
                break;
            default:
                break;
        }
    } else if (source != nullptr && event.kind == EventKind::Accepted) {
        const std::string& name = source->name();
        const auto is = [&name](const std::string& control) {
            return !control.empty() && sameControlName(name, control);
        };
        if (is(controls_.insert)) {
            AskRecord(ReqInsert);
        } else if (is(controls_.change)) {
            AskRecord(ReqChange);
        } else if (is(controls_.remove)) {
            AskRecord(ReqDelete);
        } else if (is(controls_.view)) {
            AskRecord(ReqView);
        } else if (is(controls_.select)) {
            if (!page_->empty()) host_->finish(RespCompleted);
        } else if (is(controls_.markAll)) {
            MarkAll();
        } else if (is(controls_.print)) {
            if (print_ && !page_->empty()) print_();
        } else if (is(current().locator.control()) &&
                   current().locator.kind() == LocatorKind::Entry) {
            OnLocate();
        }
    } else if (source != nullptr && event.kind == EventKind::NewSelection && !sheet_.empty() &&
               sameControlName(source->name(), sheet_)) {
        if (const Control* tab = source->chosenTab()) {
            const std::vector<Control*> tabs = source->members();
            for (std::size_t t = 0; t < tabs.size(); ++t)
                if (tabs[t] == tab) ChooseOrder(static_cast<int>(t) + 1);
        }
    }
    if (NeedRefresh()) Refresh(RefreshMode::Top);
    return kEventGoOn;
}

void BrowseList::OnListSelection() {
    const int highlighted = list().highlighted();
    if (highlighted == currentChoice_) return;
    currentChoice_ = highlighted;
    LoadHighlighted();
}

}  // namespace dv
