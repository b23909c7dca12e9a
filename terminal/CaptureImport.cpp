#include "terminal/CaptureImport.h"

#include <limits>

#include "data/RecordBuffers.h"
#include "runtime/CodePage1250.h"
#include "runtime/ErrorState.h"
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
        fetchItem(full) ||
        (code.size() > kShortCodeWidth && fetchItem(code.substr(0, kShortCodeWidth))) ||
        (code.size() > 1 && fetchItem(code.substr(1, kShortCodeWidth)));
    matched_ = found ? std::string(trimTrailingBlanks(ARTIKLI.EAN.raw())) : std::string(full);
    return found;
}

bool CaptureImport::fetchItem(std::string_view code) {
    ARTIKLI.EAN.setRaw(code);
    return items_.Fetch(itemKey_) == kLevelBenign;
}

bool CaptureImport::fetchLine() {
    clearRecord(lines_.table(), lines_.buffer());
    INVENDET.StevInventure = key_.number;
    INVENDET.Enota = key_.unit;
    INVENDET.VrstaProdaje = key_.saleType;
    INVENDET.EAN.setRaw(matched_);
    return lines_.Fetch(lines_.primaryKey()) == kLevelBenign;
}

// The counter of the code's last archived line in this stocktake: the record before the highest
// possible record number among the stocktake's records of the code; 0 when there is none.
std::int32_t CaptureImport::lastCounter() {
    if (const auto known = counters_.find(matched_); known != counters_.end())
        return known->second;
    clearRecord(archive_.table(), archive_.buffer());
    INVTPS.STEVINVENTURE = key_.number;
    INVTPS.ENOTA = key_.unit;
    INVTPS.VRSTAPRODAJE = key_.saleType;
    INVTPS.EANKODA.setRaw(matched_);
    INVTPS.Zapis = std::numeric_limits<std::int32_t>::max();
    if (archive_.driver()->set(archiveKey_) != DriverCode::Ok ||
        archive_.PreviousSilently() != kLevelBenign)
        return 0;
    const bool same = INVTPS.STEVINVENTURE == key_.number && INVTPS.ENOTA == key_.unit &&
                      INVTPS.VRSTAPRODAJE == key_.saleType &&
                      trimTrailingBlanks(INVTPS.EANKODA.raw()) == matched_;
    return same ? INVTPS.USPESNOKNJIZENJE : 0;
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
    if (archive_.Insert() != kLevelBenign) return false;
    counters_[matched_] = counter;
    return true;
}

// A line with a count entered adds the quantity to it; any other takes the quantity as its
// count, which is then entered. Three places, rounded half away from zero.
bool CaptureImport::addToLine(const Decimal& quantity) {
    const Decimal count =
        INVENDET.NarejenVnos == 1 ? Decimal(INVENDET.PopisanaZaloga) + quantity : quantity;
    if (!INVENDET.PopisanaZaloga.assign(count)) {
        setLastError(kFileDriverError, "količina ne gre v polje popisa");
        return false;
    }
    INVENDET.NarejenVnos = 1;
    return lines_.driver()->put() == DriverCode::Ok;
}

bool CaptureImport::addLine(const Decimal& quantity) {
    clearRecord(lines_.table(), lines_.buffer());
    INVENDET.StevInventure = key_.number;
    INVENDET.Enota = key_.unit;
    INVENDET.VrstaProdaje = key_.saleType;
    INVENDET.EAN.setRaw(matched_);
    INVENDET.Naziv.setRaw(itemName40());
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
