#include "framework/CodeListReport.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/SortedCodeList.h"

namespace dv {

// The printout of salespersons, by name or (GLO:SORT 2) by code.
DV_PROCEDURE(IzpisSifrantReferentov) {
    return printSortedCodeList(procedure, "SFPRODAJ", {"IMEKLJUC", "Po imenu"},
                               {"SIFRAKLJUC", "Po šifri"});
}

}  // namespace dv
