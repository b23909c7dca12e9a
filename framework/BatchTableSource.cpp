#include "framework/BatchTableSource.h"

#include "runtime/MessageTable.h"

namespace dv {

TableRecordSource::TableRecordSource(FileManager& file, int key) : file_(file), key_(key) {}

Level TableRecordSource::restart() {
    if (file_.UseFile() != kLevelBenign) return kLevelFatal;
    if (file_.driver()->setToStart(key_) != DriverCode::Ok) {
        file_.NoteError(message::RecordRetrievalError);
        return file_.RaiseLastError();
    }
    return kLevelBenign;
}

ReadResult TableRecordSource::next() {
    if (file_.NextSilently() == kLevelBenign) return ReadResult::Record;
    if (file_.atEndOfFile()) return ReadResult::End;
    file_.RaiseLastError();
    return ReadResult::Failed;
}

std::int64_t TableRecordSource::records() {
    TableDriver* driver = file_.driver();
    const std::int64_t count = driver ? driver->records() : 0;
    return count > 0 ? count : 0;
}

std::int64_t TableRecordSource::bytes() {
    TableDriver* driver = file_.driver();
    return driver ? driver->bytes() : 0;
}

std::int64_t TableRecordSource::bytesRead() {
    TableDriver* driver = file_.driver();
    return driver ? driver->bytesRead() : 0;
}

std::optional<KeyValue> TableRecordSource::firstComponent() const {
    TableDriver* driver = file_.driver();
    if (driver == nullptr) return std::nullopt;
    const DriverPosition position = driver->position();
    if (position.row == 0 || position.values.empty()) return std::nullopt;
    return position.values.front();
}

std::optional<KeyValueRange> TableRecordSource::keyRange() {
    TableDriver* driver = file_.driver();
    if (key_ == kFileOrder || driver == nullptr) return std::nullopt;
    std::optional<KeyValue> first;
    std::optional<KeyValue> last;
    if (driver->setToStart(key_) == DriverCode::Ok && driver->next() == DriverCode::Ok)
        first = firstComponent();
    if (driver->setToEnd(key_) == DriverCode::Ok && driver->previous() == DriverCode::Ok)
        last = firstComponent();
    driver->setToStart(key_);
    if (!first || !last) return std::nullopt;
    return KeyValueRange{*first, *last};
}

std::optional<KeyValue> TableRecordSource::currentKeyValue() {
    return key_ == kFileOrder ? std::nullopt : firstComponent();
}

void TableRecordSource::setQuickScan(bool on) {
    file_.sendToDriver(on ? "QUICKSCAN=on" : "QUICKSCAN=off");
}

}  // namespace dv
