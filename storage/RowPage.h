#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dv {

// Records read ahead in one direction of one order, handed out one by one. The page is valid
// while the change count of its table stays the one it was read at.
class RowPage {
  public:
    struct Entry {
        std::int64_t row;
        std::int64_t version;
        const unsigned char* image;
    };

    void start(int order, bool forward, std::uint64_t changeCount, std::size_t recordSize);
    void clear();
    // Room for the record image of one more row.
    unsigned char* append(std::int64_t row, std::int64_t version);

    std::size_t size() const { return rows_.size(); }
    bool forward() const { return forward_; }
    bool usable(int order, bool forward, std::uint64_t changeCount) const {
        return active_ && order_ == order && forward_ == forward && changeCount_ == changeCount &&
               next_ < rows_.size();
    }
    // True when every row of a page of this order and direction was handed out.
    bool finished(int order, bool forward) const {
        return active_ && order_ == order && forward_ == forward && next_ == rows_.size();
    }
    bool fresh(std::uint64_t changeCount) const { return active_ && changeCount_ == changeCount; }
    Entry take();
    // True when `row` is among the rows not handed out yet.
    bool holds(std::int64_t row) const;
    // The table changed through the reader itself in a way that leaves the rows ahead as they are.
    void keep(std::uint64_t changeCount) { changeCount_ = changeCount; }

  private:
    struct Row {
        std::int64_t row;
        std::int64_t version;
    };

    bool active_ = false;
    int order_ = 0;
    bool forward_ = true;
    std::uint64_t changeCount_ = 0;
    std::size_t recordSize_ = 0;
    std::size_t next_ = 0;
    std::vector<Row> rows_;
    std::vector<unsigned char> images_;
};

}  // namespace dv
