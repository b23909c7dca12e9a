#pragma once

namespace dv {

// The stocktake parameters, window " PARAMETRI ZA IZVAJANJE INVENTURE": the partner code of the
// company that owns the stock (GLO:SIFRALASTNIKAPROGRAMA) and the transaction types of the
// shortage and surplus documents, wholesale and retail (GLO:VRSTAPROMETAINVMANJKOVP,
// ...VISEKVP, ...MANJKOMP, ...VISEKMP). The controls change the variables at once, so that
// procedures started afterwards use them; "POTRDI" writes the five entries of section "SPLOŠNO"
// into the settings file, "PREKLIČI" writes nothing and puts the variables back.
//
// Started from the menu on a thread of its own; returns RespCompleted when confirmed.
int ParametriInventure();

}  // namespace dv
