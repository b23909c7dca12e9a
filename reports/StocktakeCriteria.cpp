#include "reports/StocktakeCriteria.h"

#include "schema/ProgramGlobals.h"

namespace dv {

StocktakeCriteria stocktakeCriteria() {
    StocktakeCriteria criteria;
    criteria.names = "Od naziva: " + GLO.OdNaziva.str() + " do naziva: " + GLO.DoNaziva.str();
    criteria.groups = "Od skupine izdelkov: " + std::to_string(GLO.OdSkupine) +
                      " do skupine izdelkov: " + std::to_string(GLO.DoSkupine);
    switch (GLO.SORT) {
        case 2:
            criteria.order = "Razvrščanje: Po skupini¸/ nazivu izdelkov";
            break;
        case 3:
            criteria.order = "Razvrščanje: Po EAN kodi";
            break;
        default:
            criteria.order = "Razvrščanje: Po nazivu";
    }
    return criteria;
}

CountSheetSelection countSheetSelection() {
    CountSheetSelection selection;
    std::string filter =
        "INVENDET:StevInventure = GLO:DIDEROVIV AND INVENDET:Enota = GLO:ENOTAINV AND "
        "INVENDET:VrstaProdaje = GLO:VRSTAINV";
    const std::string groupRange =
        " AND INVENDET:Skupina >= GLO:OdSkupine AND INVENDET:Skupina <= GLO:DoSkupine";
    switch (GLO.SORT) {
        case 2:
            selection.key = "STEVNAZIVGRUPAKLJUC";
            // The group range lies on the key itself, and only when both bounds are given.
            if (GLO.OdSkupine != 0 && GLO.DoSkupine != 0) filter += groupRange;
            break;
        case 3:
            selection.key = "STEVSIFRAKLJUC";
            if (GLO.DoSkupine != 0) filter += groupRange;
            break;
        default:
            selection.key = "STEVNAZIVKLJUC";
            if (GLO.DoSkupine != 0) filter += groupRange;
    }
    if (GLO.CHECKBOX3 == 1) filter += " AND INVENDET:RacZaloga <> 0";
    if (!GLO.OdNaziva.blank() || !GLO.DoNaziva.blank())
        filter += " AND INVENDET:Naziv >= GLO:OdNaziva AND INVENDET:Naziv <= GLO:DoNaziva";
    selection.filter = std::move(filter);
    return selection;
}

}  // namespace dv
