#include "storage/ViewDriverReader.h"

#include <utility>

namespace dv {

ViewDriverReader::ViewDriverReader(FileManager& file, const TableSchema& layout,
                                   ViewAcceptor accept)
    : file_(file), layout_(layout), accept_(std::move(accept)) {}

void ViewDriverReader::place(int key, const ViewPlace& place) {
    current_ = DriverPosition{key, 0, {}};
    skip_ = 0;
    TableDriver* driver = file_.driver();
    if (driver == nullptr) return;
    switch (place.kind) {
        case ViewPlace::Kind::Start:
            driver->setToStart(key);
            return;
        case ViewPlace::Kind::End:
            driver->setToEnd(key);
            return;
        case ViewPlace::Kind::At: {
            // The row id stands last when the values are a whole record's position.
            DriverPosition position{key, 0, place.values};
            if (position.values.size() == layout_.order(key).size()) {
                position.row = std::get<std::int64_t>(position.values.back());
                position.values.pop_back();
            }
            driver->reset(position);
            if (!place.inclusive) skip_ = position.row;
            return;
        }
    }
}

ViewRead ViewDriverReader::step(bool forward) {
    for (;;) {
        const Level result = forward ? file_.Next() : file_.Previous();
        if (result != kLevelBenign) return file_.atEndOfFile() ? ViewRead::End : ViewRead::Failed;
        const std::int64_t skip = std::exchange(skip_, 0);
        if (skip != 0 && file_.driver()->position().row == skip) continue;
        if (!accept_()) continue;
        current_ = file_.driver()->position();
        return ViewRead::Record;
    }
}

void ViewDriverReader::setQuickScan(bool on) {
    file_.sendToDriver(on ? "QUICKSCAN=on" : "QUICKSCAN=off");
}

}  // namespace dv
