#include "storage/FileManager.h"

#include <cstring>

#include "data/FieldAccess.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "storage/FileManagerFields.h"
#include "storage/FileManagerState.h"

namespace dv {

FileManager::FileManager(const TableDef& table, DriverFactory factory, MessageRaiser* errors)
    : table_(table), factory_(std::move(factory)), errors_(errors) {
    for (std::size_t k = 0; k < table.keys.size(); ++k) {
        if (table.keys[k].autoIncComponent >= 0) hasAutoInc_ = true;
        if (table.keys[k].primary && primaryKey_ < 0) primaryKey_ = static_cast<int>(k);
    }
}

FileManager::~FileManager() = default;

std::string FileManager::fileName() const {
    return tableFileName(table_.name);
}

MessageRaiser& FileManager::errors() const {
    return errors_ != nullptr ? *errors_ : currentMessageRaiser();
}

// ---- per-thread state

FileManager::ThreadInfo* FileManager::findThread() const {
    std::lock_guard lock(mutex_);
    const auto found = threads_.find(std::this_thread::get_id());
    return found == threads_.end() ? nullptr : found->second.get();
}

FileManager::ThreadInfo& FileManager::thread() const {
    std::lock_guard lock(mutex_);
    auto& info = threads_[std::this_thread::get_id()];
    if (!info) info = std::make_unique<ThreadInfo>();
    return *info;
}

int FileManager::openCount() const {
    const ThreadInfo* info = findThread();
    return info != nullptr ? info->opened : 0;
}

bool FileManager::isPhysicallyOpen() const {
    const ThreadInfo* info = findThread();
    return info != nullptr && info->used;
}

bool FileManager::atEndOfFile() const {
    const ThreadInfo* info = findThread();
    return info != nullptr && info->atEof;
}

bool FileManager::autoNumberDone() const {
    const ThreadInfo* info = findThread();
    return info != nullptr && info->autoIncDone;
}

std::uint16_t FileManager::lastErrorId() const {
    const ThreadInfo* info = findThread();
    return info != nullptr ? info->lastError : 0;
}

TableDriver* FileManager::driver() const {
    const ThreadInfo* info = findThread();
    return info != nullptr && info->used ? info->driver.get() : nullptr;
}

const unsigned char* FileManager::storedRecord() const {
    const ThreadInfo* info = findThread();
    return info != nullptr && !info->stored.empty() ? info->stored.data() : nullptr;
}

void FileManager::remember(ThreadInfo& info) {
    const auto* record = static_cast<const unsigned char*>(buffer());
    info.stored.assign(record, record + table_.recordStructSize);
}

void FileManager::noteRecordRead() {
    remember(thread());
}

void FileManager::rereadKeepingBuffer(const DriverPosition& position) {
    ThreadInfo& info = thread();
    if (!info.used || position.row == 0) return;
    const BufferCopy kept(table_, buffer());
    if (info.driver->reget(position) == DriverCode::Ok) remember(info);
    kept.restoreInto(buffer());
}

void FileManager::sendToDriver(std::string_view command) {
    ThreadInfo& info = thread();
    const std::size_t equals = command.find('=');
    const std::string_view name = command.substr(0, equals);
    std::erase_if(info.commands,
                  [&](const std::string& sent) { return sent.substr(0, sent.find('=')) == name; });
    info.commands.emplace_back(command);
    if (info.used) info.driver->send(command);
}

void FileManager::FieldDefaults() {
    applyFieldDefaults(table_, buffer());
}

// ---- errors

void FileManager::note(ThreadInfo& info, std::uint16_t id, std::string_view field,
                       std::string_view text, bool withText) {
    errors().captureErrorState();
    info.lastError = id;
    info.lastErrorState = lastError();
    info.lastErrorField = field;
    info.lastErrorText = text;
    info.lastErrorHasText = withText;
}

Level FileManager::raiseNoted(ThreadInfo& info) {
    setLastError(info.lastErrorState);
    MessageRaiser& raiser = errors();
    raiser.quoteFile(fileName());
    if (!info.lastErrorField.empty()) raiser.quoteField(info.lastErrorField);
    if (info.lastErrorHasText) return raiser.raiseWithText(info.lastError, info.lastErrorText);
    return raiser.raise(info.lastError);
}

void FileManager::NoteError(std::uint16_t id) {
    note(thread(), id);
}

Level FileManager::RaiseError(std::uint16_t id) {
    ThreadInfo& info = thread();
    note(info, id);
    return raiseNoted(info);
}

Level FileManager::RaiseWithText(std::uint16_t id, std::string_view text) {
    ThreadInfo& info = thread();
    note(info, id, {}, text, true);
    return raiseNoted(info);
}

Level FileManager::RaiseLastError() {
    ThreadInfo& info = thread();
    if (info.lastError == 0) return kLevelBenign;
    return raiseNoted(info);
}

}  // namespace dv
