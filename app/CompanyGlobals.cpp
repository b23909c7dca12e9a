#include "app/CompanyGlobals.h"

#include "data/RecordBuffers.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

// The one company this program works for.
constexpr std::uint16_t kCompany = 1;

void copyFromCompanyRecord() {
    GLO.NAZIVFIRME = APPINS.NAZIVPODJETJA.str();
    GLO.NAZIVIIDEL = APPINS.NAZIVIIDEL.str();
    GLO.NASLOVFIRME = APPINS.NASLOV.str();
    GLO.POSTAKRAJ = APPINS.POSTAKRAJ.str();
    GLO.TELEFON_1 = APPINS.TELEFON_1.str();
    GLO.TELEFON_2 = APPINS.TELEFON_2.str();
    GLO.TELEFAKS = APPINS.TELEFAKS.str();
    GLO.E_MAIL = APPINS.E_MAIL.str();
    GLO.SPLETNINASLOV = APPINS.SPLETNINASLOV.str();
    GLO.PODPISNIK = APPINS.PODPISNIK.str();
    GLO.TITULAPODPISNIKA = APPINS.TITULAPODPISNIKA.str();
    GLO.DAVCNASTEVILKA = APPINS.DAVCNASTEVILKA;
    GLO.ZAVEZANEC = APPINS.ZAVEZANEC.str();
    GLO.OSNOVNIKAPITAL = APPINS.OSNOVNIKAPITAL;
    GLO.SIFRADEJAVNOSTI = APPINS.SIFRADEJAVNOSTI.str();
    GLO.STEVILKASRG = APPINS.STEVILKASRG.str();
    GLO.DATUMSRG = APPINS.DATUMSRG;
    GLO.REGISTRACIJAPRISODISCU = APPINS.REGISTRACIJAPRISODISCU.str();
    GLO.SIFRAPOSLOVNEGARACUNA = APPINS.SIFRAPOSLOVNEGARACUNA;
    GLO.DNIVALUTE = APPINS.DNIVALUTE;
    GLO.LOGOTIP1 = APPINS.LOGOTIP1.str();
    GLO.LOGOTIP2 = APPINS.LOGOTIP2.str();
    GLO.LOGOTIPZIG = APPINS.LOGOTIPZIG.str();
    GLO.LOGOTIPPODPIS = APPINS.LOGOTIPPODPIS.str();
}

}  // namespace

void copyCompanyGlobals() {
    FileManager& company = tableAccess().file("APPINS");
    if (company.Open() != kLevelBenign) return;
    clearRecord(company.table(), company.buffer());
    APPINS.SIFRAPODJETJA = kCompany;
    const bool found = company.Fetch(company.table().findKey("FIRMAKLJUC")) == kLevelBenign;
    if (found && !APPINS.NAZIVPODJETJA.blank()) copyFromCompanyRecord();
    company.Close();
}

}  // namespace dv
