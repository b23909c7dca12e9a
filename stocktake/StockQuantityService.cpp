#include "stocktake/StockQuantityService.h"

#include "data/RecordBuffers.h"
#include "runtime/ErrorState.h"
#include "runtime/FixedText.h"
#include "schema/Records.h"
#include "stocktake/StocktakeLocks.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

constexpr std::int32_t kHighestNumber = 999999;

std::string errorText() {
    return lastError().text;
}

}  // namespace

StockQuantityService::StockQuantityService(StockQuantityRequest request, PostingNotifier notify)
    : request_(std::move(request)), notify_(std::move(notify)) {}

StockQuantityService::~StockQuantityService() {
    transaction_.Rollback();
}

void StockQuantityService::fail(std::string caption, std::string text) {
    failed_ = true;
    const MessageIcon icon = caption.empty() ? MessageIcon::None : MessageIcon::Exclamation;
    notifyPosting(notify_, std::move(caption), std::move(text), icon);
}

bool StockQuantityService::Start() {
    if (!openBatchTables(tables_, {{"DOKUMENT", &documents_},
                                   {"DOKPROME", &lines_},
                                   {"ZALOGA", &stock_},
                                   {"ARTIKLI", &items_},
                                   {"SFDDV", &rates_},
                                   {"SFEM", &measures_}}))
        return false;
    codeLists_.emplace(*rates_, *measures_);
    if (transaction_.Begin() != DriverCode::Ok) {
        fail(" OPOZORILO",
             " Vpisa količine v zalogo ni mogoče začeti !||" + lastErrorQuote() + "|");
        return false;
    }
    // The document's id and number are taken by one station at a time.
    if (takeNumbering("DOKUMENT", "VpisiKolicinoVzalogo") && addHeader()) return true;
    Abandon();
    return false;
}

// The header: the document of the kind with the highest number up to 999999 with its number
// raised by 1 (its other fields taken over), or a cleared one numbered 1.
bool StockQuantityService::addHeader() {
    TableDriver& driver = *documents_->driver();
    const std::uint32_t id = nextDocumentId(*documents_);
    const auto fillKind = [&] {
        clearRecord(documents_->table(), documents_->buffer());
        DOK.VRSTAPRODAJE = request_.saleType;
        DOK.OZNAKADOKUMENTA = request_.mark;
        DOK.VRSTAPROMETA = request_.type;
        DOK.ENOTA = request_.unit;
    };
    fillKind();
    DOK.STEVILKADOKUMENTA = kHighestNumber;
    const bool found = driver.set(keyOf(*documents_, "ENOTASTEVILKAKLJUC")) == DriverCode::Ok &&
                       driver.previous() == DriverCode::Ok &&
                       DOK.VRSTAPRODAJE == request_.saleType &&
                       DOK.OZNAKADOKUMENTA == request_.mark && DOK.VRSTAPROMETA == request_.type &&
                       DOK.ENOTA == request_.unit;
    if (found) {
        DOK.STEVILKADOKUMENTA += 1;
    } else {
        fillKind();
        DOK.STEVILKADOKUMENTA = 1;
    }
    number_ = DOK.STEVILKADOKUMENTA;
    DOK.Id = id;
    DOK.DATUMDOKUMENTA = today();
    DOK.PARTNER = 1;
    DOK.DATUMDOBAVNICE = today();
    DOK.DATUMSTORITVE = today();
    if (driver.add() == DriverCode::Ok) return true;
    fail("", "Napaka ADD DOK." + errorText());
    return false;
}

bool StockQuantityService::BookItem() {
    if (failed_ || !transaction_.active()) return false;
    const std::string code = ARTIKLI.EAN.str();
    codeLists_->Read();
    if (!readOrCreateStock(code)) return false;
    if (ZALOGA.ZADNJANABCENA.value().isZero()) ZALOGA.ZADNJANABCENA = Decimal(1);
    if (++line_ > kMaxLineNumber) {
        fail(" OPOZORILO",
             " Dokument ne more imeti več kot " + std::to_string(kMaxLineNumber) + " postavk !|");
        return false;
    }
    return addLine(code) && updateStock();
}

bool StockQuantityService::readOrCreateStock(const std::string& code) {
    if (fetchOrCreateStock(*stock_, request_.unit, code)) return true;
    fail("", "Napaka ADD zaloga " + errorText());
    return false;
}

bool StockQuantityService::addLine(const std::string& code) {
    clearRecord(lines_->table(), lines_->buffer());
    DOKPROME.VRSTAPRODAJE = request_.saleType;
    DOKPROME.OZNAKADOKUMENTA = request_.mark;
    DOKPROME.VRSTAPROMETA = request_.type;
    DOKPROME.ENOTA = request_.unit;
    DOKPROME.STEVILKADOKUMENTA = number_;
    DOKPROME.POSTAVKADOKUMENTA = static_cast<std::uint16_t>(line_);
    DOKPROME.EAN = code;
    DOKPROME.NAZIV = itemLineName();
    DOKPROME.NAZIVEM = codeLists_->measureName();
    DOKPROME.SIFRADDV = ARTIKLI.DAVEK;
    DOKPROME.STOPNJADDV = codeLists_->rate();
    DOKPROME.DATUMDOKUMENTA = today();
    DOKPROME.PrometNaZalogo = "+";
    DOKPROME.BLAGOALISTORITEV = "B";
    const bool fits = DOKPROME.KOLICINA.assign(request_.quantity) &&
                      DOKPROME.NABAVNACENA.assign(ZALOGA.ZADNJANABCENA);
    if (!fits) setLastError(kFileDriverError, "vrednost ne gre v polje postavke");
    if (fits && lines_->driver()->add() == DriverCode::Ok) return true;
    fail("", "Napaka ADD PROMET " + errorText());
    return false;
}

// Quantity and value of the stock row: the value rises by E = quantity × the line's purchase
// price, kept to 2 places.
bool StockQuantityService::updateStock() {
    const Decimal change = (request_.quantity * DOKPROME.NABAVNACENA.value()).rounded(2);
    const bool fits = ZALOGA.ZALOGA.assign(ZALOGA.ZALOGA.value() + request_.quantity) &&
                      ZALOGA.VREDNOSTZALOGE.assign(ZALOGA.VREDNOSTZALOGE.value() + change);
    if (!fits) setLastError(kFileDriverError, "vrednost ne gre v polje zaloge");
    if (fits && stock_->UpdateSilently() == kLevelBenign) return true;
    fail(" OPLA ! - RESNA NAPAKA", " Napaka pri ažuriranju zaloge izdelka !|| " + lastErrorQuote() +
                                       "|| Nove zaloge in nabavne vrednosti ni bilo mogožno "
                                       "ažurirati !");
    return false;
}

bool StockQuantityService::Finish() {
    if (failed_ || !transaction_.active()) {
        Abandon();
        return false;
    }
    if (transaction_.Commit() == DriverCode::Ok) return true;
    fail(" OPOZORILO",
         " Vpisa količine v zalogo ni bilo mogoče shraniti !||" + lastErrorQuote() + "|");
    Abandon();
    return false;
}

void StockQuantityService::Abandon() {
    transaction_.Rollback();
    failed_ = true;
    notifyPosting(notify_, " OBVESTILO",
                  " Vpis količine v zalogo ni bil izveden.|| Dokument, postavke in zaloge so "
                  "ostali nespremenjeni.|",
                  MessageIcon::Information);
}

}  // namespace dv
