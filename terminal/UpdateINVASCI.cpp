#include "framework/FormProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/FormCaption.h"

namespace dv {
namespace {

// The form of one line of the capture file. The code must be given; the quantity stays text
// until the import reads it.
class UpdateINVASCI final : public FormProcedure {
  public:
    using FormProcedure::FormProcedure;

    void AfterOpen() override {
        captionByRequest(*window(), request(),
                         {"View Record", "Adding a INVASCI Record", "Changing a INVASCI Record"});
        FormProcedure::AfterOpen();
    }

  protected:
    void RegisterRequired() override {
        required().Register("INVASCI:EANKODA", true, "INVASCI:EANkoda", "EAN koda", "EAN koda",
                            "EAN koda");
    }
};

DV_PROCEDURE_CLASS(UpdateINVASCI);

}  // namespace
}  // namespace dv
