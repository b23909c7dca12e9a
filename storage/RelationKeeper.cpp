#include "storage/RelationKeeper.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "runtime/MessageTable.h"
#include "storage/FileManagerFields.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

int fieldIndex(const TableDef& table, std::string_view name) {
    const int field = table.findField(name);
    if (field < 0)
        throw std::invalid_argument("table " + std::string(table.name) + " has no field " +
                                    std::string(name));
    return field;
}

bool inUse(RelationMode mode) {
    return mode != RelationMode::None;
}

}  // namespace

void RelationKeeper::LinkTable(RelationKeeper& other, RelationMode updateMode,
                               RelationMode deleteMode, int hisKey) {
    if (hisKey < 0 || hisKey >= static_cast<int>(other.file_.table().keys.size()))
        throw std::invalid_argument("table " + std::string(other.file_.table().name) +
                                    " has no key number " + std::to_string(hisKey + 1));
    links_.push_back(Link{&other, updateMode, deleteMode, hisKey, {}});
}

void RelationKeeper::PairFields(std::string_view myField, std::string_view hisField) {
    if (links_.empty()) throw std::logic_error("PairFields before LinkTable");
    Link& link = links_.back();
    link.fields.push_back(
        {fieldIndex(file_.table(), myField), fieldIndex(link.other->file_.table(), hisField)});
}

// ---- walking the related records

// Marks a keeper whose relations the calling thread is going through, so that a cycle of
// relations is gone through once.
class RelationKeeper::Visit {
  public:
    explicit Visit(const RelationKeeper& keeper) : keeper_(keeper) {
        first_ = std::find(stack().begin(), stack().end(), &keeper_) == stack().end();
        if (first_) stack().push_back(&keeper_);
    }
    ~Visit() {
        if (first_) stack().pop_back();
    }
    Visit(const Visit&) = delete;
    Visit& operator=(const Visit&) = delete;
    bool first() const { return first_; }

  private:
    static std::vector<const RelationKeeper*>& stack() {
        thread_local std::vector<const RelationKeeper*> keepers;
        return keepers;
    }

    const RelationKeeper& keeper_;
    bool first_;
};

template <typename Each>
void RelationKeeper::forRelated(Each each) {
    for (const Link& link : links_)
        if (inUse(link.updateMode) || inUse(link.deleteMode)) each(*link.other);
}

Level RelationKeeper::OpenAll() {
    const Visit visit(*this);
    if (!visit.first()) return kLevelBenign;
    Level result = file_.Open();
    forRelated([&](RelationKeeper& other) {
        const Level opened = other.OpenAll();
        if (result == kLevelBenign) result = opened;
    });
    return result;
}

void RelationKeeper::CloseAll() {
    const Visit visit(*this);
    if (!visit.first()) return;
    file_.Close();
    forRelated([](RelationKeeper& other) { other.CloseAll(); });
}

void RelationKeeper::QuickScanMode(bool on) {
    const Visit visit(*this);
    if (!visit.first()) return;
    file_.sendToDriver(on ? "QUICKSCAN=on" : "QUICKSCAN=off");
    forRelated([on](RelationKeeper& other) { other.QuickScanMode(on); });
}

// Every table the rules may touch is opened before the transaction begins: a table of another
// data directory cannot be opened inside one.
Level RelationKeeper::enlist() {
    const Visit visit(*this);
    if (!visit.first()) return kLevelBenign;
    Level result = file_.UseFile();
    forRelated([&](RelationKeeper& other) {
        if (result == kLevelBenign) result = other.enlist();
    });
    return result;
}

bool RelationKeeper::linked(const Link& link, const void* values) const {
    const FileManager& other = link.other->file_;
    for (const Link::Pair& pair : link.fields)
        if (!sameFieldValue(file_.table(), values, pair.mine, other.table(), other.buffer(),
                            pair.his))
            return false;
    return true;
}

bool RelationKeeper::linkChanged(const Link& link, const unsigned char* old) const {
    for (const Link::Pair& pair : link.fields)
        if (!sameFieldValue(file_.table(), old, pair.mine, file_.table(), file_.buffer(),
                            pair.mine))
            return true;
    return false;
}

void RelationKeeper::setLinkingFields(const Link& link, const void* values) {
    FileManager& other = link.other->file_;
    for (const Link::Pair& pair : link.fields)
        copyFieldValue(file_.table(), values, pair.mine, other.table(), other.buffer(), pair.his);
}

// Places reading of the related table before its first record linked to `values`: the key's
// other components take the value that sorts first.
Level RelationKeeper::placeAt(const Link& link, const void* values, Failure& failure) {
    FileManager& other = link.other->file_;
    const KeyDef& key = other.table().keys[static_cast<std::size_t>(link.hisKey)];
    for (const KeyComponent& component : key.components)
        setExtremeValue(other.table(), other.buffer(), component.field, !component.ascending);
    setLinkingFields(link, values);
    if (other.driver()->set(link.hisKey) == DriverCode::Ok) return kLevelBenign;
    other.NoteError(message::RecordRetrievalError);
    failure = {&other, kLevelNotify, true};
    return kLevelNotify;
}

// Calls `perRecord` for every record of the related table linked to `values`; the related
// table's buffer and position are put back afterwards.
template <typename PerRecord>
Level RelationKeeper::walkRelated(const Link& link, const void* values, Failure& failure,
                                  PerRecord perRecord) {
    FileManager& other = link.other->file_;
    if (other.UseFile() != kLevelBenign) {
        failure = {&other, kLevelFatal, false};
        return kLevelFatal;
    }
    const SnapshotHandle saved = other.SnapshotPosition();
    Level result = placeAt(link, values, failure);
    while (result == kLevelBenign) {
        if (const Level read = other.NextSilently(); read != kLevelBenign) {
            if (other.atEndOfFile()) break;
            failure = {&other, kLevelNotify, true};
            result = kLevelNotify;
            break;
        }
        if (!linked(link, values)) break;
        if (other.SkipRecord()) continue;
        result = perRecord();
    }
    other.RestorePosition(saved);
    return result;
}

// ---- update

Level RelationKeeper::updateRecord(bool fromForm, Failure& failure) {
    const unsigned char* stored = file_.storedRecord();
    const std::vector<unsigned char> old =
        stored != nullptr
            ? std::vector<unsigned char>(stored, stored + file_.table().recordStructSize)
            : std::vector<unsigned char>();
    if (const Level updated = file_.UpdateSilently(); updated != kLevelBenign) {
        const bool changedByOther = file_.lastErrorId() == message::RecordWasNotUpdated;
        if (changedByOther && fromForm) file_.NoteError(message::RecordWasNotUpdatedOnForm);
        failure = {&file_, changedByOther ? kLevelNotify : kLevelUser, updated == kLevelNotify};
        return failure.result;
    }
    if (old.empty()) return kLevelBenign;
    for (const Link& link : links_) {
        if (!inUse(link.updateMode) || !linkChanged(link, old.data())) continue;
        if (const Level result = cascadeUpdate(link, old.data(), failure); result != kLevelBenign)
            return result;
    }
    return kLevelBenign;
}

// A change refused by a restricting relation, here or further down, puts the old values back
// into this record's linking fields; its other changes stay in the buffer.
Level RelationKeeper::cascadeUpdate(const Link& link, const unsigned char* old, Failure& failure) {
    RelationKeeper& other = *link.other;
    const Level result = walkRelated(link, old, failure, [&]() -> Level {
        switch (link.updateMode) {
            case RelationMode::Restrict:
                other.file_.NoteError(message::ReferentialIntegrityUpdateError);
                failure = {&other.file_, kLevelNotify, true};
                return kLevelNotify;
            case RelationMode::Cascade:
                setLinkingFields(link, file_.buffer());
                break;
            case RelationMode::Clear:
                for (const Link::Pair& pair : link.fields)
                    clearFieldValue(other.file_.table(), other.file_.buffer(), pair.his);
                break;
            case RelationMode::None:
                return kLevelBenign;
        }
        return other.updateRecord(false, failure);
    });
    if (result != kLevelBenign && failure.file != nullptr &&
        failure.file->lastErrorId() == message::ReferentialIntegrityUpdateError) {
        for (const Link::Pair& pair : link.fields)
            copyFieldValue(file_.table(), old, pair.mine, file_.table(), file_.buffer(), pair.mine);
    }
    return result;
}

Level RelationKeeper::UpdateWithRules(bool fromForm) {
    // A table that does not open is found unusable by enlist, which goes no further.
    TableGuard open;
    (void)open.open(*this);
    if (const Level used = enlist(); used != kLevelBenign) return kLevelFatal;
    const DriverPosition position = file_.driver()->position();
    bool framed = false;
    if (const Level framing = frame(framed); framing != kLevelBenign) return framing;
    Failure failure;
    Level result = updateRecord(fromForm, failure);
    if (framed) {
        if (result == kLevelBenign)
            result = commit(message::RecordWasNotChanged, failure);
        else
            rollback();
    }
    if (result != kLevelBenign) {
        // The buffer keeps the user's values; the driver learns the record as stored again.
        if (framed) file_.rereadKeepingBuffer(position);
        if (failure.raise) failure.file->RaiseLastError();
    }
    return result;
}

// ---- delete

Level RelationKeeper::deleteRecord(Failure& failure) {
    for (const Link& link : links_) {
        if (!inUse(link.deleteMode)) continue;
        if (const Level result = cascadeDelete(link, failure); result != kLevelBenign)
            return result;
    }
    if (file_.Remove() != kLevelBenign) {
        failure = {&file_, kLevelNotify, true};
        return kLevelNotify;
    }
    return kLevelBenign;
}

Level RelationKeeper::cascadeDelete(const Link& link, Failure& failure) {
    RelationKeeper& other = *link.other;
    return walkRelated(link, file_.buffer(), failure, [&]() -> Level {
        switch (link.deleteMode) {
            case RelationMode::Restrict:
                other.file_.NoteError(message::ReferentialIntegrityDeleteError);
                failure = {&other.file_, kLevelNotify, true};
                return kLevelNotify;
            case RelationMode::Cascade:
                return other.deleteRecord(failure);
            case RelationMode::Clear:
                for (const Link::Pair& pair : link.fields)
                    clearFieldValue(other.file_.table(), other.file_.buffer(), pair.his);
                return other.updateRecord(false, failure);
            case RelationMode::None:
                break;
        }
        return kLevelBenign;
    });
}

Level RelationKeeper::deleteOnce(const DriverPosition& position) {
    bool framed = false;
    if (const Level framing = frame(framed); framing != kLevelBenign) return framing;
    Failure failure;
    Level result = kLevelBenign;
    if (file_.driver()->reget(position) != DriverCode::Ok) {
        file_.NoteError(message::RecordWasNotDeleted);
        failure = {&file_, kLevelNotify, true};
        result = kLevelNotify;
    } else {
        file_.noteRecordRead();
        result = deleteRecord(failure);
    }
    if (framed) {
        if (result == kLevelBenign)
            result = commit(message::RecordWasNotDeleted, failure);
        else
            rollback();
    }
    if (result != kLevelBenign && failure.raise) failure.file->RaiseLastError();
    return result;
}

Level RelationKeeper::DeleteWithRules(bool ask) {
    if (ask && file_.RaiseError(message::ConfirmDelete) != kLevelBenign) return kLevelNotify;
    // A table that does not open is found unusable by enlist, which goes no further.
    TableGuard open;
    (void)open.open(*this);
    if (enlist() != kLevelBenign) return kLevelFatal;
    const DriverPosition position = file_.driver()->position();
    for (;;) {
        const Level result = deleteOnce(position);
        if (result == kLevelBenign) return result;
        if (file_.RaiseError(message::RecordDeleteError) != kLevelBenign) return result;
    }
}

// ---- transactions

Level RelationKeeper::frame(bool& framed) {
    framed = false;
    if (!framing_) return kLevelBenign;
    const DriverCode code = file_.driver()->beginTransaction();
    if (code == DriverCode::NoTransactions) return kLevelBenign;
    if (code != DriverCode::Ok) {
        file_.RaiseError(message::TransactionCancelled);
        return kLevelNotify;
    }
    framed = true;
    return kLevelBenign;
}

Level RelationKeeper::commit(std::uint16_t id, Failure& failure) {
    if (file_.driver()->commit() == DriverCode::Ok) return kLevelBenign;
    file_.NoteError(id);
    failure = {&file_, kLevelNotify, true};
    return kLevelNotify;
}

void RelationKeeper::rollback() {
    file_.driver()->rollback();
}

}  // namespace dv
