#include "masterdata/IzpisSifrantEnote.h"

#include <string_view>

#include "masterdata/CodeListReport.h"
#include "runtime/GlobalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv {
namespace {

// The kind of a unit as the printout names it; blank for a kind it does not know.
std::string_view unitKindText(char kind) {
    switch (kind) {
        case 'M':
            return "Maloprodajno";
        case 'V':
            return "Veleprodajno";
        case 'R':
            return "Repro materijal";
        case 'K':
            return "Konsignacija";
        default:
            return {};
    }
}

}  // namespace

int IzpisSifrantEnote() {
    // Any order but "by code" prints by name, and the closing band says so.
    const bool byCode = GLO.SORT == 2;
    FixedText<20> kindText;
    FixedText<40> orderText;
    NamedVariables locals;
    locals.add("LOC:TipSkladisca", kindText);
    locals.add("LOC:Razvrscanje", orderText);

    CodeListPrintout printout;
    printout.procedure = "IzpisSifrantEnote";
    printout.table = "SFENOTE";
    printout.key = byCode ? "ENOTAKLJUC" : "NAZIVKLJUC";
    printout.locals = &locals;
    printout.beforeDetail = [&] { kindText = unitKindText(SFENOTE.TIP.raw()[0]); };
    printout.beforeClosing = [&] {
        orderText = byCode ? "Razvrščanje: Po šifri" : "Razvrščanje: Po nazivu";
    };
    return printCodeList(printout);
}

}  // namespace dv
