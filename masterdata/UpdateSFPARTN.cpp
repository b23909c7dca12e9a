#include <cstdint>
#include <optional>
#include <string>

#include "data/RecordBuffers.h"
#include "framework/DetailList.h"
#include "framework/ErrorReporter.h"
#include "framework/FormProcedure.h"
#include "framework/ListSelection.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "framework/RecordFetch.h"
#include "masterdata/PartnerDetails.h"
#include "masterdata/PartnerMirror.h"
#include "masterdata/TaxNumber.h"
#include "runtime/FrontEnd.h"
#include "runtime/LocalVariables.h"
#include "runtime/MessageTable.h"
#include "runtime/ProcedureCall.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

void warn(std::string caption, std::string text, MessageButtons buttons = kButtonOk) {
    MessageBoxRequest box;
    box.caption = std::move(caption);
    box.text = std::move(text);
    box.icon = MessageIcon::Exclamation;
    box.buttons = buttons;
    box.defaultButton = buttons;
    currentFrontEnd().messageBox(box);
}

// Supplier codes run to 999 and customer codes from 10 001 on, when item subgroups stand for
// suppliers.
bool codeInGap(std::uint32_t code) {
    return GLO.PODGRUPADOBAVITELJ == 1 && code > 999 && code < 10001;
}

// The form of one business partner on six tabs, with its bank accounts and contact persons, its
// contracts, the check of its tax number and, when the suite keeps a financial partner register,
// the mirror of every change into it.
class UpdateSFPARTN final : public FormProcedure {
  public:
    explicit UpdateSFPARTN(std::string name)
        : FormProcedure(std::move(name)),
          accounts_(*this, "?Racuni", partnerLink()),
          persons_(*this, "?Osebe", partnerLink()) {
        accounts_.SetButtons(detailButtons("?DodajRacun", "?SpremeniRacun", "?BrisiRacun"));
        persons_.SetButtons(detailButtons("?DodajOsebo", "?SpremeniOsebo", "?BrisiOsebo"));
        locals_.add("LOC:SifraJeDavcna", codeIsTaxNumber_);
        locals_.add("LOC:ERacun", eInvoice_);
    }

    Level PrepareRecord() override {
        if (request() == ReqDelete && deleteAction == kDeleteAsk && mirrorsPartners())
            return deleteWithMirror();
        if (const Level prepared = FormProcedure::PrepareRecord(); prepared != kLevelBenign)
            return prepared;
        eInvoice_ = SFPARTN.TIPPARTNERJA == kEInvoiceMark ? 1 : 0;
        return kLevelBenign;
    }

    void AfterOpen() override {
        (void)accounts_.Start();
        (void)persons_.Start();
        window()->control("?ERacunOpomba").setHidden(eInvoice_ == 0);
        showContractMarks();
        FormProcedure::AfterOpen();
    }

    EventResult OnAccepted(const Event& event) override {
        if (const EventResult handled = FormProcedure::OnAccepted(event); handled != kEventGoOn)
            return handled;
        Control* control = controlAt(event.control);
        if (control == nullptr || !takeControl(*control)) return kEventGoOn;
        Refresh();
        return kEventDone;
    }

    EventResult OnCompleted(const Event& event) override {
        if (!mirrorsPartners() || request() == ReqView) return FormProcedure::OnCompleted(event);
        return completeWithMirror(event);
    }

  private:
    bool takeControl(Control& control) {
        const int n = control.number();
        if (n == number("?SFPARTN:Sifra")) return codeAccepted(control);
        if (n == number("?SFPARTN:DAVCNASTEVILKA")) {
            checkTaxNumber();
            codeFromTaxNumber();
            return true;
        }
        if (n == number("?LOC:SifraJeDavcna")) {
            if (codeIsTaxNumber_ != 0)
                codeFromTaxNumber();
            else if (codeBefore_)
                SFPARTN.Sifra = *std::exchange(codeBefore_, std::nullopt);
            return true;
        }
        if (n == number("?LOC:ERacun")) return eInvoiceTicked();
        if (n == number("?SFPARTN:DRZAVA")) return countryTyped();
        if (n == number("?IzberiDrzavo")) return chooseCountry();
        if (n == number("?SFPARTN:POSTNASTEVILKA")) return postCodeTyped();
        if (n == number("?IzberiPosto")) return choosePostCode();
        if (n == number("?IzberiProdajalca")) return chooseSalesperson();
        if (n == number("?Pogodba")) return editContract();
        if (n == number("?SkupineIzdelkov")) {
            // The item groups, whose subgroups stand for the suppliers.
            (void)callProcedure(procedureByName("BrowseSFGRUPE"), Request::None);
            return true;
        }
        return false;
    }

    bool codeAccepted(Control& control) {
        if (!codeInGap(SFPARTN.Sifra)) return false;
        warn(" OPOZORILO", "Uporabljajte šifre DOBAVITELJEV do 999 in KUPCEV nad 10.000 !",
             kButtonOk);
        window()->select(control);
        return true;
    }

    void checkTaxNumber() {
        const std::string number = SFPARTN.DAVCNASTEVILKA.str();
        if (number.empty() || taxNumberValid(number)) return;
        currentFrontEnd().beep();
        warn(" OPOZORILO", " DAVČNA ŠTEVILKA ni pravilna ! || Preverite še enkrat vnos.");
    }

    // With " Šifra partnerja = DŠ" ticked the code is the tax number's value; the code the form
    // held before comes back when the box is unticked.
    void codeFromTaxNumber() {
        if (codeIsTaxNumber_ == 0) return;
        const std::optional<std::uint32_t> value = taxNumberValue(SFPARTN.DAVCNASTEVILKA.str());
        if (!value) return;
        if (!codeBefore_ && SFPARTN.Sifra != 0) codeBefore_ = SFPARTN.Sifra;
        SFPARTN.Sifra = *value;
    }

    // The box is accepted again whenever the focus leaves it: only a new tick warns.
    bool eInvoiceTicked() {
        const bool newlyTicked = eInvoice_ != 0 && SFPARTN.TIPPARTNERJA != kEInvoiceMark;
        SFPARTN.TIPPARTNERJA = eInvoice_ != 0 ? kEInvoiceMark : "";
        window()->control("?ERacunOpomba").setHidden(eInvoice_ == 0);
        if (newlyTicked && accounts_.list().page().empty())
            warn(" OPOZORILO", " Obvezno morate vnesti tudi podatke o TRR in BIC vašega kupca.");
        return true;
    }

    bool countryTyped() {
        FileManager& countries = tableAccess().file("SFDRZAVE");
        TableGuard guard;
        if (guard.open(countries) != kLevelBenign) return true;
        clearRecord(countries.table(), countries.buffer());
        SFDrz.OznakaDrzave = SFPARTN.DRZAVA.str();
        if (!SFPARTN.DRZAVA.str().empty() &&
            fetchRecord(countries, countries.table().findKey("STEVILKAKLJUC")))
            SFPARTN.NAZIVDRZAVE = SFDrz.NazivDrzave.str();
        return true;
    }

    bool chooseCountry() {
        TableGuard guard;
        if (guard.open(tableAccess().file("SFDRZAVE")) != kLevelBenign) return true;
        if (selectFromList("BrowseSFDRZAVE")) {
            SFPARTN.DRZAVA = SFDrz.OznakaDrzave.str();
            SFPARTN.NAZIVDRZAVE = SFDrz.NazivDrzave.str();
        }
        return true;
    }

    bool postCodeTyped() {
        FileManager& posts = tableAccess().file("SFPTT");
        TableGuard guard;
        if (guard.open(posts) != kLevelBenign) return true;
        clearRecord(posts.table(), posts.buffer());
        SFPTT.OZNAKADRZAVE = SFPARTN.DRZAVA.str();
        SFPTT.PostnaStevilka = SFPARTN.POSTNASTEVILKA.str();
        if (fetchRecord(posts, posts.table().findKey("STEVILKAKLJUC")))
            SFPARTN.KRAJ = SFPTT.NazivPoste.str();
        return true;
    }

    bool choosePostCode() {
        TableGuard guard;
        if (guard.open(tableAccess().file("SFPTT")) != kLevelBenign) return true;
        if (selectFromList("BrowseSFPTT")) {
            SFPARTN.POSTNASTEVILKA = SFPTT.PostnaStevilka.str();
            SFPARTN.KRAJ = SFPTT.NazivPoste.str();
        }
        return true;
    }

    bool chooseSalesperson() {
        TableGuard guard;
        if (guard.open(tableAccess().file("SFPRODAJ")) != kLevelBenign) return true;
        if (selectFromList("BrowseSFPRODAJ")) SFPARTN.ZADOLZENZAPARTNERJA = SFPRODAJ.Sifra;
        return true;
    }

    // The partner's one contract row, added or changed in the contract form; the form then
    // shows which contracts the partner has.
    bool editContract() {
        FileManager& contracts = tableAccess().file("SFPARPOG");
        TableGuard guard;
        if (guard.open(contracts, TableGuard::Buffer::Leave) != kLevelBenign) return true;
        clearRecord(contracts.table(), contracts.buffer());
        SFPARPOG.SIFRA = SFPARTN.Sifra;
        const bool exists = fetchRecord(contracts, contracts.table().findKey("SIFRAKLJUC"));
        if (!exists) {
            if (contracts.PrepareNew() != kLevelBenign) return true;
            SFPARPOG.SIFRA = SFPARTN.Sifra;
        }
        (void)callProcedure(procedureByName("UpdateSFPARPOG"), exists ? ReqChange : ReqInsert);
        showContractMarks();
        return true;
    }

    void showContractMarks() {
        FileManager& contracts = tableAccess().file("SFPARPOG");
        TableGuard guard;
        bool goods = false;
        bool services = false;
        if (guard.open(contracts) == kLevelBenign) {
            clearRecord(contracts.table(), contracts.buffer());
            SFPARPOG.SIFRA = SFPARTN.Sifra;
            if (SFPARTN.Sifra != 0 &&
                fetchRecord(contracts, contracts.table().findKey("SIFRAKLJUC"))) {
                goods = SFPARPOG.IMAPOGBLAGO == "D";
                services = SFPARPOG.IMAPOGSTORITEV == "D";
            }
        }
        window()->control("?PogodbaBlago").setHidden(!goods);
        window()->control("?PogodbaStoritev").setHidden(!services);
    }

    // The partner is written and mirrored in one transaction, so that no crash leaves one
    // without the other; a failed mirror does not undo the partner, and is shown once both are
    // committed. `write` is the form's own write of the partner.
    template <typename Write>
    auto writeWithMirror(Request done, Write write) {
        const std::uint32_t code = SFPARTN.Sifra;
        const bool inTransaction = tableAccess().beginTransaction() == DriverCode::Ok;
        const auto result = write();
        std::optional<std::string> failed;
        if (response() == RespCompleted) {
            SFPARTN.Sifra = code;
            failed = mirrorPartner(done);
        }
        if (inTransaction) {
            if (response() == RespCompleted)
                (void)tableAccess().commit();
            else
                (void)tableAccess().rollback();
        }
        if (failed) warn(" OPOZORILO", *failed);
        return result;
    }

    EventResult completeWithMirror(const Event& event) {
        return writeWithMirror(request(), [&] { return FormProcedure::OnCompleted(event); });
    }

    // A deletion without the form: confirmed before the transaction begins, so that no question
    // waits inside it.
    Level deleteWithMirror() {
        if (errors().raise(message::ConfirmDelete) != kLevelBenign) {
            setResponse(RespCancelled);
            return kLevelFatal;
        }
        deleteAction = kDeleteSilently;
        return writeWithMirror(ReqDelete, [&] { return FormProcedure::PrepareRecord(); });
    }

    LocalVariables locals_;
    std::uint8_t codeIsTaxNumber_ = 0;
    std::uint8_t eInvoice_ = 0;
    std::optional<std::uint32_t> codeBefore_;
    DetailList accounts_;
    DetailList persons_;
};

DV_PROCEDURE_CLASS(UpdateSFPARTN);

}  // namespace
}  // namespace dv
