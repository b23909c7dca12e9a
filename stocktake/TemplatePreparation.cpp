#include "stocktake/TemplatePreparation.h"

#include "data/RecordBuffers.h"
#include "runtime/ErrorState.h"
#include "runtime/TextCase.h"
#include "schema/Records.h"
#include "storage/FileManager.h"

namespace dv {
namespace {

// The runtime's error as the template's messages end: code, " - ", text.
std::string lastErrorSuffix() {
    const ErrorState& error = lastError();
    return std::to_string(error.code) + " - " + error.text;
}

// The first 40 characters of the item's name: the 20-character short name followed by the
// first 20 characters of the second part, as stored (code page bytes, padding included).
void copyItemName() {
    std::string name(ARTIKLI.KRATEKNAZIV.raw());
    name += ARTIKLI.DRUGIDELNAZIVA.raw().substr(0, 20);
    INVENDET.Naziv.setRaw(name);
}

}  // namespace

TemplatePreparation::TemplatePreparation(FileManager& items, FileManager& stock,
                                         FileManager& lines, bool repreparation,
                                         bool countsFromStock)
    : items_(items),
      stock_(stock),
      lines_(lines),
      repreparation_(repreparation),
      countsFromStock_(countsFromStock),
      stockByUnit_(stock.table().findKey("ENOTAKLJUC")) {}

TemplateItem TemplatePreparation::prepareItem() {
    readStock();
    const TemplateItem result = repreparation_ ? refreshLine() : addLine();
    if (result == TemplateItem::Written) ++written_;
    return result;
}

// The item's stock row in the stocktake's unit; a cleared buffer (zero stock and price) when
// the unit has none.
void TemplatePreparation::readStock() {
    clearRecord(stock_.table(), stock_.buffer());
    ZALOGA.ENOTA = INVENTUR.Enota;
    ZALOGA.EAN = ARTIKLI.EAN;
    (void)stock_.FetchOrClear(stockByUnit_);
}

void TemplatePreparation::locateLine() {
    INVENDET.StevInventure = INVENTUR.StevInventure;
    INVENDET.Enota = INVENTUR.Enota;
    INVENDET.VrstaProdaje = INVENTUR.VRSTAPRODAJE;
    INVENDET.EAN = ARTIKLI.EAN;
}

TemplateItem TemplatePreparation::addLine() {
    clearRecord(lines_.table(), lines_.buffer());
    locateLine();
    INVENDET.Skupina = ARTIKLI.SKUPINA;
    copyItemName();
    INVENDET.RacZaloga = ZALOGA.ZALOGA.value();
    INVENDET.PopisanaZaloga = countsFromStock_ ? ZALOGA.ZALOGA.value() : Decimal();
    INVENDET.VPCENA = ARTIKLI.CENABREZDDV.value();
    INVENDET.MPCENA = ARTIKLI.MPCENA.value();
    INVENDET.NABCENA = ZALOGA.ZADNJANABCENA.value();
    INVENDET.NarejenVnos = 0;
    if (lines_.InsertSilently() == kLevelBenign) return TemplateItem::Written;
    return fail(" Napaka pri zapisu v bazo INVENDET ! || " + lastErrorSuffix());
}

TemplateItem TemplatePreparation::refreshLine() {
    clearRecord(lines_.table(), lines_.buffer());
    locateLine();
    if (lines_.Fetch(lines_.primaryKey()) != kLevelBenign) {
        const std::string name(trimTrailingBlanks(ARTIKLI.KRATEKNAZIV.raw()));
        return fail("Skupina: " + std::to_string(ARTIKLI.SKUPINA) + "|Izdelek: " +
                    cp1250ToUtf8(std::string(ARTIKLI.EAN.raw()) + name) +
                    "||Čudna napaka ... zapisa INVENDET ne morem prebrati !" +
                    lastErrorSuffix());
    }
    INVENDET.RacZaloga = ZALOGA.ZALOGA.value();
    INVENDET.VPCENA = ARTIKLI.CENABREZDDV.value();
    INVENDET.MPCENA = ARTIKLI.MPCENA.value();
    INVENDET.NABCENA = ZALOGA.ZADNJANABCENA.value();
    if (lines_.UpdateSilently() == kLevelBenign) return TemplateItem::Written;
    return fail("Napaka pri ažuriranje zapisa INVENDET !" + lastErrorSuffix());
}

TemplateItem TemplatePreparation::fail(std::string text) {
    failure_ = std::move(text);
    ++failed_;
    return TemplateItem::Failed;
}

}  // namespace dv
