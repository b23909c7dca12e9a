#include "masterdata/IzpisSifrantVrstaPrometa.h"

#include <string_view>

#include "masterdata/CodeListReport.h"
#include "runtime/GlobalVariables.h"
#include "schema/Records.h"

namespace dv {
namespace {

std::string_view saleKindText(char kind) {
    return kind == 'M' ? "Prodaja na drobno" : "Prodaja na debelo";
}

// The kind of document a mark stands for. A mark outside the nine prints blank: the line of a
// type must never show the kind of the type printed before it.
std::string_view documentKindText(char mark) {
    switch (mark) {
        case 'N':
            return "Nabava";
        case 'I':
            return "Izdaja";
        case 'F':
            return "Račun";
        case 'P':
            return "Predračun - ponudba";
        case 'A':
            return "Račun za predplačilo";
        case 'L':
            return "Naročilo";
        case 'K':
            return "Konsignacija";
        case 'R':
            return "Rezervacija";
        case 'O':
            return "Ostalo";
        default:
            return {};
    }
}

}  // namespace

int IzpisSifrantVrstaPrometa() {
    FixedText<20> saleText;
    FixedText<30> documentText;
    NamedVariables locals;
    locals.add("LOC:VrstaProdaje", saleText);
    locals.add("LOC:OznakaDokumenta", documentText);

    CodeListPrintout printout;
    printout.procedure = "IzpisSifrantVrstaPrometa";
    printout.table = "SFVRPROM";
    printout.key = "PrimaryKey";
    printout.locals = &locals;
    printout.beforeDetail = [&] {
        saleText = saleKindText(SFVRPROM.VrstaProdaje.raw()[0]);
        documentText = documentKindText(SFVRPROM.OZNAKADOKUMENTA.raw()[0]);
    };
    return printCodeList(printout);
}

}  // namespace dv
