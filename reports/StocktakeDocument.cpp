#include "reports/StocktakeDocument.h"

#include <algorithm>
#include <string>
#include <vector>

#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "framework/BatchRecordSource.h"
#include "framework/FormVariable.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/ReportProcedure.h"
#include "runtime/Date.h"
#include "runtime/LayoutResources.h"
#include "runtime/LocalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakePosting.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The lines of one document (DOKPROME in line order), when its header exists.
class DocumentLines final : public RecordSource {
  public:
    explicit DocumentLines(FileManager& lines) : lines_(lines) {}

    // The document whose key stands in the DOK buffer; no lines when `exists` is false.
    void Limit(bool exists) {
        exists_ = exists;
        saleType_ = DOK.VRSTAPRODAJE.str();
        mark_ = DOK.OZNAKADOKUMENTA.str();
        type_ = DOK.VRSTAPROMETA;
        unit_ = DOK.ENOTA;
        number_ = DOK.STEVILKADOKUMENTA;
    }

    Level restart() override {
        done_ = !exists_;
        if (done_) return kLevelBenign;
        if (lines_.UseFile() != kLevelBenign) return kLevelFatal;
        clearRecord(lines_.table(), lines_.buffer());
        DOKPROME.VRSTAPRODAJE = saleType_;
        DOKPROME.ENOTA = unit_;
        DOKPROME.OZNAKADOKUMENTA = mark_;
        DOKPROME.VRSTAPROMETA = type_;
        DOKPROME.STEVILKADOKUMENTA = number_;
        lines_.driver()->set(lines_.table().findKey("ENOTASTEVILKAKLJUC"));
        return kLevelBenign;
    }
    ReadResult next() override {
        if (done_) return ReadResult::End;
        if (lines_.NextSilently() != kLevelBenign) {
            if (lines_.atEndOfFile()) return ReadResult::End;
            lines_.RaiseLastError();
            return ReadResult::Failed;
        }
        if (DOKPROME.VRSTAPRODAJE == saleType_ && DOKPROME.ENOTA == unit_ &&
            DOKPROME.OZNAKADOKUMENTA == mark_ && DOKPROME.VRSTAPROMETA == type_ &&
            DOKPROME.STEVILKADOKUMENTA == number_)
            return ReadResult::Record;
        done_ = true;
        return ReadResult::End;
    }
    std::int64_t records() override { return 0; }

  private:
    FileManager& lines_;
    bool exists_ = false;
    bool done_ = true;
    std::string saleType_;
    std::string mark_;
    std::uint16_t type_ = 0;
    std::uint16_t unit_ = 0;
    std::int32_t number_ = 0;
};

std::string dayMonthYear(DayNumber day) {
    if (day <= 0) return "";
    const CivilDate date = civilDate(day);
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.day, date.month, date.year);
    return text;
}

// Reads the document's header key into DOK and whether the header exists.
bool findHeader(FileManager& documents, const INVENTURRecord& stocktake,
                StocktakeDocumentKind kind) {
    const bool surplus = kind == StocktakeDocumentKind::Surplus;
    const std::string saleType = stocktake.VRSTAPRODAJE.str();
    clearRecord(documents.table(), documents.buffer());
    DOK.VRSTAPRODAJE = saleType;
    DOK.ENOTA = stocktake.Enota;
    DOK.OZNAKADOKUMENTA = surplus ? "N" : "I";
    DOK.VRSTAPROMETA = surplus ? StocktakePosting::surplusType(saleType)
                               : StocktakePosting::shortageType(saleType);
    DOK.STEVILKADOKUMENTA = surplus ? stocktake.DOKUMENTVISKOV : stocktake.DOKUMENTMANJKOV;
    const DOKUMENTRecord key = DOK;
    const bool exists = DOK.STEVILKADOKUMENTA != 0 &&
                        documents.Fetch(documents.table().findKey("ENOTASTEVILKAKLJUC")) ==
                            kLevelBenign;
    if (!exists) DOK = key;
    return exists;
}

}  // namespace

StocktakeDocumentPrintout::StocktakeDocumentPrintout(StocktakeDocumentKind kind)
    : surplus_(kind == StocktakeDocumentKind::Surplus) {
    title_ = surplus_ ? "Dokument inventurnih viškov" : "Dokument inventurnih manjkov";
    locals_.add("LOC:NAZIVDOKUMENTA", title_);
    locals_.add("LOC:STEVILKADOKUMENTA", numberText_);
    locals_.add("LOC:KRAJDATUMIZDAJE", dateText_);
    locals_.add("LOC:NABAVNAVREDNOST", purchaseValue_);
    locals_.add("LOC:PRODAJNAVREDNOST", saleValue_);
    locals_.add("LOC:PRODAJNAVREDNOSTOBNABAVI", saleValueWithoutVat_);
    locals_.add("LOC:KATALOSKASTEVILKA", catalogue_);
    locals_.add("LOC:POREKLO", origin_);
    locals_.add("LOC:POREKLONAZIV", originName_);
    locals_.add("LOC:STOPNJADDV", rateText_);
    locals_.add("LOC:SKUPAJOSNOVADDV", baseTotal_);
    locals_.add("LOC:SKUPAJDDV", vatTotal_);
    locals_.add("LOC:SUMPRODAJNAVREDNOSTOBNABAVI", sumWithoutVat_);
    locals_.add("LOC:SUMPRODAJNAVREDNOST", sumWithVat_);
    locals_.add("LOC:SUMNABAVNAVREDNOST", sumPurchase_);
    locals_.add("LOC:SUMDDV", sumVat_);
    locals_.add("LOC:SKUPAJPOZICIJE", sumPositions_);
}

void StocktakeDocumentPrintout::addVat(const Decimal& rate, const Decimal& base,
                                       const Decimal& vat) {
    for (VatEntry& entry : vatEntries_)
        if (entry.rate == rate) {
            entry.base += base;
            entry.vat += vat;
            return;
        }
    vatEntries_.push_back({rate, base, vat});
}

void StocktakeDocumentPrintout::printLine(ReportEngine& report) {
    numberText_ = "Številka dokumenta: " + std::to_string(DOK.STEVILKADOKUMENTA);
    dateText_ = "Datum dokumenta: " + dayMonthYear(DOK.DATUMDOKUMENTA);
    const Decimal quantity = DOKPROME.KOLICINA;
    const Decimal withVat = DOKPROME.PRODAJNACENAZDDV;
    const Decimal withoutVat = DOKPROME.PRODAJNACENABREZDDV;
    const Decimal vat = (withVat - withoutVat) * quantity;
    purchaseValue_ = surplus_ ? (quantity * DOKPROME.NABAVNACENA.value() *
                                 (Decimal(100) - DOKPROME.POPUSTIRABATI))
                                    .divide(Decimal(100), 4)
                              : quantity * DOKPROME.NABAVNACENA.value();
    saleValue_ = quantity * withVat;
    saleValueWithoutVat_ = quantity * withoutVat;
    if (surplus_) {
        sumVat_ += vat;
        sumPositions_ += purchaseValue_.value();
        addVat(DOKPROME.STOPNJADDV, saleValueWithoutVat_.value().rounded(2), vat.rounded(2));
    } else {
        addVat(DOKPROME.STOPNJADDV, saleValueWithoutVat_, vat);
    }
    sumWithoutVat_ += saleValueWithoutVat_.value();
    sumWithVat_ += saleValue_.value();
    sumPurchase_ += purchaseValue_.value();
    report.Print("Detail");
    if (GLO.CHECKBOX3 == 1) {
        catalogue_ = ARTIKLI.KATALOG.str();
        report.Print("Katalog");
    }
}

void StocktakeDocumentPrintout::printTotals(ReportEngine& report) {
    for (const VatEntry& entry : vatEntries_) {
        if (entry.vat.isZero()) continue;
        std::string rate = entry.rate.toString(2);
        std::replace(rate.begin(), rate.end(), '.', ',');
        rateText_ = entry.rate.isZero() ? "" : rate + " %";
        baseTotal_ = entry.base;
        vatTotal_ = entry.vat;
        report.Print("Ddv");
    }
    report.Print("Skupaj");
}

Response printStocktakeDocument(std::string_view procedure, std::string_view optionsName,
                                StocktakeDocumentKind kind) {
    FormVariable::require("GLO:DANES").write(ExpressionValue::number(Decimal(today())));
    TableAccess& access = tableAccess();
    TableGuard guard;
    for (const char* table : {"INVENTUR", "SFENOTE", "DOKUMENT", "DOKPROME", "ARTIKLI", "SFOPOMBE"})
        if (guard.open(access.file(table)) != kLevelBenign) return RespCancelled;
    // The stocktake (for its document numbers and committee) and the unit of the heading.
    const StocktakeKey key = selectedStocktake();
    FileManager& stocktakes = access.file("INVENTUR");
    clearRecord(stocktakes.table(), stocktakes.buffer());
    INVENTUR.StevInventure = key.number;
    INVENTUR.Enota = key.unit;
    INVENTUR.VRSTAPRODAJE = key.saleType;
    stocktakes.FetchOrClear(stocktakes.table().findKey("STEVILKAKLJUC"));
    FileManager& units = access.file("SFENOTE");
    SFENOTE.Enota = key.unit;
    units.FetchOrClear(units.table().findKey("ENOTAKLJUC"));
    FileManager& items = access.file("ARTIKLI");
    const int itemKey = items.table().findKey("SIFRAKLJUC");

    DocumentLines lines(access.file("DOKPROME"));
    lines.Limit(findHeader(access.file("DOKUMENT"), INVENTUR, kind));

    StocktakeDocumentPrintout printout(kind);

    Window progress(procedureLayout(procedure));
    ReportProcedure report(std::string{procedure}, std::string{optionsName},
                           reportLayout(procedure), printout.names(), &programErrors(),
                           &programSettings());
    report.SetUp(progress, lines);
    report.onRecord([&] {
        ARTIKLI.EAN = DOKPROME.EAN.str();
        items.FetchOrClear(itemKey);
        printout.printLine(report.report());
        return kLevelBenign;
    });
    report.onEndOfReport([&] {
        printout.printTotals(report.report());
        FileManager& notes = access.file("SFOPOMBE");
        clearRecord(notes.table(), notes.buffer());
        notes.FetchOrClear(notes.table().findKey("VRSTAPROMETAKLJUC"));
        report.report().Print("Opombe");
        report.report().Print("Podpisi");
    });
    return report.Run();
}

}  // namespace dv
