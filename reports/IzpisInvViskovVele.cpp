#include "framework/ProcedureDefinition.h"
#include "reports/StocktakeDocument.h"

namespace dv {

// The surplus document of the selected stocktake.
DV_PROCEDURE(IzpisInvViskovVele) {
    return printStocktakeDocument(procedure, "DokumentViskov", StocktakeDocumentKind::Surplus);
}

}  // namespace dv
