#include <string>

#include "data/RecordBuffers.h"
#include "framework/FormProcedure.h"
#include "framework/ListSelection.h"
#include "framework/ProcedureDefinition.h"
#include "framework/RecordFetch.h"
#include "masterdata/FormCaption.h"
#include "runtime/FrontEnd.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The BIC of the public payments administration, which every budget user's account carries.
constexpr std::string_view kBudgetUserBic = "UJPLSI2DICL";
// Where the register of budget users is published: a page of the program's own site that
// leads to it.
constexpr std::string_view kBudgetUserRegister = "https://www.dideroviv.si/proracunski-uporabniki";

// The bank code an account number names: its digits written as 15 with leading zeros, the
// first two of them; -1 when the number has more than 15 digits or none.
int bankCodeOf(const std::string& account) {
    std::string digits;
    for (char c : account)
        if (c >= '0' && c <= '9') digits += c;
    if (digits.empty() || digits.size() > 15) return -1;
    digits = std::string(15 - digits.size(), '0') + digits;
    return (digits[0] - '0') * 10 + (digits[1] - '0');
}

// The form of one bank account of a partner: the bank is looked up from the account number or
// its BIC code, and a budget user's account is expected to carry the BIC of the public payments
// administration.
class UpdateSFPARRA final : public FormProcedure {
  public:
    explicit UpdateSFPARRA(std::string name)
        : FormProcedure(std::move(name)), banks_(tableAccess().file("SFBANBIC")) {}

    Level PrepareRecord() override {
        if (const Level prepared = FormProcedure::PrepareRecord(); prepared != kLevelBenign)
            return prepared;
        return tables_.open(banks_);
    }

    void AfterOpen() override {
        captionByRequest(*window(), request(), {"Vpogled", "DODAJANJE ...", "SPREMINJANJE ..."});
        FormProcedure::AfterOpen();
    }

    void TearDown() override {
        FormProcedure::TearDown();
        tables_.release();
    }

    EventResult OnSelected(const Event& event) override {
        if (event.control == number("?OK")) checkBudgetUser();
        return FormProcedure::OnSelected(event);
    }

    EventResult OnAccepted(const Event& event) override {
        const int n = event.control;
        if (n == number("?SFPARRA:StevilkaRacuna")) {
            accountAccepted();
        } else if (n == number("?SFPARRA:BIC")) {
            bicAccepted();
        } else if (n == number("?IzberiBic")) {
            if (selectFromList("BrowseSFBANBIC")) takeBank();
        } else if (n == number("?RegisterPU")) {
            openRegister();
        } else {
            return FormProcedure::OnAccepted(event);
        }
        Refresh();
        return kEventDone;
    }

  private:
    // The bank from the account number, unless the account is a budget user's.
    void accountAccepted() {
        if (SFPARRA.BIC == kBudgetUserBic) return;
        const int code = bankCodeOf(SFPARRA.StevilkaRacuna.str());
        if (code >= 0) {
            clearRecord(banks_.table(), banks_.buffer());
            SFBANBIC.SifraBanke = static_cast<std::int16_t>(code);
            if (fetchRecord(banks_, banks_.table().findKey("SIFRABANKEKLJUC"))) takeBank();
        }
        // Typed by the user, the number leads on to the confirmation; accepted with the rest
        // of the form as it is being saved, moving the focus would stop the save.
        if (!window()->acceptingAll()) window()->select(window()->control("?OK"));
    }

    void bicAccepted() {
        const std::string bic = SFPARRA.BIC.str();
        if (bic.empty()) return;
        clearRecord(banks_.table(), banks_.buffer());
        SFBANBIC.BICBANKE = bic;
        if (fetchRecord(banks_, banks_.table().findKey("BICKLJUC"))) return;
        // The list opens on the nearest BIC.
        SFBANBIC.BICBANKE = bic;
        if (selectFromList("BrowseSFBANBIC")) {
            takeBank();
            return;
        }
        SFPARRA.NazivBanke = "";
        window()->select(window()->control("?SFPARRA:BIC"));
    }

    void takeBank() {
        SFPARRA.BIC = SFBANBIC.BICBANKE.str();
        SFPARRA.NazivBanke = SFBANBIC.NazivBanke.str();
    }

    void checkBudgetUser() {
        const bool wrongBic = SFPARRA.SIFRAPU != 0 && SFPARRA.BIC != kBudgetUserBic;
        window()->control("?OpombaPU").setHidden(!wrongBic);
        if (!wrongBic) return;
        MessageBoxRequest box;
        box.caption = " OPOZORILO";
        box.text = " Verjetno niste izbrali prave BIC kode proračunskega uporabnika !";
        box.icon = MessageIcon::Exclamation;
        currentFrontEnd().messageBox(box);
    }

    static void openRegister() {
        if (currentFrontEnd().openAddress(std::string(kBudgetUserRegister))) return;
        MessageBoxRequest box;
        box.caption = " OBVESTILO";
        box.text =
            " Spletne strani " + std::string(kBudgetUserRegister) + " ni bilo mogoče odpreti.";
        box.icon = MessageIcon::Information;
        currentFrontEnd().messageBox(box);
    }

    FileManager& banks_;
    TableGuard tables_;
};

DV_PROCEDURE_CLASS(UpdateSFPARRA);

}  // namespace
}  // namespace dv
