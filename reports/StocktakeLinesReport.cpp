#include "reports/StocktakeLinesReport.h"

#include "data/RecordBuffers.h"
#include "framework/FormVariable.h"
#include "framework/RecordFetch.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {

FileManager& stocktakeLines() {
    return tableAccess().file("INVENDET");
}
FileManager& stocktakeGroups() {
    return tableAccess().file("SFGRUPE");
}

bool openStocktakeLineTables(TableGuard& tables) {
    FormVariable::require("GLO:DANES").write(ExpressionValue::number(Decimal(today())));
    FileManager& units = tableAccess().file("SFENOTE");
    if (tables.open(stocktakeLines()) != kLevelBenign ||
        tables.open(stocktakeGroups()) != kLevelBenign || tables.open(units) != kLevelBenign)
        return false;
    clearRecord(units.table(), units.buffer());
    SFENOTE.Enota = static_cast<std::uint16_t>(GLO.ENOTAINV);
    (void)fetchRecord(units, units.primaryKey());
    return true;
}

}  // namespace dv
