#include "framework/FormProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/SubgroupLabels.h"

namespace dv {
namespace {

// The form of one subgroup (or supplier) of an item group. Its action texts are its own, and
// the prompt of the name says what the second level holds.
class UpdateSFPODGRU final : public FormProcedure {
  public:
    using FormProcedure::FormProcedure;

    Level SetUp() override {
        if (const Level base = FormProcedure::SetUp(); base != kLevelBenign) return base;
        if (request() == ReqView) window()->setCaption("View Record");
        if (request() == ReqInsert) window()->setCaption("Zapis bo dodan");
        if (request() == ReqChange) window()->setCaption("Zapis bo spremenjen");
        return kLevelBenign;
    }

  protected:
    void RegisterRequired() override {
        const std::string heading(subgroupHeading());
        window()->control("?NazivPodskupine").setText(heading);
        required().Register("?SFPODGRU:Naziv", true, "SFPODGRU:Naziv", "", "", heading);
    }
};

DV_PROCEDURE_CLASS(UpdateSFPODGRU);

}  // namespace
}  // namespace dv
