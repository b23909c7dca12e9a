#include "framework/FormProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/FrontEnd.h"
#include "schema/Records.h"

namespace dv {
namespace {

// A locked type (SFVRPROM:ZAPECENO = 1) is never changed or deleted, whoever calls the form: a
// change or delete request is refused with a warning and the type is shown for viewing only.
void refuseLockedType() {
    const bool touchesLocked =
        (CallerRequest == ReqChange || CallerRequest == ReqDelete) && SFVRPROM.ZAPECENO == 1;
    if (!touchesLocked) return;
    MessageBoxRequest box;
    box.caption = " OPOZORILO";
    box.text =
        "Vrsta prometa je zaklenjena in je ni mogoče spreminjati ali brisati.|"
        "Odprta je samo za vpogled.";
    box.icon = MessageIcon::Exclamation;
    currentFrontEnd().messageBox(box);
    CallerRequest = ReqView;
}

// The form of one transaction type, called by the list of transaction types.
DV_PROCEDURE(UpdatesfVRPROM) {
    refuseLockedType();
    FormProcedure form{std::string(procedure)};
    return form.Execute();
}

}  // namespace
}  // namespace dv
