#include "stocktake/StockQuantityService.h"

#include <limits>

#include "data/RecordBuffers.h"
#include "runtime/CodePage1250.h"
#include "runtime/ErrorState.h"
#include "runtime/FixedText.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

constexpr std::uint32_t kMaxLineNumber = std::numeric_limits<std::uint16_t>::max();
constexpr std::int32_t kHighestNumber = 999999;

int keyOf(FileManager& file, const char* name) { return file.table().findKey(name); }

std::string errorText() { return lastError().text; }

}  // namespace

StockQuantityService::StockQuantityService(StockQuantityRequest request, PostingNotifier notify)
    : request_(std::move(request)), notify_(std::move(notify)) {}

StockQuantityService::~StockQuantityService() { transaction_.Rollback(); }

void StockQuantityService::fail(std::string caption, std::string text) {
    failed_ = true;
    MessageBoxRequest box;
    box.caption = std::move(caption);
    box.text = std::move(text);
    box.icon = box.caption.empty() ? MessageIcon::None : MessageIcon::Exclamation;
    if (notify_)
        notify_(box);
    else
        currentFrontEnd().messageBox(box);
}

bool StockQuantityService::Start() {
    TableAccess& access = tableAccess();
    FileManager** files[] = {&documents_, &lines_, &stock_, &items_, &rates_, &measures_};
    const char* names[] = {"DOKUMENT", "DOKPROME", "ZALOGA", "ARTIKLI", "SFDDV", "SFEM"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        FileManager& file = access.file(names[i]);
        if (tables_.open(file) != kLevelBenign || file.UseFile() != kLevelBenign) return false;
        *files[i] = &file;
    }
    if (transaction_.Begin() != DriverCode::Ok) {
        fail(" OPOZORILO", " Vpisa količine v zalogo ni mogoče začeti !||" + lastErrorQuote() + "|");
        return false;
    }
    if (addHeader()) return true;
    Abandon();
    return false;
}

// The header: the document of the kind with the highest number up to 999999 with its number
// raised by 1 (its other fields taken over), or a cleared one numbered 1.
bool StockQuantityService::addHeader() {
    TableDriver& driver = *documents_->driver();
    std::uint32_t id = 1;
    if (driver.setToEnd(keyOf(*documents_, "IDKLJUC")) == DriverCode::Ok &&
        driver.previous() == DriverCode::Ok)
        id = DOK.Id + 1;
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
                       driver.previous() == DriverCode::Ok && DOK.VRSTAPRODAJE == request_.saleType &&
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
    SFEM.SIFRAEM = ARTIKLI.MERSKAENOTA;
    measures_->FetchOrClear(keyOf(*measures_, "SIFRAKLJUC"));
    SFDDV.SifraDDV = ARTIKLI.DAVEK;
    rates_->FetchOrClear(keyOf(*rates_, "SIFRADDVKLJUC"));
    if (!readOrCreateStock(code)) return false;
    if (ZALOGA.ZADNJANABCENA.value().isZero()) ZALOGA.ZADNJANABCENA = Decimal(1);
    if (++line_ > kMaxLineNumber) {
        fail(" OPOZORILO", " Dokument ne more imeti več kot " + std::to_string(kMaxLineNumber) +
                               " postavk !|");
        return false;
    }
    return addLine(code) && updateStock();
}

bool StockQuantityService::readOrCreateStock(const std::string& code) {
    ZALOGA.ENOTA = request_.unit;
    ZALOGA.EAN = code;
    if (stock_->Fetch(keyOf(*stock_, "ENOTAKLJUC")) == kLevelBenign) return true;
    clearRecord(stock_->table(), stock_->buffer());
    ZALOGA.ENOTA = request_.unit;
    ZALOGA.EAN = code;
    if (stock_->InsertSilently() == kLevelBenign) return true;
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
    DOKPROME.NAZIV = cp1250ToUtf8(trimTrailingBlanks(std::string(ARTIKLI.KRATEKNAZIV.raw()) +
                                                     std::string(ARTIKLI.DRUGIDELNAZIVA.raw())));
    DOKPROME.NAZIVEM = SFEM.NAZIVEM.str();
    DOKPROME.SIFRADDV = ARTIKLI.DAVEK;
    DOKPROME.STOPNJADDV = SFDDV.STOPNJADDV;
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
    fail(" OPOZORILO", " Vpisa količine v zalogo ni bilo mogoče shraniti !||" + lastErrorQuote() + "|");
    Abandon();
    return false;
}

void StockQuantityService::Abandon() {
    transaction_.Rollback();
    failed_ = true;
    MessageBoxRequest box;
    box.caption = " OBVESTILO";
    box.text = " Vpis količine v zalogo ni bil izveden.|| Dokument, postavke in zaloge so ostali "
               "nespremenjeni.|";
    box.icon = MessageIcon::Information;
    if (notify_)
        notify_(box);
    else
        currentFrontEnd().messageBox(box);
}

}  // namespace dv
