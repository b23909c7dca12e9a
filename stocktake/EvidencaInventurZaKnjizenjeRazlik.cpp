#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/FrontEnd.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/RunningPostings.h"
#include "stocktake/StocktakeSelection.h"

namespace dv {
namespace {

void warn(std::string text) {
    MessageBoxRequest box;
    box.caption = " OPOZORILO";
    box.text = std::move(text);
    box.icon = MessageIcon::Information;
    currentFrontEnd().messageBox(box);
}

// The stocktakes from which one is chosen for posting its differences. A closed stocktake, and
// one whose posting is running, is refused; the posting itself closes the stocktake when it
// completes, so the list only reads its rows again.
class EvidencaInventurZaKnjizenjeRazlik final : public StocktakeSelectionList {
  public:
    using StocktakeSelectionList::StocktakeSelectionList;

  protected:
    void ShowHighlighted() override {
        window()->control("?Knjizenje").setEnabled(highlightedNumberSet());
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control != number("?Knjizenje")) return StocktakeSelectionList::OnAccepted(event);
        choosePosting();
        return kEventDone;
    }

  private:
    void choosePosting() {
        if (!readHighlighted()) return;
        if (INVENTUR.DATUMZAKLJUCKA > 0) {
            warn(" Inventura je že zaključena, zato ne morete| ponoviti knjiženja inventurnih "
                 "razlik !|");
        } else if (postingRuns(highlightedStocktake().value())) {
            warn(" Knjiženje inventurnih razlik za inventuro št. " +
                 std::to_string(INVENTUR.StevInventure) + " že poteka !|");
        } else {
            selectStocktake();
            GLO.DATUM = INVENTUR.DATUMINVENTURE;
            GLO.PostingChairman = INVENTUR.PREDSEDNIK.str();
            GLO.PostingStarted = "N";
            (void)callProcedure(procedureByName("OknoKnjizenjeInventurnihRazlik"), ReqView);
            if (GLO.PostingStarted == "D") list().Refresh();
        }
        focusList();
    }
};

DV_PROCEDURE_CLASS(EvidencaInventurZaKnjizenjeRazlik);

}  // namespace
}  // namespace dv
