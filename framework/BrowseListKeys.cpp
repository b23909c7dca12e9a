#include <algorithm>

#include "framework/BrowseList.h"
#include "runtime/TextCase.h"
#include "runtime/WindowInput.h"
#include "storage/ViewFields.h"

namespace dv {

// ---- keys and locators

void BrowseList::OnListKey(KeyCode key) {
    const bool rows = !page_->empty();
    // In a list that marks rows, Space marks the highlighted row instead of typing a blank.
    if (marksRows() && key == keys::Space) {
        if (rows) ToggleMark(currentChoice_);
        return;
    }
    if (marksRows() && key == keys::kCtrl + keys::Letter('A')) {
        MarkAll();
        return;
    }
    switch (key) {
        case keys::Insert:
            press(controls_.insert);
            return;
        case keys::Delete:
            if (rows) press(controls_.remove);
            return;
        case keys::CtrlEnter:
            if (rows) press(controls_.change);
            return;
        case keys::ShiftEnter:
            if (rows) press(controls_.view);
            return;
        default:
            locateKey(key);
    }
}

// The free component of the order's key in a record, as text for comparing.
ExpressionValue BrowseList::freeValue(const std::vector<unsigned char>& record) const {
    const BrowseOrder& order = orders_[static_cast<std::size_t>(currentOrder_ - 1)];
    const KeyDef& key = view_->table().keys[static_cast<std::size_t>(order.key)];
    const int free = order.range.freeElement();
    return readFieldValue(view_->table(), key.components[static_cast<std::size_t>(free)].field,
                          record.data());
}

void BrowseList::locateKey(KeyCode key) {
    BrowseOrder& order = current();
    BrowseLocator& locator = order.locator;
    const std::optional<char> typed = typedCharacter(key);
    if (locator.kind() == LocatorKind::None || (!typed && key != keys::Backspace)) return;
    switch (locator.kind()) {
        case LocatorKind::Incremental: {
            const bool changed = typed ? locator.add(std::string(1, *typed)) : locator.removeLast();
            if (!changed) return;
            showLocatorText(locator);
            locate(ExpressionValue::text(locator.text()));
            return;
        }
        case LocatorKind::Entry: {
            Control* entry = control(locator.control());
            if (entry == nullptr || !typed) return;
            entry->setValue(std::string(1, *typed));
            entry->setChangedByUser(true);
            host_->window().select(*entry);
            return;
        }
        case LocatorKind::Step: {
            if (!typed || *typed == ' ' || order.key == kFileOrder) return;
            const std::string wanted = upperSlovenian(std::string(1, *typed));
            if (currentChoice_ > 0) {
                const BrowseRow& row = page_->rows()[static_cast<std::size_t>(currentChoice_ - 1)];
                if (upperSlovenian(freeValue(row.record).toText()).starts_with(wanted)) {
                    if (!moveHighlight(currentChoice_) && page_->scroll(true))
                        show(page_->size() - 1);
                    return;
                }
            }
            locate(ExpressionValue::text(wanted));
            return;
        }
        case LocatorKind::None:
            return;
    }
}

void BrowseList::showLocatorText(const BrowseLocator& locator) {
    Control* shown = control(locator.control());
    if (shown == nullptr) return;
    if (isInputType(shown->type()))
        shown->setValue(locator.text());
    else
        shown->setText(locator.text());
}

void BrowseList::LocateOn(std::string text) {
    BrowseLocator& locator = current().locator;
    locator.set(std::move(text));
    showLocatorText(locator);
    locate(ExpressionValue::text(locator.text()));
}

void BrowseList::OnLocate() {
    const BrowseLocator& locator = current().locator;
    Control* entry = control(locator.control());
    if (entry == nullptr) return;
    locate(ExpressionValue::text(entry->value()));
    host_->window().select(list());
}

// Puts `value` into the free component of the order's key (after the range's values) and
// shows the first record at or after it.
void BrowseList::locate(const ExpressionValue& value) {
    const BrowseOrder& order = current();
    if (order.key == kFileOrder) return;
    const TableDef& table = view_->table();
    const KeyDef& key = table.keys[static_cast<std::size_t>(order.key)];
    const int free = order.range.freeElement();
    if (free >= static_cast<int>(key.components.size())) return;
    void* buffer = view_->primary().buffer();
    order.range.prime(buffer);
    const int field = key.components[static_cast<std::size_t>(free)].field;
    const bool upper = key.noCase && value.isText();
    writeFieldValue(table, field, buffer,
                    upper ? ExpressionValue::text(upperSlovenian(value.toText())) : value);
    applyFilter();
    const int screenRow = options_.retainRow && currentChoice_ > 0 ? currentChoice_ - 1 : 0;
    show(page_->fill([free](ViewManager& view) { view.SetToBuffer(free + 1); }, screenRow));
}

// ---- scrolling

// Highlights row `index` (from 0) of the page as it is; false when there is no such row.
bool BrowseList::moveHighlight(int index) {
    if (index < 0 || index >= page_->size()) return false;
    Control& shown = list();
    shown.highlight(index + 1);
    currentChoice_ = shown.highlighted();
    LoadHighlighted();
    return true;
}

void BrowseList::OnScroll(EventKind kind) {
    const int index = currentChoice_ - 1;
    switch (kind) {
        case EventKind::ScrollDown:
            if (page_->scroll(true)) show(page_->size() - 1);
            return;
        case EventKind::ScrollUp:
            if (page_->scroll(false)) show(0);
            return;
        case EventKind::PageDown: {
            // The highlight moves a page on, as far as the records go.
            const int rows = page_->capacity();
            const int shifted = page_->page(true);
            show(static_cast<int>(std::min<long long>(
                static_cast<long long>(index) + rows - shifted, page_->size() - 1)));
            return;
        }
        case EventKind::PageUp: {
            const int rows = page_->capacity();
            const int shifted = page_->page(false);
            show(static_cast<int>(
                std::max<long long>(static_cast<long long>(index) - rows + shifted, 0)));
            return;
        }
        case EventKind::ScrollTop:
            Refresh(RefreshMode::Top);
            return;
        case EventKind::ScrollBottom:
            Refresh(RefreshMode::Bottom);
            return;
        default:
            return;
    }
}

void BrowseList::OnThumb(int percent) {
    if (percent <= 1) {
        Refresh(RefreshMode::Top);
        return;
    }
    if (percent >= 100) {
        Refresh(RefreshMode::Bottom);
        return;
    }
    const BrowseOrder& order = current();
    const bool keyed =
        order.key != kFileOrder &&
        order.range.freeElement() <
            static_cast<int>(
                view_->table().keys[static_cast<std::size_t>(order.key)].components.size());
    if (keyed && order.thumb == ThumbStyle::Numeric) {
        // The free component's first and last values in the view, read from its ends.
        Refresh(RefreshMode::Top);
        if (page_->empty()) return;
        const Decimal first = freeValue(page_->rows().front().record).toNumber();
        Refresh(RefreshMode::Bottom);
        const Decimal last = freeValue(page_->rows().back().record).toNumber();
        locate(ExpressionValue::number(thumbNumber(first, last, percent)));
        return;
    }
    if (keyed && order.thumb != ThumbStyle::None) {
        locate(ExpressionValue::text(thumbText(order.thumb, percent)));
        return;
    }
    if (options_.fileLoaded) {
        moveHighlight(percent * (page_->size() - 1) / 100);
        return;
    }
    if (percent != 50) OnScroll(percent < 50 ? EventKind::PageUp : EventKind::PageDown);
}

// ---- the right-click menu

std::vector<PopupItem> BrowseList::PopupItems() const {
    std::vector<PopupItem> items;
    const auto add = [&](const std::string& name, const char* text) {
        if (const Control* button = control(name); button != nullptr && button->isVisible())
            items.push_back({text, button->isEnabled()});
    };
    add(controls_.insert, "&Insert");
    add(controls_.change, "&Change");
    add(controls_.remove, "&Delete");
    add(controls_.view, "&View");
    add(controls_.print, "&Print");
    const std::size_t before = items.size();
    add(controls_.query, "&Query");
    if (selecting()) add(controls_.select, "&Select");
    add(controls_.toolbox, "&Toolbox");
    if (items.size() > before && before > 0)
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(before), PopupItem{"", false});
    return items;
}

void BrowseList::OnRightClick(int row) {
    if (row >= 1 && row <= page_->size() && row != currentChoice_) {
        moveHighlight(row - 1);
        Window& window = host_->window();
        window.post(EventKind::NewSelection, list());
        // The menu opens once the window has taken in the new row, so that its items follow
        // the buttons as they stand for that row (a locked row's Change is disabled).
        Event menu;
        menu.kind = EventKind::RowMenu;
        menu.control = list().number();
        menu.row = row;
        window.post(std::move(menu));
        return;
    }
    const std::vector<PopupItem> items = PopupItems();
    const int chosen = host_->popupMenu(items);
    if (chosen < 1 || chosen > static_cast<int>(items.size())) return;
    const PopupItem& item = items[static_cast<std::size_t>(chosen - 1)];
    if (!item.enabled) return;
    const std::pair<const char*, const std::string*> byText[] = {
        {"&Insert", &controls_.insert}, {"&Change", &controls_.change},
        {"&Delete", &controls_.remove}, {"&View", &controls_.view},
        {"&Print", &controls_.print},   {"&Query", &controls_.query},
        {"&Select", &controls_.select}, {"&Toolbox", &controls_.toolbox}};
    for (const auto& [text, name] : byText)
        if (item.text == text) press(*name);
}

}  // namespace dv
