#pragma once

#include "framework/BatchRecordSource.h"
#include "storage/FileManager.h"

namespace dv {

// The records of one table in the order of one of its keys (or in file order): the record
// source of a pass over a whole table, until views with ranges and filters take over. The
// table must have been opened by the procedure; reading opens it physically when it was opened
// lazily.
class TableRecordSource final : public RecordSource {
  public:
    explicit TableRecordSource(FileManager& file, int key = kFileOrder);

    Level restart() override;
    ReadResult next() override;
    std::int64_t records() override;
    std::int64_t bytes() override;
    std::int64_t bytesRead() override;
    // Reads the first and the last record of the order; the pass then starts again from the
    // first (call it before the pass, as Restart does).
    std::optional<KeyValueRange> keyRange() override;
    std::optional<KeyValue> currentKeyValue() override;
    void setQuickScan(bool on) override;

  private:
    std::optional<KeyValue> firstComponent() const;

    FileManager& file_;
    int key_;
};

}  // namespace dv
