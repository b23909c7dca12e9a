#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/FrontEnd.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeSelection.h"

namespace dv {
namespace {

// The stocktakes, of which one's differences are printed; for a closed one the user confirms
// the reprint first.
class EvidencaInventurZaIzpisRazlik final : public StocktakeSelectionList {
  public:
    using StocktakeSelectionList::StocktakeSelectionList;

  protected:
    void ShowHighlighted() override {
        window()->control("?IzpisRazlik").setEnabled(highlightedStocktake().has_value());
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control != number("?IzpisRazlik")) return StocktakeSelectionList::OnAccepted(event);
        if (readHighlighted() && (INVENTUR.DATUMZAKLJUCKA <= 0 || confirmReprint())) {
            selectStocktake();
            GLO.DATUM = INVENTUR.DATUMINVENTURE;
            (void)callProcedure(procedureByName("OknoIzpisInventurnihRazlik"), ReqView);
        }
        focusList();
        return kEventDone;
    }

  private:
    static bool confirmReprint() {
        MessageBoxRequest box;
        box.caption = " OPOZORILO";
        box.text = " Inventura je že zaključena.| Ali res želite ponovni izpis inventurnih razlik ?";
        box.icon = MessageIcon::Question;
        box.buttons = kButtonYes | kButtonNo;
        box.defaultButton = kButtonNo;
        return currentFrontEnd().messageBox(box) == kButtonYes;
    }
};

DV_PROCEDURE_CLASS(EvidencaInventurZaIzpisRazlik);

}  // namespace
}  // namespace dv
