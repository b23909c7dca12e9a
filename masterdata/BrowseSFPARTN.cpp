#include <cstdint>
#include <cstring>

#include "framework/BrowseProcedure.h"
#include "framework/DetailList.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/PartnerDetails.h"
#include "runtime/FrontEnd.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/ViewFields.h"

namespace dv {
namespace {

// The register of business partners. Under the list: the highlighted partner's details, its
// contact persons and its bank accounts (with their own buttons), and the company the register
// belongs to.
class BrowseSFPARTN final : public BrowseProcedure {
  public:
    explicit BrowseSFPARTN(std::string name)
        : BrowseProcedure(std::move(name)),
          persons_(*this,
                   {"?Osebe", "SFPAROS", "SIFRAKLJUC", highlightedCode(), "UpdateSFPAROS", {}}),
          accounts_(*this, {"?Racuni", "SFPARRA", "SIFRAKLJUC", highlightedCode(), "UpdateSFPARRA",
                            detailButtons("?DodajRacun", "?SpremeniRacun", "?BrisiRacun")}) {}

    Level SetUp() override {
        if (const Level base = BrowseProcedure::SetUp(); base != kLevelBenign) return base;
        if (persons_.open() != kLevelBenign || accounts_.open() != kLevelBenign) return kLevelFatal;
        AddComponent(persons_);
        AddComponent(accounts_);
        window()->control("?NazivFirme").setText(GLO.NAZIVFIRME.str());
        followPartner();
        return kLevelBenign;
    }

    void TearDown() override {
        persons_.close();
        accounts_.close();
        BrowseProcedure::TearDown();
    }

    EventResult OnAccepted(const Event& event) override {
        // The partner printouts are called by name: a printout the program lacks says so.
        if (event.control == number("?Izpis")) {
            (void)callProcedure(procedureByName("OknoIzpisaPartnerji"), Request::None);
            AfterCall();
            return kEventDone;
        }
        if (event.control == number("?NasloviA4")) {
            (void)callProcedure(procedureByName("IzpisNaslovaKupcaA4"), Request::None);
            AfterCall();
            return kEventDone;
        }
        if (event.control == number("?Fakture")) {
            explainInvoices();
            return kEventDone;
        }
        return BrowseProcedure::OnAccepted(event);
    }

  protected:
    void ShowHighlighted() override {
        showPartnerDetails(*window(), highlightedRecord());
        if (code_ != highlightedPartner()) followPartner();
    }

  private:
    // The code of the highlighted partner, asked whenever the detail lists follow it.
    std::function<ExpressionValue()> highlightedCode() {
        return [this] { return ExpressionValue::number(Decimal(code_)); };
    }

    std::uint32_t highlightedPartner() const {
        const void* record = highlightedRecord();
        if (record == nullptr) return 0;
        const TableDef& table = file().table();
        return static_cast<std::uint32_t>(
            readFieldValue(table, table.findField("Sifra"), record).toNumber().unitsAt(0));
    }

    void followPartner() {
        code_ = highlightedPartner();
        persons_.follow();
        accounts_.follow();
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

    std::uint32_t code_ = 0;
    DetailList persons_;
    DetailList accounts_;
};

DV_PROCEDURE_CLASS(BrowseSFPARTN);

}  // namespace
}  // namespace dv
