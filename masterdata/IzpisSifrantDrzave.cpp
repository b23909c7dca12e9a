#include "framework/CodeListReport.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/SortedCodeList.h"

namespace dv {

// The printout of countries, by name or (GLO:SORT 2) by mark.
DV_PROCEDURE(IzpisSifrantDrzave) {
    return printSortedCodeList(procedure, "SFDRZAVE", {"NAZIVKLJUC", "Po nazivu"},
                               {"STEVILKAKLJUC", "Po oznaki"});
}

}  // namespace dv
