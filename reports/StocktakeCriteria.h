#pragma once

#include <string>

namespace dv {

// The criteria texts of the stocktake printouts' conditions band, from the print conditions
// (GLO:OdNaziva, GLO:DoNaziva, GLO:OdSkupine, GLO:DoSkupine, GLO:SORT).
struct StocktakeCriteria {
    std::string names;   // "Od naziva: ... do naziva: ..."
    std::string groups;  // "Od skupine izdelkov: ... do skupine izdelkov: ..."
    std::string order;   // "Razvrščanje: ..."
};
StocktakeCriteria stocktakeCriteria();

// Which lines of the stocktake GLO:DIDEROVIV / GLO:ENOTAINV / GLO:VRSTAINV the count sheet
// prints and in which order, from the print conditions: the INVENDET key and the view's filter.
struct CountSheetSelection {
    std::string key;
    std::string filter;
};
CountSheetSelection countSheetSelection();

}  // namespace dv
