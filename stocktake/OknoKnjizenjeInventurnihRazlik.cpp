#include "app/ProcedureStart.h"
#include "data/RecordBuffers.h"
#include "framework/ProcedureDefinition.h"
#include "framework/WindowProcedure.h"
#include "runtime/FrontEnd.h"
#include "runtime/LocalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The conditions of the posting: the stocktake chosen (GLO:DIDEROVIV, GLO:ENOTAINV,
// GLO:VRSTAINV) with its unit's name, and the posting date GLO:DATUM. "KNJIŽENJE" starts the
// posting on a thread of its own and says so in PostingStarted ("D"); "PREKLIČI" leaves "N".
class OknoKnjizenjeInventurnihRazlik final : public WindowProcedure {
  public:
    explicit OknoKnjizenjeInventurnihRazlik(std::string name) : WindowProcedure(std::move(name)) {
        locals_.add("LOC:NazivEnote", unitName_);
        setFirstField("?GLO:DATUM");
    }

    Level SetUp() override {
        GLO.PostingStarted = "N";
        TableAccess& access = tableAccess();
        if (tables_.open(access.file("SFENOTE")) != kLevelBenign ||
            tables_.open(access.file("INVENTUR")) != kLevelBenign)
            return kLevelFatal;
        SFENOTE.Enota = static_cast<std::uint16_t>(GLO.ENOTAINV);
        access.file("SFENOTE").FetchOrClear(access.file("SFENOTE").table().findKey("ENOTAKLJUC"));
        unitName_ = SFENOTE.Naziv.str();
        INVENTUR.StevInventure = GLO.DIDEROVIV;
        INVENTUR.Enota = static_cast<std::uint16_t>(GLO.ENOTAINV);
        INVENTUR.VRSTAPRODAJE = GLO.VRSTAINV.str();
        FileManager& stocktakes = access.file("INVENTUR");
        if (stocktakes.Fetch(stocktakes.table().findKey("STEVILKAKLJUC")) == kLevelBenign) {
            GLO.VRSTAINV = INVENTUR.VRSTAPRODAJE.str();
            GLO.DATUM = INVENTUR.DATUMINVENTURE;
        }
        return WindowProcedure::SetUp();
    }

    void TearDown() override {
        WindowProcedure::TearDown();
        tables_.release();
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?Preklici")) {
            GLO.PostingStarted = "N";
            Finish(RespCancelled);
            return kEventDone;
        }
        if (event.control == number("?Knjizenje")) {
            startPosting();
            return kEventDone;
        }
        return WindowProcedure::OnAccepted(event);
    }

  private:
    void startPosting() {
        fields()->updateAll();
        if (GLO.DATUM <= 0) {
            MessageBoxRequest box;
            box.caption = " OPOZORILO";
            box.text = " Datum inventure mora biti vnešen !";
            box.icon = MessageIcon::Information;
            currentFrontEnd().messageBox(box);
            window()->select("?GLO:DATUM");
            return;
        }
        startProcedure("KnjizenjeInventurnihRazlik");
        GLO.PostingStarted = "D";
        Finish(RespCompleted);
    }

    LocalVariables locals_;
    FixedText<60> unitName_;
    TableGuard tables_;
};

DV_PROCEDURE_CLASS(OknoKnjizenjeInventurnihRazlik);

}  // namespace
}  // namespace dv
