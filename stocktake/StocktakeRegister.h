#pragma once

#include <cstdint>

namespace dv {

class FileManager;

// The number of the last stocktake in the order of INVENTUR:STEVILKAKLJUC, 0 when there is
// none (also while the table is not open on this thread). The table's buffer and position are
// as they were afterwards.
std::uint16_t lastStocktakeNumber(FileManager& stocktakes);

// Whether a template row of stocktake `number` exists, whatever its unit and sale type: the
// first INVENDET row at or after the number in the order of INVENDET:STEVSIFRAKLJUC carries it.
// The table is opened for the look.
bool templateExists(std::uint16_t number);

}  // namespace dv

namespace dv {

// The next number of a stock document of the sale type, unit, document mark and transaction
// type: the highest document number among its lines in DOKPROME plus one, 0 when it has none.
// The table must be open.
std::int32_t nextDocumentNumber(FileManager& documentLines, char saleType, std::uint16_t unit,
                                char mark, std::uint16_t transactionType);

// The number a new stocktake takes against the next shortage (35) and surplus (15) document
// numbers of its unit and sale type: raised to the larger one when it lies below it, as the
// posting gives both documents the stocktake's own number.
struct ProposedNumber {
    std::int64_t number;
    bool raised;  // the notice is shown: the number lay below one of the document numbers
};
ProposedNumber proposeStocktakeNumber(std::int64_t current, std::int64_t nextShortage,
                                      std::int64_t nextSurplus);

}  // namespace dv
