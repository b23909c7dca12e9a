#pragma once

namespace dv {

// The printout of the transaction types: every type of SFVRPROM, the hidden ones too, in the
// order of sale kind, document mark and number, with the sale kind and the document kind as
// text. Its printer and preview options are kept under its name in the settings file. Runs on
// the calling procedure thread; the report's response.
int IzpisSifrantVrstaPrometa();

}  // namespace dv
