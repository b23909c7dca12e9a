#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeSelection.h"

namespace dv {
namespace {

// The stocktakes, of which one's shortage or surplus document is printed at once, on the list's
// thread. Whether the stocktake was posted is not checked: without a document the report is
// empty.
class EvidencaInventurZaIzpisDokumentov final : public StocktakeSelectionList {
  public:
    using StocktakeSelectionList::StocktakeSelectionList;

  protected:
    EventResult OnAccepted(const Event& event) override {
        const char* report = event.control == number("?DokumentManjkov")  ? "IzpisInvManjkovVele"
                             : event.control == number("?DokumentViskov") ? "IzpisInvViskovVele"
                                                                           : nullptr;
        if (report == nullptr) return StocktakeSelectionList::OnAccepted(event);
        if (readHighlighted()) {
            selectStocktake();
            GLO.DATUM = INVENTUR.DATUMINVENTURE;
            GLO.StevilkaDokumenta = INVENTUR.DOKUMENTVISKOV;
            focusList();
            (void)callProcedure(procedureByName(report), ReqView);
        }
        return kEventDone;
    }
};

DV_PROCEDURE_CLASS(EvidencaInventurZaIzpisDokumentov);

}  // namespace
}  // namespace dv
