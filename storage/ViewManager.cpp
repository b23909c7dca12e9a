#include "storage/ViewManager.h"

#include <stdexcept>
#include <utility>

#include "data/RecordBuffers.h"
#include "runtime/ErrorState.h"
#include "runtime/ExpressionError.h"
#include "runtime/MessageTable.h"
#include "storage/SqlRecord.h"
#include "storage/SqliteTable.h"
#include "storage/ViewDriverReader.h"
#include "storage/ViewFields.h"
#include "storage/ViewSqlReader.h"

namespace dv {
namespace {

// The runtime's error code for a filter it cannot use.
constexpr std::int32_t kFilterRefused = 801;

}  // namespace

ViewManager::ViewManager(FileManager& primary, RelationKeeper* keeper)
    : primary_(primary), keeper_(keeper), layout_(primary.table()) {}

ViewManager::~ViewManager() {
    if (opened_) Close();
}

void ViewManager::AddJoin(Join join) {
    joins_.push_back(std::move(join));
}

void ViewManager::ClearJoined() {
    for (const Join& join : joins_) clearRecord(join.file->table(), join.file->buffer());
}

// ---- opening

Level ViewManager::Open() {
    if (opened_) return kLevelBenign;
    const Level result = keeper_ != nullptr ? keeper_->OpenAll() : primary_.Open();
    if (result != kLevelBenign) return result;
    for (std::size_t j = 0; j < joins_.size(); ++j) {
        if (const Level joined = joins_[j].file->Open(); joined != kLevelBenign) {
            while (j-- > 0) joins_[j].file->Close();
            keeper_ != nullptr ? keeper_->CloseAll() : static_cast<void>(primary_.Close());
            return joined;
        }
    }
    opened_ = true;
    reader_.reset();
    sqlReader_ = nullptr;
    return kLevelBenign;
}

void ViewManager::Close() {
    if (!opened_) return;
    reader_.reset();
    sqlReader_ = nullptr;
    for (const Join& join : joins_) join.file->Close();
    if (keeper_ != nullptr)
        keeper_->CloseAll();
    else
        primary_.Close();
    opened_ = false;
}

// The reader is made at the first read after the view was opened, when the table is physically
// open and its driver known: the database's own reader for a database table, else the driver.
// Reading a table that no one opened raises the table layer's "File Usage Error".
bool ViewManager::ready() {
    if (reader_) return true;
    if (primary_.UseFile() != kLevelBenign) return false;
    auto* table = dynamic_cast<SqliteTable*>(primary_.driver());
    if (table != nullptr && table->sql() != nullptr) {
        auto reader = std::make_unique<ViewSqlReader>(
            primary_, table->database(), layout_, table->sql()->schema(),
            [this] { return accept(sqlReader_->conditionApplied()); });
        sqlReader_ = reader.get();
        sqlReader_->setFilter(filter_.get());
        reader_ = std::move(reader);
    } else {
        reader_ =
            std::make_unique<ViewDriverReader>(primary_, layout_, [this] { return accept(false); });
    }
    reader_->setReadAhead(readAhead_);
    reader_->setQuickScan(quickScan_);
    reader_->place(key_, place_);
    return true;
}

bool ViewManager::accept(bool sqlApplied) {
    ReadJoins();
    if (!filter_) return true;
    return sqlApplied ? filter_->residualMatches() : filter_->matches();
}

void ViewManager::ReadJoins() {
    const TableDef& table = primary_.table();
    for (const Join& join : joins_) {
        const TableDef& joined = join.file->table();
        for (const Join::Pair& pair : join.fields)
            writeFieldValue(joined, pair.joinedField, join.file->buffer(),
                            readFieldValue(table, pair.primaryField, primary_.buffer()));
        join.file->FetchOrClear(join.key);
    }
}

// ---- order and filter

void ViewManager::SetOrder(int key, bool descending) {
    key_ = key;
    descending_ = descending;
    SetToStart();
}

int ViewManager::components() const {
    return static_cast<int>(layout_.keyComponents(key_));
}

const std::string& ViewManager::filter() const {
    static const std::string none;
    return filter_ ? filter_->text() : none;
}

Level ViewManager::SetFilter(std::string_view text) {
    if (filter_ && filter_->text() == text) return kLevelBenign;
    std::unique_ptr<ViewFilter> filter;
    if (text.size() > kMaxViewFilterLength)
        return refuseFilter("The filter is longer than " + std::to_string(kMaxViewFilterLength) +
                            " characters.");
    if (!text.empty()) {
        try {
            filter = std::make_unique<ViewFilter>(text, layout_);
        } catch (const ExpressionError& error) {
            return refuseFilter(std::string("The filter cannot be used: ") + error.what() + ".");
        } catch (const std::invalid_argument& error) {
            return refuseFilter(std::string("The filter cannot be used: ") + error.what() + ".");
        }
    }
    filter_ = std::move(filter);
    if (sqlReader_ != nullptr) sqlReader_->setFilter(filter_.get());
    Flush();
    return kLevelBenign;
}

Level ViewManager::refuseFilter(const std::string& reason) {
    filter_.reset();
    if (sqlReader_ != nullptr) sqlReader_->setFilter(nullptr);
    Flush();
    setLastError(kFilterRefused, reason, primary_.fileName());
    MessageRaiser& errors = primary_.errors();
    errors.quoteFile(primary_.fileName());
    errors.captureErrorState();
    return errors.raise(message::ViewOpenError);
}

// ---- reading

void ViewManager::place(ViewPlace place) {
    place_ = std::move(place);
    if (reader_) reader_->place(key_, place_);
}

void ViewManager::SetToStart() {
    place(ViewPlace{descending_ ? ViewPlace::Kind::End : ViewPlace::Kind::Start, {}});
}

void ViewManager::SetToEnd() {
    place(ViewPlace{descending_ ? ViewPlace::Kind::Start : ViewPlace::Kind::End, {}});
}

void ViewManager::SetToBuffer(int count) {
    std::vector<KeyValue> values = keyValues(layout_, key_, primary_.buffer());
    if (count >= 0 && static_cast<std::size_t>(count) < values.size())
        values.resize(static_cast<std::size_t>(count));
    place(ViewPlace{ViewPlace::Kind::At, std::move(values)});
}

void ViewManager::SetTo(const DriverPosition& position, bool inclusive) {
    if (position.row == 0 && position.values.empty()) {
        SetToStart();
        return;
    }
    std::vector<KeyValue> values = position.values;
    if (position.row != 0) values.emplace_back(position.row);
    place(ViewPlace{ViewPlace::Kind::At, std::move(values), inclusive});
}

ViewRead ViewManager::step(bool forward) {
    if (!ready()) return ViewRead::Failed;
    return reader_->step(forward != descending_);
}

ViewRead ViewManager::Next() {
    return step(true);
}

ViewRead ViewManager::Previous() {
    return step(false);
}

const DriverPosition& ViewManager::Position() const {
    static const DriverPosition none;
    return reader_ ? reader_->position() : none;
}

std::int64_t ViewManager::PositionRow() const {
    return reader_ ? reader_->row() : 0;
}

DriverPosition ViewManager::PositionOf(const void* record, std::int64_t row) const {
    return DriverPosition{key_, row, keyValues(layout_, key_, record)};
}

DriverPosition ViewManager::PositionOfBuffer() const {
    const TableDriver* driver = primary_.driver();
    return PositionOf(primary_.buffer(), driver != nullptr ? driver->position().row : 0);
}

Level ViewManager::Reget(const DriverPosition& position) {
    if (!ready()) return kLevelFatal;
    TableDriver& driver = *primary_.driver();
    const DriverCode code = driver.reget(position);
    if (code == DriverCode::NoMoreRecords) return kLevelNotify;
    if (code != DriverCode::Ok) {
        primary_.NoteError(message::RecordRetrievalError);
        return primary_.RaiseLastError();
    }
    primary_.noteRecordRead();
    ReadJoins();
    return kLevelBenign;
}

void ViewManager::SetReadAhead(int rows) {
    readAhead_ = rows;
    if (reader_) reader_->setReadAhead(rows);
}

void ViewManager::SetQuickScan(bool on) {
    quickScan_ = on;
    if (reader_) reader_->setQuickScan(on);
}

void ViewManager::Flush() {
    if (reader_) reader_->flush();
}

}  // namespace dv
