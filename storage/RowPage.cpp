#include "storage/RowPage.h"

namespace dv {

void RowPage::start(int order, bool forward, std::uint64_t changeCount, std::size_t recordSize) {
    active_ = true;
    order_ = order;
    forward_ = forward;
    changeCount_ = changeCount;
    recordSize_ = recordSize;
    next_ = 0;
    rows_.clear();
}

void RowPage::clear() {
    active_ = false;
    rows_.clear();
    next_ = 0;
}

unsigned char* RowPage::append(std::int64_t row, std::int64_t version) {
    rows_.push_back(Row{row, version});
    const std::size_t needed = rows_.size() * recordSize_;
    if (images_.size() < needed) images_.resize(needed);
    return images_.data() + (rows_.size() - 1) * recordSize_;
}

RowPage::Entry RowPage::take() {
    const Row& row = rows_[next_];
    const unsigned char* image = images_.data() + next_ * recordSize_;
    ++next_;
    return Entry{row.row, row.version, image};
}

bool RowPage::holds(std::int64_t row) const {
    for (std::size_t i = next_; i < rows_.size(); ++i)
        if (rows_[i].row == row) return true;
    return false;
}

}  // namespace dv
