#include "framework/FormProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/FormCaption.h"

namespace dv {
namespace {

// The form of one contact person of a partner, with its own action texts.
class UpdateSFPAROS final : public FormProcedure {
  public:
    using FormProcedure::FormProcedure;

    void AfterOpen() override {
        captionByRequest(*window(), request(), {"View Record", "Dodajanje", "Spreminjanje"});
        FormProcedure::AfterOpen();
    }
};

DV_PROCEDURE_CLASS(UpdateSFPAROS);

}  // namespace
}  // namespace dv
