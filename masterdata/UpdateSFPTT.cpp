#include "data/RecordBuffers.h"
#include "framework/FormProcedure.h"
#include "framework/ListSelection.h"
#include "framework/ProcedureDefinition.h"
#include "framework/RecordFetch.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The form of one post code. The country is typed as its mark or chosen from the countries; the
// form shows the country's name beside it.
class UpdateSFPTT final : public FormProcedure {
  public:
    explicit UpdateSFPTT(std::string name)
        : FormProcedure(std::move(name)), countries_(tableAccess().file("SFDRZAVE")) {}

    Level PrepareRecord() override {
        if (const Level prepared = FormProcedure::PrepareRecord(); prepared != kLevelBenign)
            return prepared;
        if (const Level opened = tables_.open(countries_); opened != kLevelBenign) return opened;
        showCountry();
        return kLevelBenign;
    }

    void TearDown() override {
        FormProcedure::TearDown();
        tables_.release();
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?SFPTT:OZNAKADRZAVE")) {
            showCountry();
        } else if (event.control == number("?IzberiDrzavo")) {
            SFDrz.OznakaDrzave = SFPTT.OZNAKADRZAVE.str();
            if (selectFromList("BrowseSFDRZAVE")) SFPTT.OZNAKADRZAVE = SFDrz.OznakaDrzave.str();
            showCountry();
        } else {
            return FormProcedure::OnAccepted(event);
        }
        Refresh();
        return kEventDone;
    }

  private:
    void showCountry() {
        clearRecord(countries_.table(), countries_.buffer());
        SFDrz.OznakaDrzave = SFPTT.OZNAKADRZAVE.str();
        if (!SFPTT.OZNAKADRZAVE.str().empty())
            (void)fetchRecord(countries_, countries_.table().findKey("STEVILKAKLJUC"));
        if (window() != nullptr)
            window()->control("?SFDrz:NazivDrzave").setText(SFDrz.NazivDrzave.str());
    }

    FileManager& countries_;
    TableGuard tables_;
};

DV_PROCEDURE_CLASS(UpdateSFPTT);

}  // namespace
}  // namespace dv
