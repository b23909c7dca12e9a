#include "stocktake/StocktakeLocks.h"

#include "framework/StationWait.h"
#include "runtime/FrontEnd.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

std::string number(const StocktakeKey& key) {
    return std::to_string(key.number);
}

// " Postaja BLAGAJNA2 ta trenutek " followed by `doing`.
std::string holderText(const LockHolder& holder, const std::string& doing) {
    return " Postaja " + holder.station + " ta trenutek " + doing;
}

// "Postaja BLAGAJNA2 ta trenutek knjiži inventurne razlike za inventuro št. 3."
std::string holderText(const LockHolder& holder, const StocktakeKey& key) {
    return holderText(holder, stationWorkWords(holder.work) + " za inventuro št. " + number(key) +
                                  ".");
}

std::string holdersText(const std::vector<LockHolder>& holders, const StocktakeKey& key) {
    std::string text;
    for (const LockHolder& holder : holders) {
        if (!text.empty()) text += "|";
        text += holderText(holder, key);
    }
    return text.empty() ? " Druga postaja ta trenutek dela z inventuro št. " + number(key) + "."
                        : text;
}

void tell(std::string text) {
    MessageBoxRequest box;
    box.caption = " OPOZORILO";
    box.text = std::move(text);
    box.icon = MessageIcon::Exclamation;
    currentFrontEnd().messageBox(box);
}

std::string failureText(const DriverError& error) {
    return " Zaklepanja inventure na strežniku ni bilo mogoče preveriti.|| " + error.text;
}

bool batchAmong(const std::vector<LockHolder>& holders) {
    for (const LockHolder& holder : holders)
        if (holder.exclusive) return true;
    return false;
}

}  // namespace

LockName stocktakeLock(const StocktakeKey& key) {
    const auto sale = static_cast<unsigned char>(key.saleType.empty() ? ' ' : key.saleType[0]);
    return {kStocktakeLock,
            (std::uint64_t{key.number} << 24) | (std::uint64_t{key.unit} << 8) | sale};
}

bool shareStocktake(StationLock& lock, const StocktakeKey& key, StationWork work,
                    std::string_view refused) {
    SqlConnection& db = tableAccess().database();
    switch (lock.tryTake(db, stocktakeLock(key), true, work)) {
        case LockOutcome::Taken:
            return true;
        case LockOutcome::Busy:
            tell(holdersText(lock.holders(), key) + "||" + std::string(refused));
            return false;
        case LockOutcome::Failed:
            tell(failureText(lock.error()));
            return false;
    }
    return false;
}

bool takeStocktakeForBatch(StationLock& lock, const StocktakeKey& key, StationWork work,
                           std::string_view layout) {
    SqlConnection& db = tableAccess().database();
    bool refused = false;
    const LockOutcome outcome = waitForLock(
        layout,
        [&](std::vector<LockHolder>& holders) {
            const LockOutcome tried = lock.tryTake(db, stocktakeLock(key), false, work);
            holders = lock.holders();
            // Another batch runs long: the user is told rather than kept waiting.
            if (tried == LockOutcome::Busy && batchAmong(holders)) {
                refused = true;
                return LockOutcome::Failed;
            }
            return tried;
        },
        [&](const std::vector<LockHolder>& holders) {
            return holdersText(holders, key) + "|| Začnem, ko bo končala.";
        });
    if (outcome == LockOutcome::Taken) return true;
    if (refused)
        tell(holdersText(lock.holders(), key) +
             "|| Na isti inventuri lahko hkrati teče le en tak postopek; poskusite znova, ko bo "
             "končan.");
    else if (outcome == LockOutcome::Failed)
        tell(failureText(lock.error()));
    return false;
}

bool takeImportTurn(StationLock& lock, const StocktakeKey& key, std::string_view layout) {
    SqlConnection& db = tableAccess().database();
    const LockOutcome outcome = waitForLock(
        layout,
        [&](std::vector<LockHolder>& holders) {
            const LockOutcome tried =
                lock.tryTake(db, {kImportLock, 0}, false, StationWork::Import);
            holders = lock.holders();
            return tried;
        },
        [&](const std::vector<LockHolder>& holders) {
            std::string text;
            for (const LockHolder& holder : holders)
                text += holderText(holder, "uvaža zajem s terminala.|");
            return text + "| Uvoz v inventuro št. " + number(key) + " se začne, ko bo končan.";
        });
    if (outcome == LockOutcome::Failed) tell(failureText(lock.error()));
    return outcome == LockOutcome::Taken;
}

bool takeNumbering(const std::string& table, std::string_view layout) {
    SqlConnection& db = tableAccess().database();
    DriverError error;
    const LockOutcome outcome = waitForLock(
        layout,
        [&](std::vector<LockHolder>& holders) {
            return tryNumberingUntilCommit(db, table, StationWork::Posting, holders, error);
        },
        [&](const std::vector<LockHolder>& holders) {
            std::string text;
            for (const LockHolder& holder : holders)
                text += holderText(holder, "piše dokument.|");
            return text + "| Številko dokumenta dobite, ko bo končala.";
        });
    if (outcome == LockOutcome::Failed) tell(failureText(error));
    return outcome == LockOutcome::Taken;
}

}  // namespace dv
