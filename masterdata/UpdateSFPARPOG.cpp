#include "framework/FormProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/FrontEnd.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

// The contract terms of one partner, for goods and for services. The one row of the partner is
// written by the form itself, so that a failed write says which table it could not write; the
// form then stays open with the values as typed.
class UpdateSFPARPOG final : public FormProcedure {
  public:
    using FormProcedure::FormProcedure;

    EventResult OnCompleted(const Event& event) override {
        const bool inserting = request() == ReqInsert;
        if (!inserting && request() != ReqChange) return FormProcedure::OnCompleted(event);
        if (!inserting && !recordChanged()) {
            Finish(RespCancelled);
            return kEventDone;
        }
        FileManager& contracts = tableAccess().file("SFPARPOG");
        if ((inserting ? contracts.InsertSilently() : contracts.UpdateSilently()) == kLevelBenign) {
            Finish(RespCompleted);
            return kEventDone;
        }
        MessageBoxRequest box;
        box.caption = "Opozorilo";
        box.text = inserting ? "Dodajanje v tabelo SFPARTPOG ni bilo uspešno"
                             : "Spreminjanje v tabeli SFPARTPOG ni bilo uspešno";
        box.icon = MessageIcon::Exclamation;
        currentFrontEnd().messageBox(box);
        selectFirstField();
        return kEventDone;
    }
};

DV_PROCEDURE_CLASS(UpdateSFPARPOG);

}  // namespace
}  // namespace dv
