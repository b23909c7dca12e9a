#pragma once

namespace dv {

// The list of transaction types (window "  VRSTE PROMETA"), without the types marked hidden
// (SFVRPROM:NePokazi). A locked type (SFVRPROM:ZAPECENO = 1) shows "Zaklenjeno" beside the list
// and cannot be changed or deleted, by button, key or double click; a double click shows it
// read-only. "&Tiskaj   [F5]" calls the print options OknoIzpisaVrstaPrometa; Dodaj, Spremeni
// and Briši call the form UpdatesfVRPROM. Called with ReqSelect it is the lookup of a type:
// "&Izberi" ends it with RespCompleted and the chosen type in the SFVRPROM buffer.
int BrowseSFVRPROM();

}  // namespace dv
