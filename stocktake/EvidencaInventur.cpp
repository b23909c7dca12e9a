#include <string>

#include "data/TableDef.h"
#include "framework/BrowseProcedure.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/FrontEnd.h"
#include "runtime/ProcedureCall.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeRegister.h"
#include "stocktake/StocktakeSelection.h"
#include "storage/ViewFields.h"

namespace dv {
namespace {

constexpr std::string_view kPrepare = "?PripravaPredloge";
constexpr std::string_view kPrint = "?IzpisPredloge";

MessageButtons warning(std::string text, MessageButtons buttons = kButtonOk,
                       MessageButtons defaultButton = kButtonOk) {
    MessageBoxRequest box;
    box.caption = " OPOZORILO";
    box.text = std::move(text);
    box.icon = MessageIcon::Information;
    box.buttons = buttons;
    box.defaultButton = defaultButton;
    return currentFrontEnd().messageBox(box);
}

// The register of stocktakes. Besides the form's buttons it starts the template preparation
// and the count sheet of the highlighted stocktake; both are offered only for a stocktake with
// a number. Every refresh of the list takes the highest stocktake number again, from which the
// form proposes the next one.
class EvidencaInventur final : public BrowseProcedure {
  public:
    using BrowseProcedure::BrowseProcedure;

    void Refresh(bool force) override {
        BrowseProcedure::Refresh(force);
        GLO.LastStocktakeNumber = lastStocktakeNumber(file());
    }

    EventResult OnAccepted(const Event& event) override {
        if (window() != nullptr) {
            if (event.control == number(kPrepare)) return prepareTemplate();
            if (event.control == number(kPrint)) return printTemplate();
        }
        // The form proposes a new stocktake's number from the register as it stands now.
        GLO.LastStocktakeNumber = lastStocktakeNumber(file());
        return BrowseProcedure::OnAccepted(event);
    }

  protected:
    // The register opens on the last chosen stocktake, as the stocktake lists of the steps do.
    void DefineList() override {
        BrowseProcedure::DefineList();
        preselectLastStocktake(list(), file(), request());
    }

    void ShowHighlighted() override {
        const bool numbered = highlightedNumber() != 0;
        window()->control(kPrepare).setEnabled(numbered);
        window()->control(kPrint).setEnabled(numbered);
    }

  private:
    std::int64_t highlightedNumber() const {
        const void* record = highlightedRecord();
        if (record == nullptr) return 0;
        const TableDef& table = file().table();
        return static_cast<std::int64_t>(
            readFieldValue(table, table.findField("StevInventure"), record).toNumber().unitsAt(0));
    }

    // The highlighted stocktake in the INVENTUR buffer, remembered as the last chosen; false
    // when there is none.
    bool loadHighlighted() {
        if (highlightedNumber() == 0) return false;
        list().LoadHighlighted();
        rememberChosenStocktake(
            {INVENTUR.StevInventure, INVENTUR.Enota, INVENTUR.VRSTAPRODAJE.str()});
        return true;
    }

    EventResult backToList() {
        window()->select(list().list());
        return kEventDone;
    }

    EventResult prepareTemplate() {
        if (!loadHighlighted()) return backToList();
        if (INVENTUR.DATUMZAKLJUCKA > 0) {
            warning(" Inventura je že zaključena.| Priprava predloge ni več mogoča!");
            return backToList();
        }
        if (templateExists(INVENTUR.StevInventure)) {
            warning(" Priprava predloge za inventuro št. " +
                    std::to_string(INVENTUR.StevInventure) + " je že narejena.|" +
                    " Ponovna priprava predloge je mogoča iz menija Inventura - zap. št. 2 !");
            return backToList();
        }
        GLO.RepreparationMode = 0;
        callProcedure(procedureByName("PripravaPredloge"), Request::None);
        Refresh(true);
        return backToList();
    }

    EventResult printTemplate() {
        if (!loadHighlighted()) return backToList();
        if (INVENTUR.DATUMZAKLJUCKA > 0 &&
            warning(" Inventura je že zaključena.| Ali res želite ponovni izpis predloge/popisa ?",
                    kButtonYes | kButtonNo, kButtonNo) != kButtonYes)
            return backToList();
        callProcedure(procedureByName("OknoIzpisInventurnePredloge"), Request::None);
        AfterCall();
        return kEventDone;
    }
};

DV_PROCEDURE_CLASS(EvidencaInventur);

}  // namespace
}  // namespace dv
