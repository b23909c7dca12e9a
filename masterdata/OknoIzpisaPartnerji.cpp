#include "framework/ListSelection.h"
#include "framework/PrintOptionsWindow.h"
#include "framework/ProcedureDefinition.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The print options of the list of partners, whose post-code bounds are also chosen from the
// list of post codes.
class OknoIzpisaPartnerji final : public PrintOptionsWindow {
  public:
    using PrintOptionsWindow::PrintOptionsWindow;

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?IzberiOdPoste")) return choosePostCode(GLO.ODPOSTE);
        if (event.control == number("?IzberiDoPoste")) return choosePostCode(GLO.DOPOSTE);
        return PrintOptionsWindow::OnAccepted(event);
    }

  private:
    EventResult choosePostCode(FixedText<20>& bound) {
        TableGuard guard;
        if (guard.open(tableAccess().file("SFPTT")) == kLevelBenign &&
            selectFromList("BrowseSFPTT")) {
            bound = SFPTT.PostnaStevilka.str();
            Refresh();
        }
        return kEventDone;
    }
};

DV_PROCEDURE_CLASS(OknoIzpisaPartnerji);

}  // namespace
}  // namespace dv
