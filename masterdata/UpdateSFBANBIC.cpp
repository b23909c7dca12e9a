#include "framework/FormProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/FormCaption.h"

namespace dv {
namespace {

// The form of one bank's BIC code, with the action texts of the suite's bank lists.
class UpdateSFBANBIC final : public FormProcedure {
  public:
    using FormProcedure::FormProcedure;

    void AfterOpen() override {
        captionByRequest(
            *window(), request(),
            {"Vpogled podatkov", "Adding a SFBANBIC Record", "Changing a SFBANBIC Record"});
        FormProcedure::AfterOpen();
    }
};

DV_PROCEDURE_CLASS(UpdateSFBANBIC);

}  // namespace
}  // namespace dv
