#include <string>

#include "data/RecordBuffers.h"
#include "framework/ErrorReporter.h"
#include "framework/FormProcedure.h"
#include "framework/ProcedureDefinition.h"
#include "framework/RecordFetch.h"
#include "runtime/EventKey.h"
#include "runtime/MessageTable.h"
#include "schema/Records.h"
#include "stocktake/StocktakeLocks.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

constexpr std::string_view kCounted = "?INVENDET:PopisanaZaloga";
constexpr std::string_view kCountedFlag = "?INVENDET:NarejenVnos";

// What the sale type of a stocktake is called in the form.
std::string saleTypeWords(const FixedText<1>& saleType) {
    if (saleType == "M") return "NA DROBNO";
    if (saleType == "V") return "NA DEBELO";
    return "NEDOLOČENO";
}

// The count of one template row. The counted quantity is the only field the user edits: any
// other data control passes the focus to it, and Enter there confirms the form (the default
// button), so that a count is the quantity and one key. Every confirmed save marks the row
// counted, also when nothing was changed. The template's rows come only from the template
// preparation, so the form refuses to insert or delete one.
class VnosPopisa final : public FormProcedure {
  public:
    using FormProcedure::FormProcedure;

    Level PrepareRecord() override {
        if (request() == ReqInsert) return refuse(message::InvalidInsertRequest);
        if (request() == ReqDelete) return refuse(message::InvalidDeleteRequest);
        return FormProcedure::PrepareRecord();
    }

    Level SetUp() override {
        if (openLookups() != kLevelBenign) return kLevelFatal;
        const bool countedBefore = INVENDET.NarejenVnos != 0;
        if (const Level base = FormProcedure::SetUp(); base != kLevelBenign) return base;
        readNames();
        window()->control("?Naslov").setText(request() == ReqView ? "VPOGLED PODATKOV"
                                                                 : "AŽURIRANJE ZALOGE IZ POPISA");
        window()->control("?NazivVrsteProdaje").setText(saleTypeWords(INVENDET.VrstaProdaje));
        window()->control("?OznakaVnosa").setHidden(!countedBefore);
        window()->control(kCountedFlag).setHidden(INVENDET.NarejenVnos == 0);
        // Enter on the quantity is the runtime's own: it accepts the field and presses POTRDI.
        window()->control(kCounted).unalert(keys::Enter);
        Refresh();
        return kLevelBenign;
    }

    void TearDown() override {
        FormProcedure::TearDown();
        tables_.release();
        stocktakeLock_.release();
    }

    EventResult OnSelected(const Event& event) override {
        const Control* control = controlAt(event.control);
        if (control != nullptr && control->type() == ControlType::Check) {
            if (Control* next = window()->nextFocusable(control, false)) window()->select(*next);
            return kEventDone;
        }
        if (control != nullptr && isInputType(control->type()) &&
            event.control != number(kCounted)) {
            window()->select(kCounted);
            return kEventDone;
        }
        return FormProcedure::OnSelected(event);
    }

    EventResult OnAccepted(const Event& event) override {
        // From POTRDI until the count is saved no other station prepares the template or posts.
        if (okControl() != 0 && event.control == okControl()) {
            if (required().Check(false) != 0) return kEventDone;
            const StocktakeKey key{INVENDET.StevInventure, INVENDET.Enota,
                                   INVENDET.VrstaProdaje.str()};
            if (!shareStocktake(stocktakeLock_, key, StationWork::Count,
                                " Popisa zdaj ni mogoče shraniti; potrdite ga znova, ko bo "
                                "končala."))
                return kEventDone;
            INVENDET.NarejenVnos = 1;
            // The save reads every control into its variable, the check box too.
            Refresh();
        }
        return FormProcedure::OnAccepted(event);
    }

    // The save is done once every field was accepted; the stocktake is free again after it.
    EventResult OnCompleted(const Event& event) override {
        const EventResult saved = FormProcedure::OnCompleted(event);
        stocktakeLock_.release();
        return saved;
    }

  private:
    Level refuse(std::uint16_t id) {
        (void)errors().raise(id);
        return kLevelFatal;
    }

    // The unit and the group whose names the form shows; their buffers come back at its end.
    Level openLookups() {
        if (tables_.open(units_) != kLevelBenign || tables_.open(groups_) != kLevelBenign)
            return kLevelFatal;
        return kLevelBenign;
    }

    void readNames() {
        clearRecord(units_.table(), units_.buffer());
        SFENOTE.Enota = INVENDET.Enota;
        (void)fetchRecord(units_, units_.primaryKey());
        clearRecord(groups_.table(), groups_.buffer());
        SFGRUPE.Sifra = INVENDET.Skupina;
        (void)fetchRecord(groups_, groups_.primaryKey());
    }

    FileManager& units_ = tableAccess().file("SFENOTE");
    FileManager& groups_ = tableAccess().file("SFGRUPE");
    TableGuard tables_;
    StationLock stocktakeLock_;
};

DV_PROCEDURE_CLASS(VnosPopisa);

}  // namespace
}  // namespace dv
