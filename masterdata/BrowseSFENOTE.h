#pragma once

namespace dv {

// The list of warehouse units (window " SKLADIŠČA BLAGA - IZDELKOV"): code, name and kind of
// every unit, sorted by a click on a column's heading with a locator on the sort column and
// narrowed by the query line. "Izpis  [F5]" calls the print options OknoIzpisaEnote; Dodaj,
// Spremeni and Briši call the form UpdateSFENOTE. Called with ReqSelect it is the lookup of a
// unit: "&Izberi" ends it with RespCompleted and the chosen unit in the SFENOTE buffer.
int BrowseSFENOTE();

}  // namespace dv
