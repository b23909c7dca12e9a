#include <string>

#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/FrontEnd.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeSelection.h"

namespace dv {
namespace {

constexpr std::string_view kChoose = "?IzberiInventuro";
constexpr std::string_view kPrepareAgain = "?PonovnaPriprava";
constexpr std::string_view kReprint = "?PonovniIzpis";

MessageButtons warning(std::string text, MessageButtons buttons = kButtonOk) {
    MessageBoxRequest box;
    box.caption = " OPOZORILO";
    box.text = std::move(text);
    box.icon = MessageIcon::Information;
    box.buttons = buttons;
    box.defaultButton = buttons == kButtonOk ? kButtonOk : kButtonNo;
    return currentFrontEnd().messageBox(box);
}

bool confirmed(std::string question) {
    return warning(std::move(question), kButtonYes | kButtonNo) == kButtonYes;
}

// The choice of the stocktake whose counts are entered. A chosen open stocktake goes into
// GLO:DIDEROVIV, GLO:ENOTAINV and GLO:VRSTAINV with StocktakeChosen set; a closed one is refused
// as soon as the choose button takes the focus. The template of the highlighted stocktake can be
// prepared again (book quantities and prices refreshed, the counts kept) or reprinted.
class IzborGlaveInventure final : public StocktakeSelectionList {
  public:
    using StocktakeSelectionList::StocktakeSelectionList;

    Level SetUp() override {
        GLO.StocktakeChosen = 0;
        return StocktakeSelectionList::SetUp();
    }

  protected:
    EventResult OnSelected(const Event& event) override {
        if (event.control == number(kChoose) && readHighlighted() && closed()) {
            refuseClosed();
            warnedOnFocus_ = true;
            return kEventDone;
        }
        return StocktakeSelectionList::OnSelected(event);
    }

    EventResult OnNewSelection(const Event& event) override {
        if (event.control == number("?Seznam")) warnedOnFocus_ = false;
        return StocktakeSelectionList::OnNewSelection(event);
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number(kChoose)) return choose();
        if (event.control == number(kPrepareAgain)) return prepareAgain();
        if (event.control == number(kReprint)) return reprint();
        return StocktakeSelectionList::OnAccepted(event);
    }

  private:
    static bool closed() { return INVENTUR.DATUMZAKLJUCKA > 0; }

    EventResult backToList() {
        focusList();
        return kEventDone;
    }

    void refuseClosed() {
        warning(" Inventura je že zaključena.| Vnos podatkov popisa ni več mogoč!");
        focusList();
    }

    EventResult choose() {
        if (!readHighlighted()) return backToList();
        if (closed()) {
            // A click gives the button the focus first, where the user has been told already.
            if (!std::exchange(warnedOnFocus_, false)) refuseClosed();
            return backToList();
        }
        selectStocktake();
        GLO.StocktakeChosen = 1;
        Finish(RespCompleted);
        return kEventDone;
    }

    EventResult prepareAgain() {
        if (!readHighlighted()) return backToList();
        if (closed()) {
            warning(" Inventura je že zaključena.| Ponovna priprava predloge ni več mogoča!");
            return backToList();
        }
        if (!confirmed(" Ali res želite ponoviti pripravo predloge/popisa ?|| Postopek je smiselno "
                       "uporabiti le, če ste| medtem spremenili zalogo posameznega izdelka | "
                       "(npr. prenos izdelkov med šiframi ipd.)|"))
            return backToList();
        GLO.RepreparationMode = 1;
        (void)callProcedure(procedureByName("PripravaPredloge"), Request::None);
        Refresh(true);
        return backToList();
    }

    EventResult reprint() {
        if (!readHighlighted()) return backToList();
        const std::string question = " Ali res želite ponovni izpis predloge/popisa ?";
        if (confirmed(closed() ? " Inventura je že zaključena.|" + question : question))
            (void)callProcedure(procedureByName("OknoIzpisInventurnePredloge"), Request::None);
        return backToList();
    }

    bool warnedOnFocus_ = false;
};

DV_PROCEDURE_CLASS(IzborGlaveInventure);

}  // namespace
}  // namespace dv
