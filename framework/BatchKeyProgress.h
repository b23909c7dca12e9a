#pragma once

#include <optional>

#include "framework/BatchRecordSource.h"

namespace dv {

// Progress by key value: where the key value of the record read lies between the first and
// last values of the pass, in percent. Numbers are interpolated linearly; texts by their first
// four letters in Slovenian alphabetical order (letter case ignored, "č" after "c"), which is
// what a list's scroll thumb shows too.
class KeyProgressEstimator {
  public:
    explicit KeyProgressEstimator(KeyValueRange range);

    // 0..100; nothing when the range gives no measure (first and last equal, or of different
    // kinds than `value`).
    std::optional<int> percent(const KeyValue& value) const;

  private:
    KeyValueRange range_;
};

}  // namespace dv
