#pragma once

#include "data/ExpressionNames.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"
#include "runtime/LocalVariables.h"

namespace dv {

class ReportEngine;

// The values of the differences printout (IzpisInventurnihRazlik) as its report's locals: each
// line's shown prices and shortage mark, the running values of shortages and surpluses, and the
// conditions printed at the end. The report procedure prints through it, and so does the
// benchmark that builds the same pages from rows it read itself.
class DifferencesPrintout {
  public:
    DifferencesPrintout();
    DifferencesPrintout(const DifferencesPrintout&) = delete;
    DifferencesPrintout& operator=(const DifferencesPrintout&) = delete;

    // The locals, then the program's variables and record buffers.
    const NameResolver& names() const { return names_; }
    // The line in the INVENDET buffer, with its item's tax rate in SFDDV: its values added to the
    // totals and its band printed (prices shown when GLO:CHECKBOX1 is 1, values of the sale type
    // GLO:VRSTAINV).
    void printLine(ReportEngine& report);
    // The conditions the user chose (GLO), printed below the totals.
    void printConditions(ReportEngine& report);

  private:
    using Total = FixedDecimal<17, 4>;

    FixedDecimal<13, 4> shownWholesale_, shownRetail_;
    FixedText<1> shortageMark_;
    FixedText<120> criterion1_, criterion2_, criterionOrder_;
    Total shortagePurchase_, shortageSale_, surplusPurchase_, surplusSale_;
    LocalVariables locals_;
    ProgramNames program_;
    NameResolverChain names_{&locals_, &program_};
};

}  // namespace dv
