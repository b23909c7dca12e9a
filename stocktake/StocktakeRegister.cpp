#include "stocktake/StocktakeRegister.h"

#include <limits>

#include "data/RecordBuffers.h"
#include "schema/Records.h"
#include "storage/FileManager.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {

std::uint16_t lastStocktakeNumber(FileManager& stocktakes) {
    if (stocktakes.openCount() == 0 || stocktakes.UseFile() != kLevelBenign || stocktakes.driver() == nullptr) return 0;
    const SnapshotHandle saved = stocktakes.SnapshotPosition();
    TableDriver& driver = *stocktakes.driver();
    std::uint16_t last = 0;
    if (driver.setToEnd(stocktakes.primaryKey()) == DriverCode::Ok &&
        driver.previous() == DriverCode::Ok)
        last = INVENTUR.StevInventure;
    stocktakes.RestorePosition(saved);
    return last;
}

bool templateExists(std::uint16_t number) {
    FileManager& lines = tableAccess().file("INVENDET");
    TableGuard guard;
    if (guard.open(lines) != kLevelBenign || lines.UseFile() != kLevelBenign) return false;
    clearRecord(lines.table(), lines.buffer());
    INVENDET.StevInventure = number;
    TableDriver& driver = *lines.driver();
    return driver.set(lines.primaryKey()) == DriverCode::Ok && driver.next() == DriverCode::Ok &&
           INVENDET.StevInventure == number;
}

}  // namespace dv

namespace dv {

std::int32_t nextDocumentNumber(FileManager& documentLines, char saleType, std::uint16_t unit,
                                char mark, std::uint16_t transactionType) {
    if (documentLines.UseFile() != kLevelBenign || documentLines.driver() == nullptr) return 0;
    const int key = documentLines.table().findKey("ENOTASTEVILKAKLJUC");
    const std::string_view sale(&saleType, 1);
    const std::string_view documentMark(&mark, 1);
    clearRecord(documentLines.table(), documentLines.buffer());
    DOKPROME.VRSTAPRODAJE = sale;
    DOKPROME.ENOTA = unit;
    DOKPROME.OZNAKADOKUMENTA = documentMark;
    DOKPROME.VRSTAPROMETA = transactionType;
    DOKPROME.STEVILKADOKUMENTA = std::numeric_limits<std::int32_t>::max();
    DOKPROME.POSTAVKADOKUMENTA = std::numeric_limits<std::uint16_t>::max();
    TableDriver& driver = *documentLines.driver();
    if (driver.set(key) != DriverCode::Ok || driver.previous() != DriverCode::Ok) return 0;
    const bool same = DOKPROME.VRSTAPRODAJE == sale && DOKPROME.ENOTA == unit &&
                      DOKPROME.OZNAKADOKUMENTA == documentMark &&
                      DOKPROME.VRSTAPROMETA == transactionType;
    return same ? DOKPROME.STEVILKADOKUMENTA + 1 : 0;
}

ProposedNumber proposeStocktakeNumber(std::int64_t current, std::int64_t nextShortage,
                                      std::int64_t nextSurplus) {
    const std::int64_t d = current;
    const std::int64_t s = nextShortage;
    const std::int64_t v = nextSurplus;
    std::int64_t number = d;
    if (v < s && d < s)
        number = s;
    else if (s < v && d < v)
        number = v;
    else if (s == v && s > 0 && d < s)
        number = s;
    return {number, d < s || d < v};
}

}  // namespace dv
