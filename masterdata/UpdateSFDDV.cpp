#include "framework/FormProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/FrontEnd.h"
#include "schema/Records.h"

namespace dv {
namespace {

// The form of one tax rate. A tax code carries either the ordinary rate or the reverse-charge
// rate, never both: with both set the form is not saved and the focus goes back to the rates.
class UpdateSFDDV final : public FormProcedure {
  public:
    using FormProcedure::FormProcedure;

    EventResult OnSelected(const Event& event) override {
        if (event.control == number("?OK") && bothRates()) {
            refuse();
            warned_ = true;
            return kEventDone;
        }
        return FormProcedure::OnSelected(event);
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?OK") && request() != ReqView && request() != ReqDelete &&
            bothRates()) {
            if (!warned_) refuse();
            warned_ = false;
            return kEventDone;
        }
        warned_ = false;
        return FormProcedure::OnAccepted(event);
    }

  private:
    static bool bothRates() {
        return !SFDDV.STOPNJADDV.value().isZero() && !SFDDV.STOPNJADDVOBR.value().isZero();
    }

    void refuse() {
        MessageBoxRequest box;
        box.caption = " OPOZORILO";
        box.text =
            " Vnesete lahko samo osnovno davčno stopnjo ali pa samo obrnjeno davčno stopnjo !|";
        box.icon = MessageIcon::Exclamation;
        currentFrontEnd().messageBox(box);
        window()->select(window()->control("?SFDDV:STOPNJADDV"));
    }

    // The refusal was shown as the focus reached the button; its press that follows is refused
    // without showing it again.
    bool warned_ = false;
};

DV_PROCEDURE_CLASS(UpdateSFDDV);

}  // namespace
}  // namespace dv
