#pragma once

#include "data/ExpressionNames.h"
#include "framework/ViewRecordSource.h"
#include "runtime/FixedDecimal.h"
#include "runtime/FixedText.h"
#include "runtime/GlobalVariables.h"
#include "storage/ViewManager.h"

namespace dv {

class FileManager;
class ReportEngine;

// The lines of a count sheet and what each prints: the template rows of the stocktake
// GLO:DIDEROVIV / GLO:ENOTAINV / GLO:VRSTAINV chosen and ordered by the print conditions, the
// group's name, the prices and book quantity as the conditions let them print, and the criteria
// of the conditions band. The tables must be open on the calling thread.
class CountSheet {
  public:
    CountSheet(FileManager& lines, FileManager& groups);
    ~CountSheet();
    CountSheet(const CountSheet&) = delete;
    CountSheet& operator=(const CountSheet&) = delete;

    // Opens the view of the lines with the order and filter of the conditions, and the
    // printout's own condition `also` when given. 0, or the level result of the failed open
    // (reported).
    [[nodiscard]] Level Open(std::string_view also = {});
    RecordSource& records() { return records_; }
    // The report's own names (LOC:...) before the program's.
    const NameResolver& names() const { return names_; }

    // The line of the template row just read: the retail line for sale type M, else the
    // wholesale one.
    void PrintLine(ReportEngine& report);
    // The conditions band after the last line.
    void PrintConditions(ReportEngine& report);

  private:
    FileManager& groups_;
    ViewManager view_;
    ViewRecordSource records_;
    FixedDecimal<13, 4> priceWholesale_;
    FixedDecimal<13, 4> priceRetail_;
    FixedDecimal<9, 3> stock_;
    FixedText<100> criterion1_;
    FixedText<100> criterion2_;
    FixedText<100> criterionOrder_;
    NamedVariables locals_;
    ProgramNames program_;
    NameResolverChain names_;
};

}  // namespace dv
