#include "masterdata/OknoIzpisaEnote.h"

#include "masterdata/IzpisSifrantEnote.h"
#include "masterdata/PrintOptionsWindow.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

constexpr std::uint8_t kByName = 1;
constexpr std::uint8_t kByCode = 2;

}  // namespace

int OknoIzpisaEnote() {
    // The order is kept between openings; one the printout does not know starts as "by name",
    // so that one of the two choices is always marked.
    if (GLO.SORT != kByName && GLO.SORT != kByCode) GLO.SORT = kByName;
    PrintOptionsWindow window("OknoIzpisaEnote", "Šifrant skladišč blaga - izdelkov",
                              "IzpisSifrantEnote", IzpisSifrantEnote);
    window.setFirstField("?GLO:SORT");
    return window.Execute();
}

}  // namespace dv
