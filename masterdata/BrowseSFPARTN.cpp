#include "framework/BrowseProcedure.h"
#include "framework/DetailList.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/PartnerDetails.h"
#include "runtime/FrontEnd.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

// The register of business partners. Under the list: the highlighted partner's details, its
// contact persons and its bank accounts (with their own buttons), and the company the register
// belongs to.
class BrowseSFPARTN final : public BrowseProcedure {
  public:
    explicit BrowseSFPARTN(std::string name)
        : BrowseProcedure(std::move(name)),
          persons_(*this, "?Osebe", partnerLink()),
          accounts_(*this, "?Racuni", partnerLink()) {
        accounts_.SetButtons(detailButtons("?DodajRacun", "?SpremeniRacun", "?BrisiRacun"));
        followHighlightedPartner(persons_, *this);
        followHighlightedPartner(accounts_, *this);
    }

    Level SetUp() override {
        if (const Level base = BrowseProcedure::SetUp(); base != kLevelBenign) return base;
        window()->control("?NazivFirme").setText(GLO.NAZIVFIRME.str());
        if (const Level started = persons_.Start(); started != kLevelBenign) return started;
        return accounts_.Start();
    }

    EventResult OnAccepted(const Event& event) override {
        // The partner printouts are called by name: a printout the program lacks says so.
        if (event.control == number("?Izpis")) return callPrintout("OknoIzpisaPartnerji");
        if (event.control == number("?NasloviA4")) return callPrintout("IzpisNaslovaKupcaA4");
        if (event.control == number("?Fakture")) {
            explainInvoices();
            return kEventDone;
        }
        return BrowseProcedure::OnAccepted(event);
    }

  protected:
    void ShowHighlighted() override { showPartnerDetails(*window(), highlightedRecord()); }

  private:
    EventResult callPrintout(std::string procedure) {
        (void)callProcedure(procedureByName(std::move(procedure)), Request::None);
        AfterCall();
        return kEventDone;
    }

    // The invoices of a partner belong to the invoicing program of the suite.
    static void explainInvoices() {
        MessageBoxRequest box;
        box.caption = " INFORMACIJA";
        box.text =
            "Pregled faktur partnerja je del programa za fakturiranje.|"
            "V programu DIDEROVIV ga ni.";
        box.icon = MessageIcon::Information;
        currentFrontEnd().messageBox(box);
    }

    DetailList persons_;
    DetailList accounts_;
};

DV_PROCEDURE_CLASS(BrowseSFPARTN);

}  // namespace
}  // namespace dv
