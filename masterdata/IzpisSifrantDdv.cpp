#include "framework/CodeListReport.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/SortedCodeList.h"

namespace dv {

// The printout of tax rates, by the input or (GLO:SORT 2) the output tax account.
DV_PROCEDURE(IzpisSifrantDdv) {
    return printSortedCodeList(procedure, "SFDDV", {"KontoVhodniKljuc", "Po kontu vhodnega davka"},
                               {"KontoIzhodniKljuc", "Po kontu izhodnega davka"});
}

}  // namespace dv
