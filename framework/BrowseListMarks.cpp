// Marking the rows of a list that allows multiple selection.

#include "framework/BrowseList.h"

namespace dv {

bool BrowseList::marksRows() const {
    return list_ != nullptr && list_->declared().multiple;
}

bool BrowseList::isMarked(int choice) const {
    if (choice < 1 || choice > page_->size()) return false;
    return marked_.contains(page_->rows()[static_cast<std::size_t>(choice - 1)].row);
}

void BrowseList::ToggleMark(int choice) {
    if (!marksRows() || choice < 1 || choice > page_->size()) return;
    const BrowseRow& row = page_->rows()[static_cast<std::size_t>(choice - 1)];
    if (marked_.erase(row.row) == 0) marked_.emplace(row.row, row.record);
    showMarks();
}

// Reads the whole view once; the page is read again afterwards, since reading moved the view
// and passed every record through the buffers.
void BrowseList::MarkAll() {
    if (!marksRows()) return;
    FileManager& primary = view_->primary();
    const std::size_t size = primary.table().recordStructSize;
    const auto* buffer = static_cast<const unsigned char*>(primary.buffer());
    view_->SetToStart();
    while (view_->Next() == ViewRead::Record)
        marked_.insert_or_assign(view_->PositionRow(),
                                 std::vector<unsigned char>(buffer, buffer + size));
    Refresh(RefreshMode::Current);
}

void BrowseList::ClearMarks() {
    marked_.clear();
    showMarks();
}

// Shows which rows of the page are marked, and keeps the marked records as the page read them
// last.
void BrowseList::showMarks() {
    if (!marksRows()) return;
    std::vector<bool> marks;
    marks.reserve(page_->rows().size());
    for (const BrowseRow& row : page_->rows()) {
        auto found = marked_.find(row.row);
        if (found != marked_.end()) found->second = row.record;
        marks.push_back(found != marked_.end());
    }
    list().setMarks(std::move(marks));
}

}  // namespace dv
