#pragma once

#include <string>

#include "framework/PrintOptionsWindow.h"
#include "runtime/Date.h"
#include "storage/TableGuard.h"

namespace dv {

class FileManager;

// The conditions window of a printout of stocktake lines (the count sheet, the lines without a
// count): name and group ranges, the order, prices and stock on or off, the title. The group
// bounds show their groups' names (blank for 0 or a group the code list lacks), and their "..."
// buttons (?IzberiOdSkupine, ?IzberiDoSkupine) choose a group from the list of groups.
class StocktakeConditionsWindow : public PrintOptionsWindow {
  public:
    using PrintOptionsWindow::PrintOptionsWindow;

    Level SetUp() override;
    void TearDown() override;
    EventResult OnAccepted(const Event& event) override;

  protected:
    // Sets the printout's own values when the window opens (its title, the check boxes).
    virtual void Preset() = 0;

  private:
    void chooseGroup(std::uint16_t& bound);
    void lookUpTyped(std::uint16_t& bound);
    bool findGroup(std::uint16_t code);
    std::string groupName(std::uint16_t code);
    void showGroupNames();

    TableGuard tables_;
};

// "  Z DNE " and the date as day.month.year, blank after the words when there is no date.
std::string stocktakeDateSuffix(DayNumber date);

}  // namespace dv
