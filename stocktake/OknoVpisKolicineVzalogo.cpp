#include "framework/ListSelection.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "framework/WindowProcedure.h"
#include "runtime/LocalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The values of the service (sale type, unit with its name, quantity, mark, transaction type);
// "Vpiši zalogo" runs the service and closes the window. A unit that SFENOTE does not know opens
// the list of units; without a choice the name is cleared and the focus stays on the unit.
class OknoVpisKolicineVzalogo final : public WindowProcedure {
  public:
    explicit OknoVpisKolicineVzalogo(std::string name) : WindowProcedure(std::move(name)) {
        locals_.add("LOC:NazivEnote", unitName_);
        AddEndButton("?Preklici", RespCancelled);
    }

    Level SetUp() override {
        if (tables_.open(units()) != kLevelBenign) return kLevelFatal;
        showUnit();
        return WindowProcedure::SetUp();
    }

    void TearDown() override {
        WindowProcedure::TearDown();
        tables_.release();
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?GLO:ENOTAZAC")) {
            if (!showUnit()) chooseUnit();
            Refresh();
            return kEventDone;
        }
        if (event.control == number("?IzberiEnoto")) {
            chooseUnit();
            Refresh();
            return kEventDone;
        }
        if (event.control == number("?Vpisi")) {
            fields()->updateAll();
            (void)callProcedure(procedureByName("VpisiKolicinoVzalogo"), ReqView);
            Finish(RespCompleted);
            return kEventDone;
        }
        return WindowProcedure::OnAccepted(event);
    }

  private:
    static FileManager& units() { return tableAccess().file("SFENOTE"); }

    // Shows the name of the unit in the field; false when SFENOTE does not know it.
    bool showUnit() {
        SFENOTE.Enota = static_cast<std::uint16_t>(GLO.ENOTAZAC);
        const bool known = GLO.ENOTAZAC > 0 &&
                           units().Fetch(units().table().findKey("ENOTAKLJUC")) == kLevelBenign;
        unitName_ = known ? SFENOTE.Naziv.str() : "";
        return known;
    }

    void chooseUnit() {
        if (selectFromList("BrowseSFENOTE")) {
            GLO.ENOTAZAC = static_cast<std::int16_t>(SFENOTE.Enota);
            unitName_ = SFENOTE.Naziv.str();
            return;
        }
        unitName_ = "";
        window()->select("?GLO:ENOTAZAC");
    }

    LocalVariables locals_;
    FixedText<60> unitName_;
    TableGuard tables_;
};

DV_PROCEDURE_CLASS(OknoVpisKolicineVzalogo);

}  // namespace
}  // namespace dv
