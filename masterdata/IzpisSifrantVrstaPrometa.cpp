#include <string>

#include "data/Dictionary.h"
#include "data/RuleLabels.h"
#include "framework/CodeListReport.h"
#include "framework/ProcedureDefinition.h"
#include "runtime/GlobalVariables.h"
#include "schema/Records.h"

namespace dv {
namespace {

std::string_view saleKindText(const FixedText<1>& kind) {
    return kind == "M" ? "Prodaja na drobno" : "Prodaja na debelo";
}

// The kind of document a mark stands for: the label of the field's rule, but for the quotation,
// which the printout spells "Predračun - ponudba". A mark outside the rule prints blank: the
// line of a type must never show the kind of the type printed before it.
std::string documentKindText(const FixedText<1>& mark) {
    if (mark == "P") return "Predračun - ponudba";
    const TableDef& table = *findTable("SFVRPROM");
    return codeLabel(table, table.findField("OZNAKADOKUMENTA"), mark.str()).value_or("");
}

}  // namespace

// The printout of transaction types, in the order of their primary key.
DV_PROCEDURE(IzpisSifrantVrstaPrometa) {
    FixedText<20> saleText;
    FixedText<30> documentText;
    NamedVariables locals;
    locals.add("LOC:VrstaProdaje", saleText);
    locals.add("LOC:OznakaDokumenta", documentText);

    CodeListPrintout printout;
    printout.procedure = procedure;
    printout.table = "SFVRPROM";
    printout.key = "PrimaryKey";
    printout.locals = &locals;
    printout.beforeDetail = [&] {
        saleText = saleKindText(SFVRPROM.VrstaProdaje);
        documentText = documentKindText(SFVRPROM.OZNAKADOKUMENTA);
    };
    return printCodeList(printout);
}

}  // namespace dv
