#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeSelection.h"

namespace dv {
namespace {

constexpr std::string_view kPrint = "?IzpisZalog";

// The stocktakes, of which one's stock after the count is printed. The highlighted stocktake
// becomes the program-wide one (with its date and surplus document as working values) when the
// button takes the focus, and again when it is pressed, so that a press without the focus
// prints the stocktake the user sees.
class EvidencaInventurZaIzpisZalog final : public StocktakeSelectionList {
  public:
    using StocktakeSelectionList::StocktakeSelectionList;

  protected:
    void ShowHighlighted() override {
        window()->control(kPrint).setEnabled(highlightedStocktake().has_value());
    }

    EventResult OnSelected(const Event& event) override {
        if (event.control == number(kPrint)) takeHighlighted();
        return StocktakeSelectionList::OnSelected(event);
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control != number(kPrint)) return StocktakeSelectionList::OnAccepted(event);
        if (takeHighlighted()) (void)callProcedure(procedureByName("IzpisZalogPoInv"), Request::None);
        focusList();
        return kEventDone;
    }

  private:
    bool takeHighlighted() {
        GLO.NAZIVIZPISA = "STANJE ZALOG PO KONČANI INVENTURI";
        if (!readHighlighted()) return false;
        selectStocktake();
        GLO.DATUM = INVENTUR.DATUMINVENTURE;
        GLO.StevilkaDokumenta = INVENTUR.DOKUMENTVISKOV;
        return true;
    }
};

DV_PROCEDURE_CLASS(EvidencaInventurZaIzpisZalog);

}  // namespace
}  // namespace dv
