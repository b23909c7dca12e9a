#pragma once

namespace dv {

// The form of one transaction type (window "  AŽURIRANJE VRSTE PROMETA"), called by the list of
// transaction types with a request in CallerRequest and the type in the SFVRPROM buffer: sale
// kind, document mark, number, description, document title, own consumption and the effect on
// stock. The number, the description and the title are required ("Vrsta prometa", "Opis
// prometa", "Naziv dokumenta").
//
// A locked type (SFVRPROM:ZAPECENO = 1) is never changed or deleted, whoever calls the form:
// a change or delete request is refused with a warning and the type is shown for viewing only.
// The form's response.
int UpdatesfVRPROM();

// The warning a change or delete request of a locked type gets.
inline constexpr const char* kLockedTypeCaption = " OPOZORILO";
inline constexpr const char* kLockedTypeText =
    "Vrsta prometa je zaklenjena in je ni mogoče spreminjati ali brisati.|"
    "Odprta je samo za vpogled.";

}  // namespace dv
