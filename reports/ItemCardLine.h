#pragma once

#include "runtime/Decimal.h"
#include "schema/Records.h"

namespace dv {

// What one document line of the item card moved, from the line in the DOKPROME buffer: a
// receipt ("+") its quantity and its purchase price less the discount; an issue ("-") its
// quantity, the purchase price it released from stock and its sale price less the discount;
// any other line nothing. Exact: the list and the printout round them to their own places.
struct ItemCardLine {
    Decimal receivedQuantity;  // Loc:KolicinaNabava
    Decimal purchasePrice;     // Loc:NabavnaCena
    Decimal issuedQuantity;    // Loc:KolicinaIzdaja
    Decimal releasePrice;      // Loc:RazbremenitevSklCena
    Decimal salePrice;         // Loc:ProdajnaCena
};

inline ItemCardLine itemCardLine() {
    // (1 - discount / 100) kept exact: the discount has 2 places, so 4 suffice.
    const Decimal undiscounted =
        (Decimal(100) - DOKPROME.POPUSTIRABATI.value()).divide(Decimal(100), 4);
    ItemCardLine line;
    if (DOKPROME.PrometNaZalogo == "+") {
        line.receivedQuantity = DOKPROME.KOLICINA;
        line.purchasePrice = DOKPROME.NABAVNACENA * undiscounted;
    } else if (DOKPROME.PrometNaZalogo == "-") {
        line.issuedQuantity = DOKPROME.KOLICINA;
        line.releasePrice = DOKPROME.NABAVNACENA;
        line.salePrice = DOKPROME.PRODAJNACENABREZDDV * undiscounted;
    }
    return line;
}

// The lines of the item card: the card unit's lines of the card item that move stock, by date.
inline constexpr const char* kItemCardKey = "ARTIKELDATUM";
inline constexpr const char* kItemCardFilter =
    "DOKPROME:ENOTA = CardUnit AND DOKPROME:EAN = CardItem AND "
    "(DOKPROME:PrometNaZalogo = '+' or DOKPROME:PrometNaZalogo = '-')";

}  // namespace dv
