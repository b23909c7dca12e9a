#include <string>

#include "data/Dictionary.h"
#include "data/RuleLabels.h"
#include "framework/CodeListReport.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/GlobalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv {
namespace {

// The kind of a unit as the printout names it: the label of the field's rule, but for the
// repro material, which the printout has always spelled "Repro materijal"; blank for a kind the
// rule does not know.
std::string unitKindText(const FixedText<1>& kind) {
    if (kind.str() == "R") return "Repro materijal";
    const TableDef& table = *findTable("SFENOTE");
    return codeLabel(table, table.findField("TIP"), kind.str()).value_or("");
}

}  // namespace

// The printout of warehouse units: any order but "by code" (GLO:SORT 2) prints by name, and the
// closing band says which.
DV_PROCEDURE(IzpisSifrantEnote) {
    const bool byCode = GLO.SORT == 2;
    FixedText<20> kindText;
    FixedText<40> orderText;
    NamedVariables locals;
    locals.add("LOC:TipSkladisca", kindText);
    locals.add("LOC:Razvrscanje", orderText);

    CodeListPrintout printout;
    printout.procedure = procedure;
    printout.table = "SFENOTE";
    printout.key = byCode ? "ENOTAKLJUC" : "NAZIVKLJUC";
    printout.locals = &locals;
    printout.beforeDetail = [&] { kindText = unitKindText(SFENOTE.TIP); };
    printout.beforeClosing = [&] {
        orderText = byCode ? "Razvrščanje: Po šifri" : "Razvrščanje: Po nazivu";
    };
    return printCodeList(printout);
}

}  // namespace dv
