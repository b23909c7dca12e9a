#include <algorithm>
#include <string>

#include "data/RecordBuffers.h"
#include "framework/FormProcedure.h"
#include "framework/ListSelection.h"
#include "framework/ProcedureDefinition.h"
#include "framework/RecordFetch.h"
#include "runtime/Date.h"
#include "runtime/FrontEnd.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeRegister.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

constexpr std::string_view kNumber = "?INVENTUR:StevInventure";
constexpr std::string_view kUnit = "?INVENTUR:Enota";
constexpr std::string_view kUnitButton = "?IzberiEnoto";
constexpr std::string_view kSaleType = "?INVENTUR:VRSTAPRODAJE";
constexpr std::string_view kDate = "?INVENTUR:DATUMINVENTURE";
constexpr std::string_view kChairman = "?INVENTUR:PREDSEDNIK";
constexpr std::string_view kUnitList = "BrowseSFENOTE";

// The controls a closed stocktake shows disabled: number, unit and its button, and the six
// fields from the sale type to the third member.
constexpr std::string_view kClosedDisabled[] = {
    kNumber, kUnit, kUnitButton, kSaleType, kDate, kChairman,
    "?INVENTUR:CLAN1", "?INVENTUR:CLAN2", "?INVENTUR:CLAN3"};

// The shortage and surplus documents whose numbers a new stocktake's number must not lie below.
constexpr std::uint16_t kShortageType = 35;
constexpr std::uint16_t kSurplusType = 15;

// The form of one stocktake. Its rules hang on the control that receives the focus: the number
// is proposed on insert, the unit is looked up when it is not a known unit, the sale type
// follows the unit's kind, and at "POTRDI" the number is raised above the numbers of posted
// stocktake documents. A closed stocktake can only be looked at.
class UpdateINVENTURForm final : public FormProcedure {
  public:
    using FormProcedure::FormProcedure;

    Level PrepareRecord() override {
        if (const Level prepared = FormProcedure::PrepareRecord(); prepared != kLevelBenign)
            return prepared;
        // The unit and document records the form reads come back to their buffers at its end.
        if (tables_.open(units_) != kLevelBenign || tables_.open(documentLines_) != kLevelBenign)
            return kLevelFatal;
        if (request() != ReqInsert) (void)knownUnit();
        return kLevelBenign;
    }

    void FieldDefaultsHook() override {
        INVENTUR.DATUMINVENTURE = today();
        INVENTUR.VRSTAPRODAJE = "";
        clearRecord(units_.table(), units_.buffer());
    }

    void TearDown() override {
        FormProcedure::TearDown();
        tables_.release();
    }

    EventResult OnSelected(const Event& event) override {
        const int control = event.control;
        const int previous = lastSelected_;
        lastSelected_ = control;
        if (control == number(kNumber)) return numberSelected();
        if (control == number(kUnit)) return unitSelected(previous != control);
        if (control == number(kSaleType)) return saleTypeSelected();
        if (control == number(kDate) && request() != ReqInsert) return skipTo(kChairman);
        if (control == number("?OK")) proposeNumber();
        return FormProcedure::OnSelected(event);
    }

    EventResult OnAccepted(const Event& event) override {
        if (const EventResult handled = FormProcedure::OnAccepted(event); handled != kEventGoOn)
            return handled;
        if (event.control == number(kUnit)) return unitAccepted();
        if (event.control == number(kUnitButton)) {
            if (chooseUnit()) return skipTo(kSaleType);
            return kEventDone;
        }
        return kEventGoOn;
    }

  private:
    bool closed() const { return INVENTUR.DATUMZAKLJUCKA > 0; }

    EventResult skipTo(std::string_view control) {
        window()->select(control);
        return kEventDone;
    }

    EventResult numberSelected() {
        if (closed()) {
            for (std::string_view name : kClosedDisabled) window()->control(name).setEnabled(false);
            return skipTo("?OK");
        }
        if (request() == ReqChange) return skipTo(kChairman);
        if (request() == ReqInsert) {
            // The register as it stands now: another station may have stored the number the
            // form proposed before (its POTRDI then says the key is taken, and the focus comes
            // back here for the next free one).
            const std::uint16_t last =
                std::max(GLO.LastStocktakeNumber, lastStocktakeNumber(tableAccess().file("INVENTUR")));
            INVENTUR.StevInventure = static_cast<std::uint16_t>(last + 1);
            Refresh();
        }
        return kEventDone;
    }

    // On insert a unit that is not known opens the list of units as the focus reaches it, once
    // for each time the focus comes there.
    EventResult unitSelected(bool arrived) {
        if (request() == ReqChange) return skipTo(kSaleType);
        if (arrived && !knownUnit() && chooseUnit()) return skipTo(kSaleType);
        return kEventDone;
    }

    // A typed unit is looked up the same way; an unknown one never stays in the field.
    EventResult unitAccepted() {
        const bool typedHere = window()->focused() == &window()->control(kUnit);
        if (!knownUnit() && !chooseUnit()) return skipTo(kUnit);
        if (typedHere) return skipTo(kSaleType);
        return kEventGoOn;
    }

    EventResult saleTypeSelected() {
        (void)knownUnit();
        INVENTUR.VRSTAPRODAJE = SFENOTE.TIP == "M" ? "M" : "V";
        Refresh();
        if (request() == ReqChange) return skipTo(kChairman);
        return kEventDone;
    }

    // Reads the unit of the form into the SFENOTE buffer, whose name the form shows; false (the
    // name blank) when the code names no unit.
    bool knownUnit() {
        clearRecord(units_.table(), units_.buffer());
        if (INVENTUR.Enota == 0) return false;
        SFENOTE.Enota = INVENTUR.Enota;
        const bool found = fetchRecord(units_, units_.primaryKey());
        Refresh();
        return found;
    }

    // The list of units for a selection; a chosen unit goes into the form.
    bool chooseUnit() {
        SFENOTE.Enota = INVENTUR.Enota;
        if (selectFromList(kUnitList)) {
            INVENTUR.Enota = SFENOTE.Enota;
            Refresh();
            return true;
        }
        (void)knownUnit();
        return false;
    }

    // A new stocktake's number is never below the next number of its unit's stocktake
    // shortage and surplus documents. An existing stocktake keeps its number: its template
    // rows carry it.
    void proposeNumber() {
        if (request() != ReqInsert) return;
        const char sale = INVENTUR.VRSTAPRODAJE.raw()[0];
        const std::int32_t shortage =
            nextDocumentNumber(documentLines_, sale, INVENTUR.Enota, 'I', kShortageType);
        const std::int32_t surplus =
            nextDocumentNumber(documentLines_, sale, INVENTUR.Enota, 'N', kSurplusType);
        const ProposedNumber proposed =
            proposeStocktakeNumber(INVENTUR.StevInventure, shortage, surplus);
        INVENTUR.StevInventure = static_cast<std::uint16_t>(proposed.number);
        Refresh();
        if (!proposed.raised) return;
        MessageBoxRequest box;
        box.caption = " OBVESTILO";
        box.text = " Nova številka inventure " + std::to_string(proposed.number) +
                   ", določena na podlagi prebranih podatkov zadnjih inv. viškov in manjkov v "
                   "prometnih podatkih !";
        box.icon = MessageIcon::Information;
        currentFrontEnd().messageBox(box);
    }

    FileManager& units_ = tableAccess().file("SFENOTE");
    FileManager& documentLines_ = tableAccess().file("DOKPROME");
    TableGuard tables_;
    int lastSelected_ = 0;
};

}  // namespace

// The form of one stocktake, called from the register with a request and the stocktake in the
// INVENTUR buffer.
DV_PROCEDURE(UpdateINVENTUR) {
    UpdateINVENTURForm form{std::string(procedure)};
    return form.Execute();
}

}  // namespace dv
