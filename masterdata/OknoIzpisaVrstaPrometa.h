#pragma once

namespace dv {

// The print options of the transaction types: the title, reset to "Šifrant vrste prometa" each
// time the window opens. Printing starts IzpisSifrantVrstaPrometa on a thread of its own. The
// window's response.
int OknoIzpisaVrstaPrometa();

}  // namespace dv
