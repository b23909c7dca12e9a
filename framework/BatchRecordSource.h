#pragma once

#include <cstdint>
#include <optional>

#include "runtime/MessageRaiser.h"
#include "storage/TableDriver.h"

namespace dv {

// What reading the next record of a pass gave.
enum class ReadResult : std::uint8_t {
    Record,  // a record is in the buffer
    End,     // no more records
    Failed,  // the read failed; the failure has been reported
};

// The first and last values of the first key component over the records of a pass.
struct KeyValueRange {
    KeyValue first;
    KeyValue last;
};

// The records a batch pass walks, in their order: the view of a report or process (a primary
// table with its sort key, range and filter). Reading fills the table's record buffer.
class RecordSource {
  public:
    virtual ~RecordSource() = default;

    // Goes back to before the first record. 0, or the level result of a failure (reported).
    virtual Level restart() = 0;
    virtual ReadResult next() = 0;

    // How many records a pass reads, 0 when that cannot be told (a filtered view, a driver that
    // cannot count).
    virtual std::int64_t records() = 0;
    // The size of the records in bytes and the bytes read so far, 0 where not known.
    virtual std::int64_t bytes() { return 0; }
    virtual std::int64_t bytesRead() { return 0; }

    // For progress by key value: the first and last values of the order's first component and
    // that value of the record read last; nothing when the order has no key.
    virtual std::optional<KeyValueRange> keyRange() { return std::nullopt; }
    virtual std::optional<KeyValue> currentKeyValue() { return std::nullopt; }

    // Asks for fast sequential reading (read-ahead) for the length of the pass.
    virtual void setQuickScan(bool) {}
};

}  // namespace dv
