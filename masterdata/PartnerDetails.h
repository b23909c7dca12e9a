#pragma once

namespace dv {

class Window;

// The panel under a list of partners: the highlighted partner's telephones, fax, e-invoice
// flag, VAT status and the "Neplačnik" and "Blokada" marks of its credit class. `record` is the
// partner's record (nullptr: no partner highlighted, the panel is blank).
void showPartnerDetails(Window& window, const void* record);

// The partner's e-invoice flag, kept in SFPARTN:TIPPARTNERJA.
inline constexpr const char* kEInvoiceMark = "eRacun";

}  // namespace dv
