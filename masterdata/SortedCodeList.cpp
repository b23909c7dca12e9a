#include "masterdata/SortedCodeList.h"

#include "framework/CodeListReport.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"
#include "schema/ProgramGlobals.h"

namespace dv {

Response printSortedCodeList(std::string_view procedure, std::string table, const PrintOrder& first,
                             const PrintOrder& second) {
    const PrintOrder& order = GLO.SORT == 2 ? second : first;
    FixedText<60> orderText;
    NamedVariables locals;
    locals.add("LOC:Razvrscanje", orderText);

    CodeListPrintout printout;
    printout.procedure = std::string(procedure);
    printout.table = std::move(table);
    printout.key = order.key;
    printout.locals = &locals;
    printout.beforeClosing = [&] { orderText = "Razvrščanje: " + order.name; };
    return printCodeList(printout);
}

}  // namespace dv
