#include "framework/CodeListReport.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/SortedCodeList.h"

namespace dv {

// The printout of post codes, by name or (GLO:SORT 2) by country and number.
DV_PROCEDURE(IzpisSifrantPoste) {
    return printSortedCodeList(procedure, "SFPTT", {"NAZIVKLJUC", "Po nazivu"},
                               {"STEVILKAKLJUC", "Po številki"});
}

}  // namespace dv
