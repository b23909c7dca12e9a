#include "framework/ProcedureDefinition.h"
#include "reports/StocktakeDocument.h"

namespace dv {

// The shortage document of the selected stocktake.
DV_PROCEDURE(IzpisInvManjkovVele) {
    return printStocktakeDocument(procedure, "DokumentManjkov", StocktakeDocumentKind::Shortage);
}

}  // namespace dv
