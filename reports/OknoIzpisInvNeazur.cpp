#include <string>

#include "framework/ProcedureDefinition.h"
#include "reports/StocktakeConditionsWindow.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

// The conditions of the printout of the lines still without a count, for the stocktake the
// count-entry list put into GLO:DIDEROVIV / GLO:ENOTAINV / GLO:VRSTAINV with its date in
// GLO:DATUM. The book quantity prints, and only lines with book stock are listed, unless the
// user says otherwise.
class OknoIzpisInvNeazurWindow final : public StocktakeConditionsWindow {
  public:
    using StocktakeConditionsWindow::StocktakeConditionsWindow;

  protected:
    void Preset() override {
        GLO.NAZIVIZPISA = "IZDELKI BREZ VNOSA POPISA INVENTURE ŠT. " +
                          std::to_string(GLO.DIDEROVIV) + stocktakeDateSuffix(GLO.DATUM);
        GLO.CHECKBOX2 = 1;
        GLO.CHECKBOX3 = 1;
    }
};

}  // namespace

DV_PROCEDURE(OknoIzpisInvNeazur) {
    OknoIzpisInvNeazurWindow window{std::string(procedure)};
    return window.Execute();
}

}  // namespace dv
