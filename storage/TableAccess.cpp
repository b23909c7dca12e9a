#include "storage/TableAccess.h"

#include <atomic>
#include <stdexcept>

#include "data/Dictionary.h"
#include "runtime/ErrorState.h"
#include "storage/DelimitedText.h"
#include "storage/SqliteDatabase.h"
#include "storage/SqliteTable.h"
#include "storage/TableRegister.h"
#include "storage/TextFileTable.h"

namespace dv {
namespace {

std::atomic<TableAccess*>& installed() {
    static std::atomic<TableAccess*> access{nullptr};
    return access;
}

std::size_t positionOf(const TableDef* table) {
    return static_cast<std::size_t>(table - dictionary().data());
}

}  // namespace

TableAccess::TableAccess(MessageRaiser* errors, DatabaseOptions options)
    : TableAccess(errors, std::make_unique<SqliteDatabase>(std::move(options))) {}

TableAccess::TableAccess(MessageRaiser* errors, std::unique_ptr<SqlConnection> connection)
    : database_(std::move(connection)), sqlite_(dynamic_cast<SqliteDatabase*>(database_.get())) {
    registerTableVersions();
    for (const TableDef& table : dictionary())
        files_.push_back(std::make_unique<FileManager>(
            table,
            [this](const TableDef& t, const std::string& name) { return makeDriver(t, name); },
            errors));
    keepers_.resize(files_.size());
    linkRelations();
    previous_ = installed().exchange(this);
}

TableAccess::~TableAccess() {
    TableAccess* self = this;
    installed().compare_exchange_strong(self, previous_);
}

void TableAccess::linkRelations() {
    auto keeperOf = [this](std::string_view name) -> RelationKeeper& {
        const std::size_t position = positionOf(&file(name).table());
        if (!keepers_[position])
            keepers_[position] = std::make_unique<RelationKeeper>(*files_[position]);
        return *keepers_[position];
    };
    for (const Relation& relation : dv::relations()) {
        RelationKeeper& parent = keeperOf(relation.parent);
        RelationKeeper& child = keeperOf(relation.child);
        const int key = child.file().table().findKey(relation.childKey);
        parent.LinkTable(child, relation.updateMode, relation.deleteMode, key);
        for (const LinkingField& field : relation.fields)
            parent.PairFields(field.parent, field.child);
    }
}

FileManager* TableAccess::findFile(std::string_view table) {
    const TableDef* def = findTable(table);
    return def != nullptr ? files_[positionOf(def)].get() : nullptr;
}

FileManager& TableAccess::file(std::string_view table) {
    if (FileManager* found = findFile(table)) return *found;
    throw std::invalid_argument("unknown table " + std::string(table));
}

RelationKeeper* TableAccess::relations(std::string_view table) {
    const TableDef* def = findTable(table);
    return def != nullptr ? keepers_[positionOf(def)].get() : nullptr;
}

std::unique_ptr<TableDriver> TableAccess::makeDriver(const TableDef& table,
                                                     const std::string& fileName) {
    // The capture file of the terminal is the one table kept as text (it has no version).
    if (table.file != nullptr && table.file->version < 0)
        return std::make_unique<TextFileTable>(table, fileName,
                                               parseTextFileOptions(kCaptureFileOptions));
    return std::make_unique<SqliteTable>(*database_, table, fileName);
}

DriverCode TableAccess::finish(DriverCode code, const DriverError& error) {
    if (code == DriverCode::Ok) return code;
    ErrorState state;
    state.code = static_cast<std::int32_t>(error.code);
    state.text = driverCodeText(error.code);
    state.fileErrorCode = std::to_string(error.nativeCode);
    state.fileErrorText = error.text;
    setLastError(state);
    return code;
}

DriverCode TableAccess::beginTransaction() {
    DriverError error;
    return finish(database_->begin(error), error);
}

DriverCode TableAccess::commit() {
    DriverError error;
    return finish(database_->commit(error), error);
}

DriverCode TableAccess::rollback() {
    DriverError error;
    return finish(database_->rollback(error), error);
}

TableAccess& tableAccess() {
    if (TableAccess* access = installed().load()) return *access;
    throw std::logic_error("the table access has not been set up");
}

}  // namespace dv
