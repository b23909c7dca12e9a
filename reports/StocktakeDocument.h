#pragma once

#include <string_view>

#include "runtime/ProcedureCall.h"

namespace dv {

// Which of the two documents a stocktake's posting wrote.
enum class StocktakeDocumentKind { Shortage, Surplus };

// Prints the shortage or surplus document of the selected stocktake (GLO:DIDEROVIV,
// GLO:ENOTAINV, GLO:VRSTAINV): the heading with company and unit, a line per document line,
// the VAT bands by rate in order of first occurrence, the totals, the standard note lines and
// the committee's signatures. `procedure` names the report layout, its progress window and the
// section of its printer options. The report's response.
Response printStocktakeDocument(std::string_view procedure, std::string_view optionsName,
                                StocktakeDocumentKind kind);

}  // namespace dv
