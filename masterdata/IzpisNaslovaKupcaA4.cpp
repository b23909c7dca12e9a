#include <string>

#include "framework/CodeListReport.h"
#include "framework/ProcedureDefinition.h"
#include "masterdata/PartnerPrintouts.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"
#include "schema/Records.h"

namespace dv {

// The name and address of the partner in the SFPARTN buffer (the one the list of partners
// highlights) on an A4 sheet.
DV_PROCEDURE(IzpisNaslovaKupcaA4) {
    const std::uint32_t partner = SFPARTN.Sifra;
    FixedText<62> postAndPlace;
    NamedVariables locals;
    locals.add("LOC:PostaKraj", postAndPlace);

    CodeListPrintout printout;
    printout.procedure = procedure;
    printout.table = "SFPARTN";
    printout.key = "SIFRAKLJUC";
    printout.locals = &locals;
    printout.selects = [partner] { return SFPARTN.Sifra == partner; };
    printout.beforeDetail = [&] { postAndPlace = partnerPostAndPlace(); };
    return printCodeList(printout);
}

}  // namespace dv
