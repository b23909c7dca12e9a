#include "framework/ViewRecordSource.h"

#include <algorithm>

namespace dv {

Level ViewRecordSource::restart() {
    prefix_.clear();
    if (components_ > 0) {
        const DriverPosition start = view_.PositionOf(view_.primary().buffer(), 0);
        const auto count =
            std::min(start.values.size(), static_cast<std::size_t>(components_));
        prefix_.assign(start.values.begin(), start.values.begin() + static_cast<long>(count));
        view_.SetToBuffer(components_);
    } else {
        view_.SetToStart();
    }
    return kLevelBenign;
}

ReadResult ViewRecordSource::next() {
    switch (view_.Next()) {
        case ViewRead::Record:
            return inRange() ? ReadResult::Record : ReadResult::End;
        case ViewRead::End:
            return ReadResult::End;
        case ViewRead::Failed:
            break;
    }
    return ReadResult::Failed;
}

bool ViewRecordSource::inRange() const {
    if (prefix_.empty()) return true;
    const DriverPosition& position = view_.Position();
    for (std::size_t i = 0; i < prefix_.size(); ++i)
        if (i >= position.values.size() || position.values[i] != prefix_[i]) return false;
    return true;
}

}  // namespace dv
