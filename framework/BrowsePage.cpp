#include "framework/BrowsePage.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace dv {
namespace {

constexpr int kLargestReadAhead = 1024;

}  // namespace

BrowsePage::BrowsePage(ViewManager& view, CellMaker cells)
    : view_(view), cells_(std::move(cells)) {}

int BrowsePage::capacity() const {
    return capacity_ > 0 ? capacity_ : INT_MAX / 2;
}

BrowseRow BrowsePage::row() {
    BrowseRow row;
    row.row = view_.PositionRow();
    const auto* record = static_cast<const unsigned char*>(view_.primary().buffer());
    row.record.assign(record, record + view_.table().recordStructSize);
    row.cells = cells_();
    return row;
}

BrowsePage::Reading BrowsePage::read(bool forward, int count) {
    Reading reading;
    view_.SetReadAhead(std::min(count, kLargestReadAhead));
    while (static_cast<int>(reading.rows.size()) < count) {
        const ViewRead result = forward ? view_.Next() : view_.Previous();
        if (result == ViewRead::Record) {
            reading.rows.push_back(row());
            continue;
        }
        if (result == ViewRead::Failed) failed_ = true;
        reading.reachedEnd = true;
        break;
    }
    return reading;
}

int BrowsePage::fill(const std::function<void(ViewManager&)>& place, int screenRow) {
    failed_ = false;
    const int rows = capacity();
    place(view_);
    Reading after = read(true, rows);
    if (after.rows.empty()) {
        // Nothing at or after the place: the last records of the view.
        place(view_);
        Reading before = read(false, rows);
        rows_.assign(std::make_move_iterator(before.rows.rbegin()),
                     std::make_move_iterator(before.rows.rend()));
        atTop_ = before.reachedEnd;
        atBottom_ = true;
        return rows_.empty() ? -1 : size() - 1;
    }
    const int wanted =
        std::max(std::clamp(screenRow, 0, rows - 1), rows - static_cast<int>(after.rows.size()));
    Reading before;
    if (wanted > 0) {
        const BrowseRow& first = after.rows.front();
        view_.SetTo(view_.PositionOf(first.record.data(), first.row), false);
        before = read(false, wanted);
    }
    rows_.assign(std::make_move_iterator(before.rows.rbegin()),
                 std::make_move_iterator(before.rows.rend()));
    const int target = size();
    const int room = rows - target;
    const int kept = std::min(room, static_cast<int>(after.rows.size()));
    std::move(after.rows.begin(), after.rows.begin() + kept, std::back_inserter(rows_));
    atTop_ = wanted > 0 && before.reachedEnd;
    atBottom_ = after.reachedEnd && kept == static_cast<int>(after.rows.size());
    return target;
}

int BrowsePage::fillFromStart() {
    const int target = fill([](ViewManager& view) { view.SetToStart(); }, 0);
    atTop_ = true;
    return target;
}

int BrowsePage::fillFromEnd() {
    failed_ = false;
    view_.SetToEnd();
    Reading before = read(false, capacity());
    rows_.assign(std::make_move_iterator(before.rows.rbegin()),
                 std::make_move_iterator(before.rows.rend()));
    atTop_ = before.reachedEnd;
    atBottom_ = true;
    return rows_.empty() ? -1 : size() - 1;
}

bool BrowsePage::scroll(bool down) {
    return move(down, 1).read > 0;
}

int BrowsePage::page(bool down) {
    return move(down, capacity()).shifted;
}

// Reads up to `count` rows past one end of the page and drops what no longer fits at the other.
BrowsePage::Move BrowsePage::move(bool down, int count) {
    failed_ = false;
    Move result;
    if (rows_.empty()) return result;
    view_.SetTo(position(down ? size() - 1 : 0), false);
    Reading more = read(down, count);
    result.read = static_cast<int>(more.rows.size());
    if (down) {
        atBottom_ = more.reachedEnd;
        std::move(more.rows.begin(), more.rows.end(), std::back_inserter(rows_));
        result.shifted = std::max(size() - capacity(), 0);
        if (result.shifted > 0) {
            rows_.erase(rows_.begin(), rows_.begin() + result.shifted);
            atTop_ = false;
        }
    } else {
        atTop_ = more.reachedEnd;
        rows_.insert(rows_.begin(), std::make_move_iterator(more.rows.rbegin()),
                     std::make_move_iterator(more.rows.rend()));
        result.shifted = result.read;
        if (size() > capacity()) {
            rows_.resize(static_cast<std::size_t>(capacity()));
            atBottom_ = false;
        }
    }
    return result;
}

DriverPosition BrowsePage::position(int index) const {
    const BrowseRow& row = rows_.at(static_cast<std::size_t>(index));
    return view_.PositionOf(row.record.data(), row.row);
}

void BrowsePage::remove(int index) {
    if (index >= 0 && index < size()) rows_.erase(rows_.begin() + index);
}

}  // namespace dv
