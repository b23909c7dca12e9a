#include <cstdint>

#include "data/RecordBuffers.h"
#include "framework/ProcedureDefinition.h"
#include "framework/WindowProcedure.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The highest partner codes in use among the suppliers (1 to 999) and the customers (10 000 to
// 99 999), read in the order of the codes.
void findLastCodes() {
    GLO.ZADNJIDOBAVITELJ = 0;
    GLO.ZADNJIKUPEC = 0;
    FileManager& partners = tableAccess().file("SFPARTN");
    TableGuard guard;
    if (guard.open(partners) != kLevelBenign || partners.UseFile() != kLevelBenign ||
        partners.driver() == nullptr)
        return;
    // The partner form that asks keeps its record current: its save writes the record read
    // last, which must not be the last one this scan read.
    const SnapshotHandle formsRecord = partners.SnapshotPosition();
    if (partners.driver()->setToStart(partners.table().findKey("SIFRAKLJUC")) == DriverCode::Ok)
        while (partners.NextSilently() == kLevelBenign) {
            const std::uint32_t code = SFPARTN.Sifra;
            if (code >= 1 && code <= 999) GLO.ZADNJIDOBAVITELJ = code;
            if (code >= 10000 && code <= 99999) GLO.ZADNJIKUPEC = code;
        }
    partners.RestorePosition(formsRecord);
}

}  // namespace

// How partner codes are numbered, with the last supplier and customer codes in use.
DV_PROCEDURE(PomocSifraPartnerja) {
    findLastCodes();
    WindowProcedure window{std::string(procedure)};
    window.AddEndButton("?Zapri", RespCompleted);
    return window.Execute();
}

}  // namespace dv
