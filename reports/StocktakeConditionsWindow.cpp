#include "reports/StocktakeConditionsWindow.h"

#include "data/RecordBuffers.h"
#include "framework/ListSelection.h"
#include "framework/RecordFetch.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

constexpr std::string_view kGroupList = "BrowseSFGRUPE";

FileManager& groups() { return tableAccess().file("SFGRUPE"); }

}  // namespace

std::string stocktakeDateSuffix(DayNumber date) {
    std::string suffix = "  Z DNE ";
    if (date != 0) {
        const CivilDate civil = civilDate(date);
        suffix += std::to_string(civil.day) + "." + std::to_string(civil.month) + "." +
                  std::to_string(civil.year);
    }
    return suffix;
}

Level StocktakeConditionsWindow::SetUp() {
    if (const Level result = PrintOptionsWindow::SetUp(); result != kLevelBenign) return result;
    if (tables_.open(groups()) != kLevelBenign) return kLevelFatal;
    Preset();
    showGroupNames();
    Refresh();
    return kLevelBenign;
}

void StocktakeConditionsWindow::TearDown() {
    PrintOptionsWindow::TearDown();
    tables_.release();
}

EventResult StocktakeConditionsWindow::OnAccepted(const Event& event) {
    const EventResult result = PrintOptionsWindow::OnAccepted(event);
    if (event.control == number("?Tiskaj")) return result;
    if (event.control == number("?IzberiOdSkupine")) chooseGroup(GLO.OdSkupine);
    if (event.control == number("?IzberiDoSkupine")) chooseGroup(GLO.DoSkupine);
    if (event.control == number("?GLO:OdSkupine")) lookUpTyped(GLO.OdSkupine);
    if (event.control == number("?GLO:DoSkupine")) lookUpTyped(GLO.DoSkupine);
    showGroupNames();
    Refresh();
    return result;
}

void StocktakeConditionsWindow::chooseGroup(std::uint16_t& bound) {
    if (!hasList(kGroupList)) return;
    SFGRUPE.Sifra = bound;
    if (selectFromList(kGroupList)) bound = SFGRUPE.Sifra;
}

// A typed group that is not in the list of groups opens that list to choose from; a cancelled
// choice keeps the typed code, which still bounds the range by number.
void StocktakeConditionsWindow::lookUpTyped(std::uint16_t& bound) {
    if (bound != 0 && !findGroup(bound)) chooseGroup(bound);
}

bool StocktakeConditionsWindow::findGroup(std::uint16_t code) {
    FileManager& file = groups();
    clearRecord(file.table(), file.buffer());
    SFGRUPE.Sifra = code;
    return fetchRecord(file, file.primaryKey());
}

std::string StocktakeConditionsWindow::groupName(std::uint16_t code) {
    if (code == 0) return {};
    return findGroup(code) ? SFGRUPE.Naziv.str() : std::string();
}

void StocktakeConditionsWindow::showGroupNames() {
    window()->control("?NazivOdSkupine").setText(groupName(GLO.OdSkupine));
    window()->control("?NazivDoSkupine").setText(groupName(GLO.DoSkupine));
}

}  // namespace dv
