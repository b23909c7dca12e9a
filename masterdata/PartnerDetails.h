#pragma once

#include <string>
#include <vector>

#include "framework/DetailList.h"

namespace dv {

class BrowseProcedure;
class Window;

// The panel under a list of partners: the highlighted partner's telephones, fax, e-invoice
// flag, VAT status and the "Neplačnik" and "Blokada" marks of its credit class. `record` is the
// partner's record (nullptr: no partner highlighted, the panel is blank).
void showPartnerDetails(Window& window, const void* record);

// The link of a detail list (contact persons, bank accounts) to the partner in the SFPARTN
// buffer: the partner a form edits, or the one a list of partners highlights.
std::vector<DetailList::Link> partnerLink();
// The Insert, Change and Delete buttons of a detail list, by control name.
BrowseControls detailButtons(std::string insert, std::string change, std::string remove);
// A detail list under a list of partners is empty while that list is.
void followHighlightedPartner(DetailList& details, const BrowseProcedure& partners);

// The partner's e-invoice flag, kept in SFPARTN:TIPPARTNERJA.
inline constexpr const char* kEInvoiceMark = "eRacun";

}  // namespace dv
