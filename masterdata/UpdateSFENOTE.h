#pragma once

namespace dv {

// The form of one warehouse unit (window " AŽURIRANJE SKLADIŠČ / ENOT"), called by the list of
// units with a request in CallerRequest and the unit in the SFENOTE buffer (a new numbered
// record for an insert): code, name, kind of unit and the two dates of the unit's closing. The
// code and the name are required ("Skladišče", "Naziv"); F6 on a date opens the calendar. The
// form's response.
int UpdateSFENOTE();

}  // namespace dv
