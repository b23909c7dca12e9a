#include "data/FieldAccess.h"
#include "runtime/MessageTable.h"
#include "storage/FileManager.h"
#include "storage/FileManagerFields.h"
#include "storage/FileManagerState.h"

// Auto-numbering: each auto-numbered key component gets the highest number stored under the
// key's leading values plus one, and the record is added at once, so that the number is taken
// before the user fills in the record. When the add fails (another station took the number in
// the meantime) numbering starts again; after three failures in a row the user is asked whether
// to go on trying.

namespace dv {
namespace {

constexpr int kAttemptsPerQuestion = 3;

}  // namespace

Level FileManager::AutoNumber() {
    return autoNumber(thread(), true);
}
Level FileManager::AutoNumberSilently() {
    return autoNumber(thread(), false);
}

Level FileManager::autoNumber(ThreadInfo& info, bool report) {
    if (useCheck(info) != kLevelBenign) return kLevelFatal;
    for (;;) {
        for (int attempt = 0; attempt < kAttemptsPerQuestion; ++attempt) {
            bool numbered = true;
            if (const Level result = numberKeys(info, report, numbered); result != kLevelBenign)
                return result;
            if (numbered && info.driver->add() == DriverCode::Ok) {
                info.autoIncDone = true;
                info.reserved = info.driver->position();
                remember(info);
                return kLevelBenign;
            }
        }
        note(info, message::AutoIncrementError);
        if (!report || raiseNoted(info) != kLevelBenign) return kLevelNotify;
    }
}

Level FileManager::numberKeys(ThreadInfo& info, bool report, bool& numbered) {
    for (std::size_t k = 0; k < table_.keys.size(); ++k) {
        if (table_.keys[k].autoIncComponent < 0) continue;
        if (const Level result = numberKey(info, static_cast<int>(k), report, numbered);
            result != kLevelBenign || !numbered)
            return result;
    }
    return kLevelBenign;
}

// Reads the record with the highest number: the last (first, for a descending component) of a
// key of one component; for a key of several, the last record at or before the leading values
// with the highest possible number. `numbered` is false when no number is left.
Level FileManager::numberKey(ThreadInfo& info, int key, bool report, bool& numbered) {
    const KeyDef& def = table_.keys[static_cast<std::size_t>(key)];
    const auto autoInc = static_cast<std::size_t>(def.autoIncComponent);
    const KeyComponent& component = def.components[autoInc];
    const FieldDef& field = table_.fields[component.field];
    TableDriver& driver = *info.driver;
    const BufferCopy saved(table_, buffer());
    const bool single = def.components.size() == 1;
    DriverCode code;
    if (single) {
        code = component.ascending ? driver.setToEnd(key) : driver.setToStart(key);
    } else {
        // The components after the numbered one take the value that places reading beyond
        // every record with the highest number.
        setExtremeValue(table_, buffer(), component.field, true);
        for (std::size_t c = autoInc + 1; c < def.components.size(); ++c) {
            const KeyComponent& later = def.components[c];
            setExtremeValue(table_, buffer(), later.field, later.ascending == component.ascending);
        }
        code = driver.set(key);
    }
    if (code == DriverCode::Ok) code = component.ascending ? driver.previous() : driver.next();
    std::int64_t number = 1;
    if (code == DriverCode::Ok) {
        bool sameLeading = true;
        for (std::size_t c = 0; c < autoInc; ++c)
            sameLeading =
                sameLeading && sameFieldValue(table_, buffer(), def.components[c].field, table_,
                                              saved.data(), def.components[c].field);
        if (sameLeading) number = readInteger(buffer(), field) + 1;
    } else if (code != DriverCode::NoMoreRecords) {
        saved.restoreInto(buffer());
        note(info, message::RecordRetrievalError);
        if (report) raiseNoted(info);
        return kLevelNotify;
    }
    saved.restoreInto(buffer());
    if (number > highestNumber(field)) {
        setLastFileError("0",
                         "The key " + std::string(def.name) + " has no number left after " +
                             std::to_string(highestNumber(field)) + ".",
                         fileName());
        numbered = false;
        return kLevelBenign;
    }
    writeInteger(buffer(), field, number);
    return kLevelBenign;
}

}  // namespace dv
