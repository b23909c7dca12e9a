#include <string>

#include "framework/FormVariable.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/ReportProcedure.h"
#include "framework/ViewRecordSource.h"
#include "reports/DifferencesPrintout.h"
#include "runtime/LayoutResources.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

const char* orderKey() {
    switch (GLO.SORT) {
        case 2: return "STEVNAZIVGRUPAKLJUC";
        case 3: return "STEVSIFRAKLJUC";
        default: return "STEVNAZIVKLJUC";
    }
}

// The filter of the printout: lines whose count differs from the book, narrowed to the group
// range (for the group order only when both bounds are given) and the name range.
std::string differencesFilter() {
    std::string filter = "INVENDET:RacZaloga <> INVENDET:PopisanaZaloga";
    const bool groups = GLO.SORT == 2 ? GLO.OdSkupine != 0 && GLO.DoSkupine != 0
                                      : GLO.DoSkupine != 0;
    if (groups)
        filter = "INVENDET:Skupina >= GLO:OdSkupine AND INVENDET:Skupina <= GLO:DoSkupine AND " +
                 filter;
    if (!GLO.OdNaziva.blank() || !GLO.DoNaziva.blank())
        filter += " AND INVENDET:Naziv >= GLO:OdNaziva AND INVENDET:Naziv <= GLO:DoNaziva";
    return filter;
}

}  // namespace

// The differences of the selected stocktake: every line whose count differs from the book,
// shortages marked "*", and the value of shortages and surpluses at purchase and at selling
// prices without VAT (retail prices taken out of VAT by the item's rate).
DV_PROCEDURE(IzpisInventurnihRazlik) {
    FormVariable::require("GLO:DANES").write(ExpressionValue::number(Decimal(today())));
    TableAccess& access = tableAccess();
    TableGuard guard;
    for (const char* table : {"INVENDET", "SFGRUPE", "ARTIKLI", "SFDDV", "SFENOTE"})
        if (guard.open(access.file(table)) != kLevelBenign) return RespCancelled;
    FileManager& units = access.file("SFENOTE");
    SFENOTE.Enota = static_cast<std::uint16_t>(GLO.ENOTAINV);
    units.FetchOrClear(units.table().findKey("ENOTAKLJUC"));
    FileManager& lines = access.file("INVENDET");
    FileManager& groups = access.file("SFGRUPE");
    FileManager& items = access.file("ARTIKLI");
    FileManager& rates = access.file("SFDDV");

    DifferencesPrintout printout;

    ViewManager view(lines);
    view.SetOrder(lines.table().findKey(orderKey()));
    if (view.Open() != kLevelBenign) return RespCancelled;
    (void)view.SetFilter(differencesFilter());
    INVENDET.StevInventure = GLO.DIDEROVIV;
    INVENDET.Enota = static_cast<std::uint16_t>(GLO.ENOTAINV);
    INVENDET.VrstaProdaje = GLO.VRSTAINV.str();
    ViewRecordSource source(view);
    source.SetRange(3);

    Window progress(procedureLayout(procedure));
    ReportProcedure report(std::string{procedure}, "IzpisInvRazlik", reportLayout(procedure),
                           printout.names(), &programErrors(), &programSettings());
    report.SetUp(progress, source);
    report.onRecord([&] {
        SFGRUPE.Sifra = INVENDET.Skupina;
        groups.FetchOrClear(groups.table().findKey("SIFRAKLJUC"));
        ARTIKLI.EAN = INVENDET.EAN.str();
        items.FetchOrClear(items.table().findKey("SIFRAKLJUC"));
        SFDDV.SifraDDV = ARTIKLI.DAVEK;
        rates.FetchOrClear(rates.table().findKey("SIFRADDVKLJUC"));
        printout.printLine(report.report());
        return kLevelBenign;
    });
    report.onEndOfReport([&] { printout.printConditions(report.report()); });
    const Response response = report.Run();
    view.Close();
    return response;
}

}  // namespace dv
