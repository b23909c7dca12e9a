#pragma once

#include <cstdint>
#include <vector>

namespace dv {

// What the list of the capture archive hands to the printout of its marked rows: the unit whose
// name heads the printout and the record numbers (INVTPS:Zapis) of the marked records.
struct MarkedArchivePrint {
    std::uint16_t unit = 0;
    std::vector<std::int32_t> records;
};

// The print of marked rows that runs now, null when none does. There is one for the program:
// a second list window cannot start another while one is printing (its preview open).
const MarkedArchivePrint* markedArchivePrint();

// Publishes a print of marked rows for as long as it lives.
class MarkedArchivePrintScope {
  public:
    explicit MarkedArchivePrintScope(const MarkedArchivePrint& print);
    ~MarkedArchivePrintScope();
    MarkedArchivePrintScope(const MarkedArchivePrintScope&) = delete;
    MarkedArchivePrintScope& operator=(const MarkedArchivePrintScope&) = delete;
};

}  // namespace dv
