#include "stocktake/StocktakePosting.h"

#include "data/RecordBuffers.h"
#include "runtime/ErrorState.h"
#include "runtime/FixedText.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/MovedStockCheck.h"
#include "stocktake/StocktakeLocks.h"
#include "storage/SqlConnection.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

constexpr const char* kWarning = " OPOZORILO";
constexpr const char* kNotice = " OBVESTILO";
constexpr const char* kSerious = " OPLA ! - RESNA NAPAKA";

std::string saleWords(const std::string& saleType) {
    return saleType == "V" ? "na debelo" : "na drobno";
}

}  // namespace

// A template row's difference: which document it goes to and by how much.
struct StocktakePosting::Difference {
    bool surplus;
    Decimal quantity;  // positive
};

StocktakeKey selectedStocktake() {
    return {GLO.DIDEROVIV, static_cast<std::uint16_t>(GLO.ENOTAINV), GLO.VRSTAINV.str()};
}

std::string lastErrorQuote() {
    const ErrorState& error = lastError();
    std::string quote = std::to_string(error.code) + " - " + error.text;
    // On a server the reason is what the user must know: the connection is gone, not the disk.
    if (error.fileErrorText.find(kConnectionLost) != std::string::npos)
        quote += "|| " + std::string(kConnectionLost) + ".";
    return quote;
}

StocktakePosting::StocktakePosting(StocktakeKey key, DayNumber postingDate, std::string chairman,
                                   PostingNotifier notify)
    : key_(std::move(key)),
      postingDate_(postingDate),
      chairman_(std::move(chairman)),
      notify_(std::move(notify)) {}

StocktakePosting::~StocktakePosting() {
    transaction_.Rollback();
}

std::uint16_t StocktakePosting::surplusType(const std::string& saleType) {
    return saleType == "V" ? GLO.VRSTAPROMETAINVVISEKVP : GLO.VRSTAPROMETAINVVISEKMP;
}

std::uint16_t StocktakePosting::shortageType(const std::string& saleType) {
    return saleType == "V" ? static_cast<std::uint16_t>(GLO.VRSTAPROMETAINVMANJKOVP)
                           : GLO.VRSTAPROMETAINVMANJKOMP;
}

void StocktakePosting::notify(std::string caption, std::string text, MessageIcon icon) {
    notifyPosting(notify_, std::move(caption), std::move(text), icon);
}

void StocktakePosting::fail(std::string caption, std::string text) {
    failed_ = true;
    notify(std::move(caption), std::move(text), MessageIcon::Exclamation);
}

bool StocktakePosting::Open() {
    if (!openBatchTables(tables_, {{"INVENTUR", &stocktakes_},
                                   {"INVENDET", &template_},
                                   {"DOKUMENT", &documents_},
                                   {"DOKPROME", &lines_},
                                   {"ZALOGA", &stock_},
                                   {"ARTIKLI", &items_},
                                   {"SFDDV", &rates_},
                                   {"SFEM", &measures_},
                                   {"SFPARTN", &partners_}}))
        return false;
    codeLists_.emplace(*rates_, *measures_);
    itemFields_.emplace(*items_, std::initializer_list<std::string_view>{
                                     "KRATEKNAZIV", "DRUGIDELNAZIVA", "DAVEK", "MERSKAENOTA"});
    stockFields_.emplace(*stock_, std::initializer_list<std::string_view>{
                                      "ZALOGA", "VREDNOSTZALOGE", "ZADNJANABCENA"});
    opened_ = readStocktake() && !documentsExist();
    return opened_;
}

// Reads the stocktake row; false (reported) when it cannot be read or is closed already.
bool StocktakePosting::readStocktake() {
    clearRecord(stocktakes_->table(), stocktakes_->buffer());
    INVENTUR.StevInventure = key_.number;
    INVENTUR.Enota = key_.unit;
    INVENTUR.VRSTAPRODAJE = key_.saleType;
    if (stocktakes_->Fetch(keyOf(*stocktakes_, "STEVILKAKLJUC")) != kLevelBenign) {
        fail(kWarning, " Ne morem prebrati številke inventure v datoteki INVENTUR !||" +
                           lastErrorQuote() + "|");
        return false;
    }
    if (INVENTUR.DATUMZAKLJUCKA > 0) {
        fail(kWarning,
             " Inventura je že zaključena, zato ne morete| ponoviti knjiženja inventurnih "
             "razlik !|");
        return false;
    }
    return true;
}

// Documents (or stray lines) of either kind with the stocktake's number: the posting would mix
// its lines into them, so it does not start. Reported.
bool StocktakePosting::documentsExist() {
    bool found = false;
    for (const bool surplus : {true, false}) {
        const std::string mark = surplus ? "N" : "I";
        const std::uint16_t type =
            surplus ? surplusType(key_.saleType) : shortageType(key_.saleType);
        clearRecord(documents_->table(), documents_->buffer());
        DOK.VRSTAPRODAJE = key_.saleType;
        DOK.ENOTA = key_.unit;
        DOK.OZNAKADOKUMENTA = mark;
        DOK.VRSTAPROMETA = type;
        DOK.STEVILKADOKUMENTA = key_.number;
        found = found ||
                documents_->Fetch(keyOf(*documents_, "ENOTASTEVILKAKLJUC")) == kLevelBenign ||
                lineExists(mark, type);
    }
    if (found)
        fail(kWarning, " Dokument inv. viškov ali manjkov s številko " +
                           std::to_string(key_.number) +
                           " za to skladišče in vrsto prodaje že obstaja !|| Inventurnih razlik ni "
                           "mogoče knjižiti v obstoječi dokument.|");
    return found;
}

bool StocktakePosting::lineExists(const std::string& mark, std::uint16_t type) {
    clearRecord(lines_->table(), lines_->buffer());
    DOKPROME.VRSTAPRODAJE = key_.saleType;
    DOKPROME.ENOTA = key_.unit;
    DOKPROME.OZNAKADOKUMENTA = mark;
    DOKPROME.VRSTAPROMETA = type;
    DOKPROME.STEVILKADOKUMENTA = key_.number;
    DOKPROME.POSTAVKADOKUMENTA = 0;
    if (lines_->driver()->set(keyOf(*lines_, "ENOTASTEVILKAKLJUC")) != DriverCode::Ok) return false;
    if (lines_->NextSilently() != kLevelBenign) return false;
    return DOKPROME.VRSTAPRODAJE == key_.saleType && DOKPROME.ENOTA == key_.unit &&
           DOKPROME.OZNAKADOKUMENTA == mark && DOKPROME.VRSTAPROMETA == type &&
           DOKPROME.STEVILKADOKUMENTA == key_.number;
}

std::vector<MovedStockItem> StocktakePosting::MovedStock(std::int64_t& rows) {
    return movedStock(*template_, *stock_, key_, rows);
}

bool StocktakePosting::Start() {
    if (!opened_) return false;
    if (transaction_.Begin() != DriverCode::Ok) {
        fail(kWarning,
             " Knjiženja inventurnih razlik ni mogoče začeti !||" + lastErrorQuote() + "|");
        return false;
    }
    // Read again inside the transaction: another station may have posted it meanwhile. The
    // documents are numbered by one station at a time.
    if (!readStocktake() || documentsExist() || !takeNumbering("DOKUMENT", "KnjizenjeInventurnihRazlik") || !addHeader(true) ||
        !addHeader(false)) {
        Abandon();
        return false;
    }
    surplusCounter_ = shortageCounter_ = 1;
    return true;
}

bool StocktakePosting::addHeader(bool surplus) {
    const std::uint32_t id = nextDocumentId(*documents_);
    clearRecord(partners_->table(), partners_->buffer());
    SFPARTN.Sifra = GLO.SIFRALASTNIKAPROGRAMA;
    const std::string partnerStatus =
        partners_->FetchOrClear(keyOf(*partners_, "SIFRAKLJUC")) == kLevelBenign ? SFPARTN.DDV.str()
                                                                                 : "";
    const std::string number = std::to_string(key_.number);
    clearRecord(documents_->table(), documents_->buffer());
    DOK.Id = id;
    DOK.VRSTAPRODAJE = key_.saleType;
    DOK.OZNAKADOKUMENTA = surplus ? "N" : "I";
    DOK.VRSTAPROMETA = surplus ? surplusType(key_.saleType) : shortageType(key_.saleType);
    DOK.STEVILKADOKUMENTA = key_.number;
    DOK.ENOTA = key_.unit;
    DOK.DATUMDOKUMENTA = postingDate_;
    DOK.REFERENT = 1;
    DOK.PARTNER = GLO.SIFRALASTNIKAPROGRAMA;
    DOK.STATUSPARTNERJA = partnerStatus;
    DOK.STEVILKADOBAVNICE = surplus ? "INV.VIŠEK" : "INV.MANJKO";
    DOK.DATUMDOBAVNICE = postingDate_;
    if (!surplus) {
        DOK.STEVILKAPREJETEGARACUNA = "INV. " + number;
        DOK.DATUMPREJETEGARACUNA = postingDate_;
        DOK.DATUMSTORITVE = postingDate_;
    }
    (surplus ? DOK.PREVZEL : DOK.IZDAL) = chairman_;
    DOK.OPOMBEDOKUMENTA1 = (surplus ? "Dokument inv. viškov pri inventuri štev. "
                                    : "Dokument inv. manjkov pri inventuri štev. ") +
                           number;
    if (documents_->driver()->add() == DriverCode::Ok) return true;
    fail(kWarning, surplus ? "NAPAKA PRI DODAJANJU DOKUMENTA VIŠKOV"
                           : "NAPAKA PRI DODAJANJU DOKUMENTA MANJKOV");
    return false;
}

bool StocktakePosting::PostRow() {
    if (failed_ || !transaction_.active()) return false;
    if (key_.saleType != "M" && key_.saleType != "V") return true;
    const Decimal counted = INVENDET.PopisanaZaloga;
    const Decimal book = INVENDET.RacZaloga;
    if (counted == book) return true;
    if (counted > book) return postDifference({true, counted - book});
    return postDifference({false, book - counted});
}

// The item, and its rate and unit of measure.
void StocktakePosting::readItem() {
    ARTIKLI.EAN = INVENDET.EAN.str();
    items_->FetchOrClear(keyOf(*items_, "SIFRAKLJUC"));
    codeLists_->Read();
}

bool StocktakePosting::postDifference(const Difference& difference) {
    std::uint32_t& counter = difference.surplus ? surplusCounter_ : shortageCounter_;
    if (counter > kMaxLineNumber) {
        fail(kWarning, std::string(" Dokument inv. ") +
                           (difference.surplus ? "viškov" : "manjkov") + " ne more imeti več kot " +
                           std::to_string(kMaxLineNumber) + " postavk !|");
        return false;
    }
    readItem();
    if (!readOrCreateStock(difference)) return false;
    const Decimal average = ZALOGA.VREDNOSTZALOGE.value().divide(ZALOGA.ZALOGA, 4);
    const Decimal lastPrice = ZALOGA.ZADNJANABCENA;
    const Decimal price = difference.surplus && lastPrice > Decimal() ? lastPrice : average;
    if (!addLine(difference, price)) return false;
    ++counter;
    return updateStock(difference);
}

// The item's stock row in the unit; a missing one is created (empty), so that the document line
// and the stock agree.
bool StocktakePosting::readOrCreateStock(const Difference& difference) {
    if (fetchOrCreateStock(*stock_, key_.unit, INVENDET.EAN.str())) return true;
    fail(kSerious, std::string(" Napaka pri ažuriranju zaloge izdelka za inv. ") +
                       (difference.surplus ? "višek" : "manjko") + " v prodaji " +
                       saleWords(key_.saleType) + "!|| " + lastErrorQuote() +
                       "|| Nove zaloge in nabavne vrednosti ni bilo mogožno ažurirati !");
    return false;
}

bool StocktakePosting::addLine(const Difference& difference, const Decimal& price) {
    const std::uint32_t counter = difference.surplus ? surplusCounter_ : shortageCounter_;
    clearRecord(lines_->table(), lines_->buffer());
    DOKPROME.VRSTAPRODAJE = key_.saleType;
    DOKPROME.OZNAKADOKUMENTA = difference.surplus ? "N" : "I";
    DOKPROME.VRSTAPROMETA =
        difference.surplus ? surplusType(key_.saleType) : shortageType(key_.saleType);
    DOKPROME.STEVILKADOKUMENTA = key_.number;
    DOKPROME.ENOTA = key_.unit;
    DOKPROME.POSTAVKADOKUMENTA = static_cast<std::uint16_t>(counter);
    DOKPROME.EAN = INVENDET.EAN.str();
    DOKPROME.NAZIV = itemLineName();
    DOKPROME.NAZIVEM = codeLists_->measureName();
    DOKPROME.SIFRADDV = ARTIKLI.DAVEK;
    DOKPROME.STOPNJADDV = codeLists_->rate();
    DOKPROME.DATUMDOKUMENTA = postingDate_;
    DOKPROME.PrometNaZalogo = difference.surplus ? "+" : "-";
    DOKPROME.BLAGOALISTORITEV = "B";
    const bool fits = DOKPROME.KOLICINA.assign(difference.quantity) &&
                      DOKPROME.NABAVNACENA.assign(price) &&
                      DOKPROME.PRODAJNACENABREZDDV.assign(price) &&
                      DOKPROME.PRODAJNACENAZDDV.assign(
                          (price * (Decimal(100) + codeLists_->rate())).divide(Decimal(100), 6));
    if (!fits) setLastError(kFileDriverError, "vrednost ne gre v polje postavke");
    if (fits && lines_->driver()->add() == DriverCode::Ok) return true;
    fail("", std::string(" Hudo !| Postavke dokumenta ") +
                 (difference.surplus ? "viškov" : "manjkov") + " v prodaji| " +
                 saleWords(key_.saleType) + " ni bilo mogoče dodati !|| " + lastErrorQuote() +
                 "|| IZDELEK: " + INVENDET.EAN.str() + " - " + INVENDET.Naziv.str());
    return false;
}

// Quantity and value of the stock row: the value moves by the difference at the average price
// A = W / Q (4 places), E = D × A (4 places), the value kept to 2 places.
bool StocktakePosting::updateStock(const Difference& difference) {
    const Decimal quantity = ZALOGA.ZALOGA;
    const Decimal value = ZALOGA.VREDNOSTZALOGE;
    const Decimal average = value.divide(quantity, 4);
    const Decimal change = (difference.quantity * average).rounded(4);
    const int sign = difference.surplus ? 1 : -1;
    const bool fits = ZALOGA.ZALOGA.assign(quantity + Decimal(sign) * difference.quantity) &&
                      ZALOGA.VREDNOSTZALOGE.assign(value + Decimal(sign) * change);
    if (!fits) setLastError(kFileDriverError, "vrednost ne gre v polje zaloge");
    if (fits && stock_->UpdateSilently() == kLevelBenign) return true;
    fail(kSerious, std::string(" Napaka pri ažuriranju zaloge izdelka za inv. ") +
                       (difference.surplus ? "višek" : "manjko") + " v prodaji " +
                       saleWords(key_.saleType) + "!|| " + lastErrorQuote() +
                       "|| Nove zaloge in nabavne vrednosti ni bilo mogožno ažurirati !");
    return false;
}

bool StocktakePosting::Finish() {
    if (failed_ || !transaction_.active()) {
        Abandon();
        return false;
    }
    if (!readStocktake()) {
        Abandon();
        return false;
    }
    INVENTUR.DATUMINVENTURE = postingDate_;
    INVENTUR.DATUMZAKLJUCKA = today();
    INVENTUR.DOKUMENTMANJKOV = key_.number;
    INVENTUR.DOKUMENTVISKOV = key_.number;
    if (stocktakes_->UpdateSilently() != kLevelBenign) {
        fail(kWarning, " Ne morem zapisati datuma zaključka inventure in datoteko INVENTUR !||" +
                           lastErrorQuote() + "|");
        Abandon();
        return false;
    }
    if (transaction_.Commit() != DriverCode::Ok) {
        fail(kWarning,
             " Knjiženja inventurnih razlik ni bilo mogoče shraniti !||" + lastErrorQuote() + "|");
        Abandon();
        return false;
    }
    notify(kNotice,
           " Knjiženje  viškov in manjkov za inventuro št. " + std::to_string(key_.number) +
               " je končano.||" + " Število zapisov inventurnih viškov  " +
               std::to_string(surplusLines()) + ", inventurnih manjkov pa " +
               std::to_string(shortageLines()) + "|",
           MessageIcon::Information);
    return true;
}

void StocktakePosting::Abandon() {
    transaction_.Rollback();
    failed_ = true;
    notify(kNotice,
           " Knjiženje inventurnih razlik za inventuro št. " + std::to_string(key_.number) +
               " ni bilo izvedeno.|| Dokumenti, postavke in zaloge so ostali "
               "nespremenjeni,| inventura ostaja odprta.|",
           MessageIcon::Information);
}

}  // namespace dv
