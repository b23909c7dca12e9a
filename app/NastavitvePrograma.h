#pragma once

namespace dv {

// The other program settings, window "DRUGE Nastavitve programa": the sale kind, warehouse unit,
// document mark and transaction type of the temporary receipt, the folder into which processed
// terminal captures are archived and the counted quantity proposed for new templates. The
// controls change the variables at once; "POTRDI" writes the six entries of section "SERVISNE"
// into the settings file, "PREKLIČI" writes nothing and puts the variables back.
//
// Started from the menu on a thread of its own; returns RespCompleted when confirmed.
int NastavitvePrograma();

}  // namespace dv
