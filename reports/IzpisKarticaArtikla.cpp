#include <string>

#include "data/Dictionary.h"
#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/RecordFetch.h"
#include "framework/ReportLayout.h"
#include "framework/ReportProcedure.h"
#include "framework/ViewRecordSource.h"
#include "reports/ItemCardLine.h"
#include "runtime/Date.h"
#include "runtime/GlobalVariables.h"
#include "schema/ProgramGlobals.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The printer and preview options of the card are kept with those of the item printouts.
constexpr const char* kOptionsSection = "IzpisSifrantArtikli";

// What the printout keeps of each line, with its places: quantities 3, prices and values 2.
struct PrintedLine {
    FixedDecimal<11, 3> received;        // Loc:KolicinaNabava
    FixedDecimal<15, 2> purchasePrice;   // Loc:NabavnaCena
    FixedDecimal<11, 3> issued;          // Loc:KolicinaIzdaja
    FixedDecimal<15, 2> releasePrice;    // Loc:RazbremenitevSklCena
    FixedDecimal<15, 2> salePrice;       // Loc:ProdajnaCena
    FixedDecimal<15, 2> purchaseValue;   // LOC:NABAVNAVREDNOST
    FixedDecimal<15, 2> releaseValue;    // LOC:RAZBREMENITEVVREDNOST
};

// The running balances and the sums of the closing band.
struct CardTotals {
    FixedDecimal<15, 3> quantity;        // LOC:KOLICINASALDO
    FixedDecimal<15, 2> value;           // LOC:VREDNOSTZALOGE
    FixedDecimal<15, 3> received;        // LOC:SkupajNabava
    FixedDecimal<15, 2> purchaseValue;   // LOC:SkupajNabavnaVrednost
    FixedDecimal<15, 3> issued;          // LOC:SkupajIzdaja
    FixedDecimal<15, 2> releaseValue;    // LOC:SkupajRazbremenitev
};

void bind(NamedVariables& names, PrintedLine& line, CardTotals& totals) {
    names.add("Loc:KolicinaNabava", line.received);
    names.add("Loc:NabavnaCena", line.purchasePrice);
    names.add("Loc:KolicinaIzdaja", line.issued);
    names.add("Loc:RazbremenitevSklCena", line.releasePrice);
    names.add("Loc:ProdajnaCena", line.salePrice);
    names.add("LOC:NABAVNAVREDNOST", line.purchaseValue);
    names.add("LOC:RAZBREMENITEVVREDNOST", line.releaseValue);
    names.add("LOC:KOLICINASALDO", totals.quantity);
    names.add("LOC:VREDNOSTZALOGE", totals.value);
    names.add("LOC:SkupajNabava", totals.received);
    names.add("LOC:SkupajNabavnaVrednost", totals.purchaseValue);
    names.add("LOC:SkupajIzdaja", totals.issued);
    names.add("LOC:SkupajRazbremenitev", totals.releaseValue);
}

// The values of the line in the DOKPROME buffer as printed: the prices rounded to 2 places
// first, the values worked out from the rounded prices, as the printed columns add up.
void takeLine(PrintedLine& printed, CardTotals& totals) {
    const ItemCardLine line = itemCardLine();
    printed.received = line.receivedQuantity;
    printed.purchasePrice = line.purchasePrice;
    printed.issued = line.issuedQuantity;
    printed.releasePrice = line.releasePrice;
    printed.salePrice = line.salePrice;
    printed.purchaseValue = printed.received.value() * printed.purchasePrice.value();
    printed.releaseValue = printed.issued.value() * printed.releasePrice.value();
    totals.quantity += printed.received.value() - printed.issued.value();
    totals.value += printed.purchaseValue.value() - printed.releaseValue.value();
    totals.received += printed.received.value();
    totals.purchaseValue += printed.purchaseValue.value();
    totals.issued += printed.issued.value();
    totals.releaseValue += printed.releaseValue.value();
}

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

// The item and the unit of the heading, and the title: the item's code in its 13 places and its
// short name.
void prepareHeading(FileManager& items, FileManager& units) {
    clearRecord(items.table(), items.buffer());
    ARTIKLI.EAN = GLO.CardItem;
    fetchRecord(items, items.primaryKey());
    clearRecord(units.table(), units.buffer());
    SFENOTE.Enota = GLO.CardUnit;
    fetchRecord(units, units.primaryKey());
    GLO.NAZIVIZPISA = " Kartica za izdelek:   " + padded(GLO.CardItem.str(), 13) + " -  " +
                      ARTIKLI.KRATEKNAZIV.str();
    GLO.DANES = today();
}

}  // namespace

// The printout of the item card: the card item's lines in the card unit that moved stock, by
// date, with what each line moved and the running quantity and value, and the sums at the end.
DV_PROCEDURE(IzpisKarticaArtikla) {
    FileManager& lines = tableAccess().file("DOKPROME");
    FileManager& documents = tableAccess().file("DOKUMENT");
    FileManager& items = tableAccess().file("ARTIKLI");
    FileManager& units = tableAccess().file("SFENOTE");
    TableGuard guard;
    for (FileManager* file : {&items, &units})
        if (guard.open(*file) != kLevelBenign) return RespCancelled;
    guard.keep(lines);
    guard.keep(documents);
    prepareHeading(items, units);

    ViewManager view(lines, tableAccess().relations("DOKPROME"));
    ViewManager::Join document{&documents, documents.table().findKey("ENOTASTEVILKAKLJUC"), {}};
    for (const char* field :
         {"VRSTAPRODAJE", "ENOTA", "OZNAKADOKUMENTA", "VRSTAPROMETA", "STEVILKADOKUMENTA"})
        document.fields.push_back(
            {lines.table().findField(field), documents.table().findField(field)});
    view.AddJoin(std::move(document));
    if (view.Open() != kLevelBenign) return RespCancelled;
    view.SetOrder(lines.table().findKey(kItemCardKey));
    view.SetFilter(kItemCardFilter);
    ViewRecordSource records(view);

    PrintedLine printed;
    CardTotals totals;
    NamedVariables locals;
    bind(locals, printed, totals);
    const ProgramNames program;
    const NameResolverChain names{&locals, &program};
    Window progress(procedureLayout(procedure));
    ReportProcedure report(std::string(procedure), kOptionsSection,
                           reportLayout(procedure), names, &programErrors(), &programSettings());
    report.SetUp(progress, records);
    report.onRecord([&] {
        takeLine(printed, totals);
        report.report().Print("Detail");
        return kLevelBenign;
    });
    report.onEndOfReport([&] { report.report().Print("Zakljucek"); });
    const Response response = report.Run();
    view.Close();
    return response;
}

}  // namespace dv
