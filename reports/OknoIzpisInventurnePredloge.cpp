#include <string>

#include "framework/ProcedureDefinition.h"
#include "reports/StocktakeConditionsWindow.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv {
namespace {

// The conditions of the count sheet of the stocktake in the INVENTUR buffer: its title names
// the stocktake, and the book quantity prints unless the user says otherwise.
class OknoIzpisInventurnePredlogeWindow final : public StocktakeConditionsWindow {
  public:
    using StocktakeConditionsWindow::StocktakeConditionsWindow;

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?Tiskaj")) {
            GLO.DIDEROVIV = INVENTUR.StevInventure;
            GLO.ENOTAINV = static_cast<std::int16_t>(INVENTUR.Enota);
            GLO.VRSTAINV = INVENTUR.VRSTAPRODAJE;
        }
        return StocktakeConditionsWindow::OnAccepted(event);
    }

  protected:
    void Preset() override {
        GLO.NAZIVIZPISA = "PREDLOGA INVENTURE ŠT. " + std::to_string(INVENTUR.StevInventure) +
                          stocktakeDateSuffix(INVENTUR.DATUMINVENTURE);
        GLO.CHECKBOX2 = 1;
    }
};

}  // namespace

// The conditions window of the count sheet, opened from the stocktake register (and from the
// stocktake selection of count entry) on the stocktake the list has current.
DV_PROCEDURE(OknoIzpisInventurnePredloge) {
    OknoIzpisInventurnePredlogeWindow window{std::string(procedure)};
    return window.Execute();
}

}  // namespace dv
