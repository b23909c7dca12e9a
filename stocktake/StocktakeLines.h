#pragma once

#include <cstdint>

#include "framework/BatchRecordSource.h"
#include "stocktake/StocktakePosting.h"

namespace dv {

class FileManager;

// The template rows (INVENDET) of one stocktake in item-code order (INVENDET:STEVSIFRAKLJUC):
// the record source of the posting's pass and of its checks. The table must have been opened by
// the caller; each row read lands in the INVENDET buffer.
class StocktakeLines final : public RecordSource {
  public:
    StocktakeLines(FileManager& lines, StocktakeKey key);

    Level restart() override;
    ReadResult next() override;
    // The rows counted by the caller (SetCount), 0 until then.
    std::int64_t records() override { return count_; }
    void setQuickScan(bool on) override;
    void SetCount(std::int64_t rows) { count_ = rows; }

  private:
    bool belongs() const;

    FileManager& lines_;
    StocktakeKey key_;
    int order_;
    std::int64_t count_ = 0;
    bool done_ = false;
};

}  // namespace dv
