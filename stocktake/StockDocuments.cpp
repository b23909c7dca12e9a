#include "stocktake/StockDocuments.h"

#include "data/RecordBuffers.h"
#include "runtime/CodePage1250.h"
#include "runtime/FixedText.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {

void notifyPosting(const PostingNotifier& notify, std::string caption, std::string text,
                   MessageIcon icon) {
    MessageBoxRequest box;
    box.caption = std::move(caption);
    box.text = std::move(text);
    box.icon = icon;
    if (notify)
        notify(box);
    else
        currentFrontEnd().messageBox(box);
}

bool openBatchTables(TableGuard& tables,
                     std::initializer_list<std::pair<const char*, FileManager**>> files) {
    for (const auto& [name, file] : files) {
        FileManager& opened = tableAccess().file(name);
        if (tables.open(opened) != kLevelBenign || opened.UseFile() != kLevelBenign) return false;
        *file = &opened;
    }
    return true;
}

int keyOf(FileManager& file, const char* name) {
    return file.table().findKey(name);
}

std::uint32_t nextDocumentId(FileManager& documents) {
    TableDriver& driver = *documents.driver();
    if (driver.setToEnd(keyOf(documents, "IDKLJUC")) == DriverCode::Ok &&
        driver.previous() == DriverCode::Ok)
        return DOK.Id + 1;
    return 1;
}

std::string itemLineName() {
    return cp1250ToUtf8(trimTrailingBlanks(std::string(ARTIKLI.KRATEKNAZIV.raw()) +
                                           std::string(ARTIKLI.DRUGIDELNAZIVA.raw())));
}

bool fetchOrCreateStock(FileManager& stock, std::uint16_t unit, const std::string& code) {
    ZALOGA.EAN = code;
    ZALOGA.ENOTA = unit;
    if (stock.Fetch(keyOf(stock, "SIFRAKLJUC")) == kLevelBenign) return true;
    clearRecord(stock.table(), stock.buffer());
    ZALOGA.EAN = code;
    ZALOGA.ENOTA = unit;
    return stock.InsertSilently() == kLevelBenign;
}

void ItemCodeLists::Read() {
    auto rate = rateByCode_.find(ARTIKLI.DAVEK);
    if (rate == rateByCode_.end()) {
        SFDDV.SifraDDV = ARTIKLI.DAVEK;
        rates_.FetchOrClear(keyOf(rates_, "SIFRADDVKLJUC"));
        rate = rateByCode_.emplace(ARTIKLI.DAVEK, SFDDV.STOPNJADDV.value()).first;
    }
    rate_ = rate->second;
    auto measure = measureByCode_.find(ARTIKLI.MERSKAENOTA);
    if (measure == measureByCode_.end()) {
        SFEM.SIFRAEM = ARTIKLI.MERSKAENOTA;
        measures_.FetchOrClear(keyOf(measures_, "SIFRAKLJUC"));
        measure = measureByCode_.emplace(ARTIKLI.MERSKAENOTA, SFEM.NAZIVEM.str()).first;
    }
    measureName_ = measure->second;
}

}  // namespace dv
