#include <cstdio>
#include <string>

#include "framework/ListSelection.h"
#include "framework/PrintOptionsWindow.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/Date.h"
#include "runtime/LocalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The title the window proposes for the selected stocktake.
std::string proposedTitle() {
    std::string date;
    if (GLO.DATUM > 0) {
        const CivilDate day = civilDate(GLO.DATUM);
        char text[16];
        std::snprintf(text, sizeof text, "%02d.%02d.%04d", day.day, day.month, day.year);
        date = text;
    }
    return "IZPIS INVENTURNIH RAZLIK INVENTURE ŠT. " + std::to_string(GLO.DIDEROVIV) + "  Z DNE " +
           date;
}

// The conditions of the differences printout; the group entries show the group's name (none
// for 0).
class OknoIzpisInventurnihRazlik final : public PrintOptionsWindow {
  public:
    explicit OknoIzpisInventurnihRazlik(std::string name) : PrintOptionsWindow(std::move(name)) {
        locals_.add("LOC:NazivOdSkupine", fromName_);
        locals_.add("LOC:NazivDoSkupine", toName_);
    }

    Level SetUp() override {
        if (tables_.open(groups()) != kLevelBenign) return kLevelFatal;
        const Level result = PrintOptionsWindow::SetUp();
        GLO.NAZIVIZPISA = proposedTitle();
        showGroups();
        Refresh();
        return result;
    }

    void TearDown() override {
        PrintOptionsWindow::TearDown();
        tables_.release();
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?IzberiOdSkupine") || event.control == number("?IzberiDoSkupine")) {
            if (selectFromList("BrowseSFGRUPE"))
                (event.control == number("?IzberiOdSkupine") ? GLO.OdSkupine : GLO.DoSkupine) =
                    SFGRUPE.Sifra;
        }
        const EventResult result = PrintOptionsWindow::OnAccepted(event);
        if (window() != nullptr && window()->isOpen()) {
            showGroups();
            Refresh();
        }
        return result;
    }

  private:
    static FileManager& groups() { return tableAccess().file("SFGRUPE"); }

    static std::string groupName(std::uint16_t code) {
        if (code == 0) return "";
        SFGRUPE.Sifra = code;
        return groups().Fetch(groups().table().findKey("SIFRAKLJUC")) == kLevelBenign
                   ? SFGRUPE.Naziv.str()
                   : "";
    }

    void showGroups() {
        fromName_ = groupName(GLO.OdSkupine);
        toName_ = groupName(GLO.DoSkupine);
    }

    LocalVariables locals_;
    FixedText<30> fromName_;
    FixedText<30> toName_;
    TableGuard tables_;
};

DV_PROCEDURE_CLASS(OknoIzpisInventurnihRazlik);

}  // namespace
}  // namespace dv
