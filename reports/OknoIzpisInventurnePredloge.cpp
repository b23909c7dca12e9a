#include <string>

#include "data/RecordBuffers.h"
#include "framework/ListSelection.h"
#include "framework/PrintOptionsWindow.h"
#include "framework/ProcedureDefinition.h"
#include "framework/RecordFetch.h"
#include "runtime/Date.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

constexpr std::string_view kGroupList = "BrowseSFGRUPE";

// The title of the count sheet: the stocktake's number and its date as day.month.year.
std::string countSheetTitle() {
    std::string title = "PREDLOGA INVENTURE ŠT. " + std::to_string(INVENTUR.StevInventure) +
                        "  Z DNE ";
    if (INVENTUR.DATUMINVENTURE != 0) {
        const CivilDate date = civilDate(INVENTUR.DATUMINVENTURE);
        title += std::to_string(date.day) + "." + std::to_string(date.month) + "." +
                 std::to_string(date.year);
    }
    return title;
}

// The conditions of the count sheet of the stocktake in the INVENTUR buffer. The group bounds
// show their groups' names (blank for 0 or a group the code list lacks); their buttons offer the
// list of groups where the program has one.
class OknoIzpisInventurnePredlogeWindow final : public PrintOptionsWindow {
  public:
    using PrintOptionsWindow::PrintOptionsWindow;

    Level SetUp() override {
        if (const Level result = PrintOptionsWindow::SetUp(); result != kLevelBenign)
            return result;
        if (tables_.open(groups_) != kLevelBenign) return kLevelFatal;
        GLO.NAZIVIZPISA = countSheetTitle();
        GLO.CHECKBOX2 = 1;
        showGroupNames();
        Refresh();
        return kLevelBenign;
    }

    void TearDown() override {
        PrintOptionsWindow::TearDown();
        tables_.release();
    }

    EventResult OnAccepted(const Event& event) override {
        if (event.control == number("?Tiskaj")) {
            GLO.DIDEROVIV = INVENTUR.StevInventure;
            GLO.ENOTAINV = static_cast<std::int16_t>(INVENTUR.Enota);
            GLO.VRSTAINV = INVENTUR.VRSTAPRODAJE;
            return PrintOptionsWindow::OnAccepted(event);
        }
        const EventResult result = PrintOptionsWindow::OnAccepted(event);
        if (event.control == number("?IzberiOdSkupine")) chooseGroup(GLO.OdSkupine);
        if (event.control == number("?IzberiDoSkupine")) chooseGroup(GLO.DoSkupine);
        showGroupNames();
        Refresh();
        return result;
    }

  private:
    void chooseGroup(std::uint16_t& bound) {
        if (!hasList(kGroupList)) return;
        SFGRUPE.Sifra = bound;
        if (selectFromList(kGroupList)) bound = SFGRUPE.Sifra;
    }

    std::string groupName(std::uint16_t code) {
        if (code == 0) return {};
        clearRecord(groups_.table(), groups_.buffer());
        SFGRUPE.Sifra = code;
        return fetchRecord(groups_, groups_.primaryKey()) ? SFGRUPE.Naziv.str() : std::string();
    }

    void showGroupNames() {
        window()->control("?NazivOdSkupine").setText(groupName(GLO.OdSkupine));
        window()->control("?NazivDoSkupine").setText(groupName(GLO.DoSkupine));
    }

    FileManager& groups_ = tableAccess().file("SFGRUPE");
    TableGuard tables_;
};

}  // namespace

// The conditions window of the count sheet, opened from the stocktake register (and from the
// stocktake selection of count entry) on the stocktake the list has current.
DV_PROCEDURE(OknoIzpisInventurnePredloge) {
    OknoIzpisInventurnePredlogeWindow window{std::string(procedure)};
    return window.Execute();
}

}  // namespace dv
