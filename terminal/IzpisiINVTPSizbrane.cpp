#include <algorithm>
#include <tuple>

#include "data/Dictionary.h"
#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "framework/BatchRecordSource.h"
#include "framework/ProcedureDefinition.h"
#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "framework/ReportProcedure.h"
#include "runtime/LayoutResources.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"
#include "terminal/MarkedArchivePrint.h"

namespace dv {
namespace {

// The marked archive records, read by their record numbers in the order of
// INVTPS:PoSifriKljuc (code, then record number): the same records a walk over the whole archive
// in that order would pick, without reading the records that are not marked. A record deleted
// since it was marked is left out.
class MarkedRecords final : public RecordSource {
  public:
    MarkedRecords(FileManager& archive, const std::vector<std::int32_t>& records)
        : archive_(archive), records_(records), key_(archive.table().findKey("ZapisKljuc")) {}

    Level restart() override {
        order_.clear();
        for (const std::int32_t zapis : records_) {
            if (!read(zapis)) continue;
            order_.push_back({INVTPS.EANKODA.str(), zapis});
        }
        // The key compares its code byte for byte, as std::string does.
        std::sort(order_.begin(), order_.end());
        order_.erase(std::unique(order_.begin(), order_.end()), order_.end());
        next_ = 0;
        return kLevelBenign;
    }

    ReadResult next() override {
        while (next_ < order_.size())
            if (read(order_[next_++].second)) return ReadResult::Record;
        return ReadResult::End;
    }

    std::int64_t records() override { return static_cast<std::int64_t>(order_.size()); }

  private:
    bool read(std::int32_t zapis) {
        clearRecord(archive_.table(), archive_.buffer());
        INVTPS.Zapis = zapis;
        return archive_.FetchOrClear(key_) == kLevelBenign;
    }

    FileManager& archive_;
    const std::vector<std::int32_t>& records_;
    const int key_;
    std::vector<std::pair<std::string, std::int32_t>> order_;
    std::size_t next_ = 0;
};

// The item of the record in the INVTPS buffer, by the first 13 characters of its code; the
// buffer is cleared when no item has it.
void readItem(FileManager& items) {
    clearRecord(items.table(), items.buffer());
    ARTIKLI.EAN = INVTPS.EANKODA.str().substr(0, ARTIKLI.EAN.width);
    (void)items.FetchOrClear(items.table().findKey("SIFRAKLJUC"));
}

void readUnit(FileManager& units, std::uint16_t unit) {
    clearRecord(units.table(), units.buffer());
    SFENOTE.Enota = unit;
    (void)units.FetchOrClear(units.table().findKey("ENOTAKLJUC"));
}

}  // namespace

// The printout of the archive records marked in BrowseINVTPS. Started without them (no print of
// marked rows runs) it ends at once, cancelled.
DV_PROCEDURE(IzpisiINVTPSizbrane) {
    const MarkedArchivePrint* marked = markedArchivePrint();
    if (marked == nullptr) return RespCancelled;
    FileManager& archive = tableAccess().file("INVTPS");
    FileManager& items = tableAccess().file("ARTIKLI");
    FileManager& units = tableAccess().file("SFENOTE");
    // The list over the archive finds its buffers as it left them.
    TableGuard tables;
    for (FileManager* file : {&archive, &items, &units})
        if (tables.open(*file) != kLevelBenign) return RespCancelled;
    readUnit(units, marked->unit);
    MarkedRecords records(archive, marked->records);
    const ProgramNames names;
    const std::string name(procedure);
    Window progress(procedureLayout(name));
    ReportProcedure report(name, name, reportLayout(name), names, &programErrors(),
                           &programSettings());
    report.SetUp(progress, records);
    report.onRecord([&] {
        readItem(items);
        report.report().Print("Detail");
        return kLevelBenign;
    });
    return report.Run();
}

}  // namespace dv
