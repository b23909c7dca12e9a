#include <string>

#include "data/ExpressionNames.h"
#include "framework/FormVariable.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/ReportProcedure.h"
#include "framework/ViewRecordSource.h"
#include "runtime/LayoutResources.h"
#include "runtime/LocalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

using Total = FixedDecimal<17, 4>;

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

std::string orderText() {
    switch (GLO.SORT) {
        case 2: return "Razvrščanje: Po skupini¸/ nazivu izdelkov";
        case 3: return "Razvrščanje: Po EAN kodi";
        default: return "Razvrščanje: Po nazivu";
    }
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

    FixedDecimal<13, 4> shownWholesale, shownRetail;
    FixedText<1> shortageMark;
    FixedText<120> criterion1, criterion2, criterionOrder;
    Total shortagePurchase, shortageSale, surplusPurchase, surplusSale;
    LocalVariables locals;
    locals.add("LOC:CENAVP", shownWholesale);
    locals.add("LOC:CENAMP", shownRetail);
    locals.add("LOC:OZNAKAMANJKO", shortageMark);
    locals.add("LOC:KRITERIJ1", criterion1);
    locals.add("LOC:KRITERIJ2", criterion2);
    locals.add("LOC:KRITERIJRAZVRSCANJE", criterionOrder);
    locals.add("LOC:SUMMANJKONAB", shortagePurchase);
    locals.add("LOC:SUMMANJKO", shortageSale);
    locals.add("LOC:SUMVISEKNAB", surplusPurchase);
    locals.add("LOC:SUMVISEK", surplusSale);
    const ProgramNames program;
    const NameResolverChain names{&locals, &program};

    ViewManager view(lines);
    view.SetOrder(lines.table().findKey(orderKey()));
    if (view.Open() != kLevelBenign) return RespCancelled;
    (void)view.SetFilter(differencesFilter());
    INVENDET.StevInventure = GLO.DIDEROVIV;
    INVENDET.Enota = static_cast<std::uint16_t>(GLO.ENOTAINV);
    INVENDET.VrstaProdaje = GLO.VRSTAINV.str();
    ViewRecordSource source(view);
    source.SetRange(3);

    const std::string saleType = GLO.VRSTAINV.str();
    Window progress(procedureLayout(procedure));
    ReportProcedure report(std::string{procedure}, "IzpisInvRazlik", reportLayout(procedure),
                           names, &programErrors(), &programSettings());
    report.SetUp(progress, source);
    report.onRecord([&] {
        SFGRUPE.Sifra = INVENDET.Skupina;
        groups.FetchOrClear(groups.table().findKey("SIFRAKLJUC"));
        ARTIKLI.EAN = INVENDET.EAN.str();
        items.FetchOrClear(items.table().findKey("SIFRAKLJUC"));
        SFDDV.SifraDDV = ARTIKLI.DAVEK;
        rates.FetchOrClear(rates.table().findKey("SIFRADDVKLJUC"));
        const bool prices = GLO.CHECKBOX1 == 1;
        shownWholesale = prices ? INVENDET.VPCENA.value() : Decimal();
        shownRetail = prices ? INVENDET.MPCENA.value() : Decimal();
        const Decimal book = INVENDET.RacZaloga;
        const Decimal counted = INVENDET.PopisanaZaloga;
        const bool shortage = book > counted;
        const Decimal quantity = shortage ? book - counted : counted - book;
        shortageMark = shortage ? "*" : "";
        const Decimal purchase = quantity * INVENDET.NABCENA.value();
        std::optional<Decimal> sale;
        if (saleType == "V")
            sale = quantity * INVENDET.VPCENA.value();
        else if (saleType == "M")
            sale = (quantity * INVENDET.MPCENA.value() * Decimal(100))
                       .divide(Decimal(100) + SFDDV.STOPNJADDV, 4);
        if (sale) {
            (shortage ? shortagePurchase : surplusPurchase) += purchase;
            (shortage ? shortageSale : surplusSale) += *sale;
        }
        report.report().Print(saleType == "M" ? "DetailMP" : "DetailVP");
        return kLevelBenign;
    });
    report.onEndOfReport([&] {
        criterion1 = "Od naziva: " + GLO.OdNaziva.str() + " do naziva: " + GLO.DoNaziva.str();
        criterion2 = "Od skupine izdelkov: " + std::to_string(GLO.OdSkupine) +
                     " do skupine izdelkov: " + std::to_string(GLO.DoSkupine);
        criterionOrder = orderText();
        report.report().Print("Pogoji");
    });
    const Response response = report.Run();
    view.Close();
    return response;
}

}  // namespace dv
