#pragma once

#include <functional>
#include <string>

#include "runtime/ExpressionNames.h"
#include "runtime/ProcedureCall.h"

namespace dv {

class ReportEngine;

// A printout of a code list: every record of one table in the order of one of its keys, one
// detail line a record, under the page heading every code-list printout shares (company, date,
// page "N od M", title GLO:NAZIVIZPISA), and an optional closing band.
struct CodeListPrintout {
    // The report procedure's name: it names its report layout, its progress window and the
    // section of the settings file that keeps its printer and preview options.
    std::string procedure;
    std::string table;  // the table printed (name or prefix)
    std::string key;    // the key whose order it is printed in
    // The report's own variables (LOC:...), bound before the program's names.
    const NameResolver* locals = nullptr;
    // Whether the record in the table's buffer is printed (a range or a kind the options chose);
    // without it every record is.
    std::function<bool()> selects;
    // Fills the local variables of the detail line from the record in the table's buffer.
    std::function<void()> beforeDetail;
    // Prints what follows a record's detail line (the lines of its details), after it.
    std::function<void(ReportEngine&)> afterDetail;
    // Fills the variables of the closing band "Zakljucek"; without it no closing band prints.
    std::function<void()> beforeClosing;
};

// The detail band and the closing band of a code-list report layout.
inline constexpr const char* kCodeListDetailBand = "Detail";
inline constexpr const char* kCodeListClosingBand = "Zakljucek";

// Runs the printout on the calling procedure thread: GLO:DANES becomes today's date for the
// heading, the table is opened, the pass runs in the progress window, the pages go to the
// preview (an empty table gives the "Report is empty!" notice). The table is closed and its
// record buffer put back as it was, so that a list or form over the same table finds its record
// where it left it. Returns the report's response.
Response printCodeList(const CodeListPrintout& printout);

}  // namespace dv
