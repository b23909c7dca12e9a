#include "terminal/CaptureImport.h"

#include "data/RecordBuffers.h"
#include "runtime/CodePage1250.h"
#include "runtime/ErrorState.h"
#include "runtime/MessageTable.h"
#include "runtime/TextCase.h"
#include "runtime/TimeOfDay.h"
#include "schema/Records.h"
#include "storage/FileManager.h"

namespace dv {
namespace {

// The widest code the item master keeps, and the shorter one of the second and third lookups.
constexpr std::size_t kCodeWidth = 13;
constexpr std::size_t kShortCodeWidth = 12;

// The first 40 characters of the item's name: the 20-character short name followed by the
// first 20 characters of the second part, as stored.
std::string itemName40() {
    std::string name(ARTIKLI.KRATEKNAZIV.raw());
    name += ARTIKLI.DRUGIDELNAZIVA.raw().substr(0, 20);
    return name;
}

std::string_view capturedCode() {
    return trimTrailingBlanks(INVASCI.EANKODA.raw());
}

}  // namespace

bool isCaptureCode(std::string_view code) {
    return !code.empty() && code.front() >= '0' && code.front() <= '9';
}

std::optional<Decimal> captureQuantity(std::string_view text) {
    const std::optional<Decimal> quantity = Decimal::parse(text);
    if (!quantity || !quantity->fitsField(decltype(INVENDET.PopisanaZaloga)::digits,
                                          decltype(INVENDET.PopisanaZaloga)::places))
        return std::nullopt;
    return quantity;
}

CaptureImport::CaptureImport(FileManager& items, FileManager& lines, FileManager& archive,
                             StocktakeKey key)
    : items_(items),
      lines_(lines),
      archive_(archive),
      key_(std::move(key)),
      itemKey_(items.table().findKey("SIFRAKLJUC")),
      archiveKey_(archive.table().findKey("InveturaKljuc")) {}

CaptureLine CaptureImport::importLine(const Decimal& quantity) {
    const bool found = findItem();
    if (fetchLine()) {
        if (!archive(quantity, lastCounter() + 1, found)) return fail("Napaka add INVTPS ");
        if (!addToLine(quantity)) return fail("Napaka PUT INVEDET ");
    } else {
        if (found && !addLine(quantity)) return fail("Napaka ADD INVENDET ");
        if (!archive(quantity, 0, found)) return fail("Napaka add INVTPS ");
    }
    ++posted_;
    return CaptureLine::Posted;
}

// The item of the captured code, first match winning: its first 13 characters (a shorter code
// as it is), its first 12, the 12 from the second on. The matched code is the item's own, or
// without an item the first 13 characters of the capture.
bool CaptureImport::findItem() {
    const std::string_view code = capturedCode();
    const std::string_view full = code.substr(0, kCodeWidth);
    const bool found =
        itemExists(full) ||
        (code.size() > kShortCodeWidth && itemExists(code.substr(0, kShortCodeWidth))) ||
        (code.size() > 1 && itemExists(code.substr(1, kShortCodeWidth)));
    // The item's code equals the code sought: the key compares exactly.
    matched_ = found ? trimTrailingBlanks(ARTIKLI.EAN.raw()) : full;
    return found;
}

// Whether an item has the code; the item's key answers it without reading the item.
bool CaptureImport::itemExists(std::string_view code) {
    ARTIKLI.EAN.setRaw(code);
    return items_.driver()->contains(itemKey_);
}

bool CaptureImport::fetchLine() {
    clearRecord(lines_.table(), lines_.buffer());
    INVENDET.StevInventure = key_.number;
    INVENDET.Enota = key_.unit;
    INVENDET.VrstaProdaje = key_.saleType;
    INVENDET.EAN.setRaw(matched_);
    return lines_.Fetch(lines_.primaryKey()) == kLevelBenign;
}

bool CaptureImport::Start() {
    counters_.clear();
    lastRecord_ = 0;
    TableDriver& driver = *archive_.driver();
    const int numbers = archive_.primaryKey();
    if (driver.setToEnd(numbers) != DriverCode::Ok) return readFailed();
    if (const Level read = archive_.PreviousSilently(); read == kLevelBenign)
        lastRecord_ = INVTPS.Zapis;
    else if (!archive_.atEndOfFile())
        return readFailed();
    return readCounters();
}

// The stocktake's archived lines in code and record-number order: the last one of each code
// holds its counter.
bool CaptureImport::readCounters() {
    clearRecord(archive_.table(), archive_.buffer());
    INVTPS.STEVINVENTURE = key_.number;
    INVTPS.ENOTA = key_.unit;
    INVTPS.VRSTAPRODAJE = key_.saleType;
    if (archive_.driver()->set(archiveKey_) != DriverCode::Ok) return readFailed();
    Level read;
    while ((read = archive_.NextSilently()) == kLevelBenign && INVTPS.STEVINVENTURE == key_.number &&
           INVTPS.ENOTA == key_.unit && INVTPS.VRSTAPRODAJE == key_.saleType)
        counters_[std::string(trimTrailingBlanks(INVTPS.EANKODA.raw()))] = INVTPS.USPESNOKNJIZENJE;
    return read == kLevelBenign || archive_.atEndOfFile() || readFailed();
}

bool CaptureImport::readFailed() {
    archive_.NoteError(message::RecordRetrievalError);
    (void)archive_.RaiseLastError();
    return false;
}

// The counter of the code's last archived line in this stocktake; 0 when there is none.
std::int32_t CaptureImport::lastCounter() const {
    const auto known = counters_.find(matched_);
    return known == counters_.end() ? 0 : known->second;
}

bool CaptureImport::archive(const Decimal& quantity, std::int32_t counter, bool found) {
    clearRecord(archive_.table(), archive_.buffer());
    INVTPS.STEVINVENTURE = key_.number;
    INVTPS.ENOTA = key_.unit;
    INVTPS.VRSTAPRODAJE = key_.saleType;
    INVTPS.EANKODA.setRaw(matched_);
    // Two places, rounded half away from zero; a count that fits the template fits here.
    (void)INVTPS.KOLICINA.assign(quantity);
    INVTPS.DATUMKNJIZENJA = today();
    INVTPS.URAKNJIZENJA = now();
    INVTPS.USPESNOKNJIZENJE = counter;
    INVTPS.JENIVARTIKLIH = found ? 1 : 0;
    INVTPS.Zapis = lastRecord_ + 1;
    // Numbered here rather than by the table, which would seek the highest number each time;
    // a failure is reported as the table reports it.
    if (archive_.driver()->add() != DriverCode::Ok) {
        archive_.NoteError(message::RecordInsertError);
        (void)archive_.RaiseLastError();
        return false;
    }
    lastRecord_ = INVTPS.Zapis;
    counters_[matched_] = counter;
    return true;
}

// A line with a count entered adds the quantity to it; any other takes the quantity as its
// count, which is then entered. Three places, rounded half away from zero. A line that another
// station saved since it was read (a count typed on the form) is read again and the quantity
// added to what that station saved, so that neither loses the other's count.
bool CaptureImport::addToLine(const Decimal& quantity) {
    constexpr int kAttempts = 20;
    for (int attempt = 1;; ++attempt) {
        const Decimal count =
            INVENDET.NarejenVnos == 1 ? Decimal(INVENDET.PopisanaZaloga) + quantity : quantity;
        if (!INVENDET.PopisanaZaloga.assign(count)) {
            setLastError(kFileDriverError, "količina ne gre v polje popisa");
            return false;
        }
        INVENDET.NarejenVnos = 1;
        const DriverCode written = lines_.driver()->put();
        if (written != DriverCode::ChangedByOther || attempt == kAttempts) return written == DriverCode::Ok;
        if (!fetchLine()) return false;
    }
}

bool CaptureImport::addLine(const Decimal& quantity) {
    ARTIKLI.EAN.setRaw(matched_);
    if (items_.Fetch(itemKey_) != kLevelBenign) return false;
    const std::string name = itemName40();
    clearRecord(lines_.table(), lines_.buffer());
    INVENDET.StevInventure = key_.number;
    INVENDET.Enota = key_.unit;
    INVENDET.VrstaProdaje = key_.saleType;
    INVENDET.EAN.setRaw(matched_);
    INVENDET.Naziv.setRaw(name);
    (void)INVENDET.PopisanaZaloga.assign(quantity);
    INVENDET.NarejenVnos = 1;
    return lines_.driver()->add() == DriverCode::Ok;
}

// The message, then the runtime's error text and, for an error of the driver's own, its text.
CaptureLine CaptureImport::fail(std::string_view message) {
    const ErrorState& error = lastError();
    caption_ = "IZDELEK " + cp1250ToUtf8(matched_);
    failure_ = std::string(message) + error.text;
    if (!error.fileErrorText.empty() && error.fileErrorText != error.text)
        failure_ += ": " + error.fileErrorText;
    return CaptureLine::Failed;
}

}  // namespace dv
