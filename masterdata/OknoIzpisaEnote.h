#pragma once

namespace dv {

// The print options of the warehouse units: the order (" Po nazivu" GLO:SORT 1, " Po šifri"
// GLO:SORT 2) and the title, reset to "Šifrant skladišč blaga - izdelkov" each time the window
// opens. Printing starts IzpisSifrantEnote on a thread of its own. The window's response.
int OknoIzpisaEnote();

}  // namespace dv
