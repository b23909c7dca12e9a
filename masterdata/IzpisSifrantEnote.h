#pragma once

namespace dv {

// The printout of the warehouse units: every unit of SFENOTE by name (GLO:SORT 1) or by code
// (GLO:SORT 2), each with its kind as text, and the order it was printed in at the end. Its
// printer and preview options are kept under its name in the settings file. Runs on the calling
// procedure thread (the print options start it on a thread of its own); the report's response.
int IzpisSifrantEnote();

}  // namespace dv
