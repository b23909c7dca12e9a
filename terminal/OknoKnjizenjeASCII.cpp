#include "data/RecordBuffers.h"
#include "framework/ProcedureByName.h"
#include "framework/ProcedureDefinition.h"
#include "framework/WindowProcedure.h"
#include "runtime/Date.h"
#include "runtime/ProcedureCall.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

constexpr std::string_view kNumber = "?GLO:DIDEROVIV";
constexpr std::string_view kStart = "?Knjizenje";

// The stocktake into which the terminal's capture file is imported: chosen with "..." from the
// stocktake selection, or typed. When the start button gets the focus the stocktake is read
// again by the number shown, in the unit and sale type of the stocktake read last, and the
// three fields show what was read (0, 0 and blank when there is no such stocktake). The start
// button runs the import at once and closes the window when it returns.
class OknoKnjizenjeASCII final : public WindowProcedure {
  public:
    explicit OknoKnjizenjeASCII(std::string name) : WindowProcedure(std::move(name)) {
        AddEndButton("?Preklici", RespCancelled);
        setFirstField(kNumber);
    }

    Level SetUp() override {
        GLO.DANES = today();
        if (tables_.open(stocktakes()) != kLevelBenign) return kLevelFatal;
        readSelected();
        return WindowProcedure::SetUp();
    }

    void TearDown() override {
        WindowProcedure::TearDown();
        tables_.release();
    }

    EventResult OnSelected(const Event& event) override {
        if (event.control == number(kStart)) {
            fields()->updateAll();
            readTyped();
            Refresh();
        }
        return WindowProcedure::OnSelected(event);
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?IzberiInventuro")) {
            chooseStocktake();
            return kEventDone;
        }
        if (event.control == number(kStart)) {
            (void)callProcedure(procedureByName("KnjizenjeINVASCI"), Request::None);
            Finish(RespCompleted);
            return kEventDone;
        }
        return WindowProcedure::OnAccepted(event);
    }

  private:
    static FileManager& stocktakes() { return tableAccess().file("INVENTUR"); }
    static int numberKey() { return stocktakes().table().findKey("STEVILKAKLJUC"); }

    static void selectFromBuffer() {
        GLO.DIDEROVIV = INVENTUR.StevInventure;
        GLO.ENOTAINV = static_cast<std::int16_t>(INVENTUR.Enota);
        GLO.VRSTAINV = INVENTUR.VRSTAPRODAJE.str();
    }

    // The stocktake selected last in the program becomes the one read last, so that a number
    // typed here is sought in its unit and sale type.
    static void readSelected() {
        clearRecord(stocktakes().table(), stocktakes().buffer());
        INVENTUR.StevInventure = GLO.DIDEROVIV;
        INVENTUR.Enota = static_cast<std::uint16_t>(GLO.ENOTAINV);
        INVENTUR.VRSTAPRODAJE = GLO.VRSTAINV.str();
        (void)stocktakes().Fetch(numberKey());
    }

    static void readTyped() {
        INVENTUR.StevInventure = GLO.DIDEROVIV;
        (void)stocktakes().FetchOrClear(numberKey());
        selectFromBuffer();
    }

    void chooseStocktake() {
        selectFromBuffer();
        GLO.StocktakeChosen = 0;
        (void)callProcedure(procedureByName("IzborGlaveInventure"), Request::None);
        if (GLO.StocktakeChosen != 0) readSelected();
        GLO.StocktakeChosen = 0;
        Refresh();
    }

    TableGuard tables_;
};

DV_PROCEDURE_CLASS(OknoKnjizenjeASCII);

}  // namespace
}  // namespace dv
