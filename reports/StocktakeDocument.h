#pragma once

#include <string_view>
#include <vector>

#include "data/ExpressionNames.h"
#include "runtime/Decimal.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"
#include "runtime/LocalVariables.h"
#include "runtime/ProcedureCall.h"

namespace dv {

class ReportEngine;

// Which of the two documents a stocktake's posting wrote.
enum class StocktakeDocumentKind { Shortage, Surplus };

// The values of a stocktake document's printout as its report's locals: each line's values, the
// running sums and the VAT breakdown by rate in order of first occurrence. The report procedure
// prints through it, and so does the benchmark that builds the same pages from rows it read
// itself.
class StocktakeDocumentPrintout {
  public:
    explicit StocktakeDocumentPrintout(StocktakeDocumentKind kind);
    StocktakeDocumentPrintout(const StocktakeDocumentPrintout&) = delete;
    StocktakeDocumentPrintout& operator=(const StocktakeDocumentPrintout&) = delete;

    // The locals, then the program's variables and record buffers.
    const NameResolver& names() const { return names_; }
    // The line in the DOKPROME buffer of the document in DOK, its item in ARTIKLI: its values
    // added up and its band printed, with the item's catalogue number when GLO:CHECKBOX3 is 1.
    void printLine(ReportEngine& report);
    // The VAT bands (rates with VAT) and the totals.
    void printTotals(ReportEngine& report);

  private:
    using Amount = FixedDecimal<15, 4>;
    // One rate of the VAT breakdown.
    struct VatEntry {
        Decimal rate;
        Decimal base;
        Decimal vat;
    };
    void addVat(const Decimal& rate, const Decimal& base, const Decimal& vat);

    const bool surplus_;
    FixedText<60> title_, numberText_, dateText_, rateText_;
    FixedText<30> catalogue_, origin_, originName_;
    Amount purchaseValue_, saleValue_, saleValueWithoutVat_, baseTotal_, vatTotal_;
    Amount sumWithoutVat_, sumWithVat_, sumPurchase_, sumVat_;
    FixedDecimal<15, 2> sumPositions_;
    std::vector<VatEntry> vatEntries_;
    LocalVariables locals_;
    ProgramNames program_;
    NameResolverChain names_{&locals_, &program_};
};

// Prints the shortage or surplus document of the selected stocktake (GLO:DIDEROVIV,
// GLO:ENOTAINV, GLO:VRSTAINV): the heading with company and unit, a line per document line,
// the VAT bands by rate in order of first occurrence, the totals, the standard note lines and
// the committee's signatures. `procedure` names the report layout, its progress window and the
// section of its printer options. The report's response.
Response printStocktakeDocument(std::string_view procedure, std::string_view optionsName,
                                StocktakeDocumentKind kind);

}  // namespace dv
