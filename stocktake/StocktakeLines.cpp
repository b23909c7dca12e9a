#include "stocktake/StocktakeLines.h"

#include "data/RecordBuffers.h"
#include "runtime/MessageTable.h"
#include "schema/Records.h"
#include "storage/FileManager.h"

namespace dv {

StocktakeLines::StocktakeLines(FileManager& lines, StocktakeKey key)
    : lines_(lines), key_(std::move(key)), order_(lines.table().findKey("STEVSIFRAKLJUC")) {}

// Places reading before the first row of the stocktake: the key's first three components set,
// the item code left blank, which sorts before every code.
Level StocktakeLines::restart() {
    done_ = false;
    if (lines_.UseFile() != kLevelBenign) return kLevelFatal;
    clearRecord(lines_.table(), lines_.buffer());
    INVENDET.StevInventure = key_.number;
    INVENDET.Enota = key_.unit;
    INVENDET.VrstaProdaje = key_.saleType;
    if (lines_.driver()->set(order_) != DriverCode::Ok) {
        lines_.NoteError(message::RecordRetrievalError);
        return lines_.RaiseLastError();
    }
    return kLevelBenign;
}

ReadResult StocktakeLines::next() {
    if (done_) return ReadResult::End;
    if (lines_.NextSilently() != kLevelBenign) {
        if (lines_.atEndOfFile()) return ReadResult::End;
        lines_.RaiseLastError();
        return ReadResult::Failed;
    }
    if (belongs()) return ReadResult::Record;
    done_ = true;
    return ReadResult::End;
}

void StocktakeLines::setQuickScan(bool on) {
    lines_.sendToDriver(on ? "QUICKSCAN=on" : "QUICKSCAN=off");
}

bool StocktakeLines::belongs() const {
    return INVENDET.StevInventure == key_.number && INVENDET.Enota == key_.unit &&
           INVENDET.VrstaProdaje == key_.saleType;
}

}  // namespace dv
