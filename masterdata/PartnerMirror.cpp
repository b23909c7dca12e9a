#include "masterdata/PartnerMirror.h"

#include "data/RecordBuffers.h"
#include "runtime/ErrorState.h"
#include "runtime/TextCase.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"
#include "storage/TableGuard.h"

namespace dv {
namespace {

// The failure texts, each followed by the runtime's error code, " - " and its error text.
constexpr const char* kInsertFailed =
    "Napaka pri dodajanju podatkov partnerja v finančno datoteko!||";
constexpr const char* kReadForChangeFailed =
    "Napaka pri branju podatkov partnerja v finančni datoteki - podatki niso bili ažurirani !||";
constexpr const char* kChangeFailed =
    "Napaka pri ažuriranju podatkov partnerja v finančni datoteki!||";
constexpr const char* kReadForDeleteFailed =
    "Napaka pri branju podatkov partnerja v finančni datoteki - zapis ni bil pobrisan !|| - ";
constexpr const char* kDeleteFailed = "Napaka pri brisanju zapisa partnerja v finančni datoteki!||";

std::string failure(const char* text) {
    const ErrorState& error = lastError();
    return std::string(text) + std::to_string(error.code) + " - " + error.text;
}

// Reads the partner's first bank account in key order into the SFPARRA buffer; false (the
// buffer cleared) when it has none.
bool readFirstAccount(std::uint32_t partner) {
    FileManager& accounts = tableAccess().file("SFPARRA");
    TableGuard guard;
    if (guard.open(accounts, TableGuard::Buffer::Leave) != kLevelBenign) return false;
    clearRecord(accounts.table(), accounts.buffer());
    SFPARRA.SifraPartnerja = partner;
    const bool found =
        accounts.UseFile() == kLevelBenign && accounts.driver() != nullptr &&
        accounts.driver()->set(accounts.table().findKey("SIFRAKLJUC")) == DriverCode::Ok &&
        accounts.NextSilently() == kLevelBenign && SFPARRA.SifraPartnerja == partner;
    if (!found) clearRecord(accounts.table(), accounts.buffer());
    return found;
}

// SEDEZ: the first 5 characters of the account number; PARTIJA: the 10 after the "-" at
// position 6, or from position 6 when there is none.
void takeAccount() {
    const std::string number = SFPARRA.StevilkaRacuna.str();
    SFPARTFIN.SEDEZ = number.substr(0, 5);
    const std::size_t from = number.size() > 5 && number[5] == '-' ? 6 : 5;
    SFPARTFIN.PARTIJA = from < number.size() ? number.substr(from, 10) : std::string();
    SFPARTFIN.SKLIC = SFPARRA.BIC.str();
    SFPARTFIN.KONTOKUPCA = std::to_string(SFPARRA.SIFRAPU);
}

}  // namespace

bool mirrorsPartners() {
    return upperSlovenian(GLO.PARTNERJIFIN.str()) == "D";
}

void buildFinancialPartner(bool fromCleared) {
    FileManager& mirror = tableAccess().file("SFPARTFIN");
    if (fromCleared) {
        clearRecord(mirror.table(), mirror.buffer());
        mirror.FieldDefaults();
        // The register's own choices where a cleared record breaks its rules: no advance
        // payment.
        SFPARTFIN.AvansTip = 1;
    }
    SFPARTFIN.SIFRA = SFPARTN.Sifra;
    SFPARTFIN.NAZIV = SFPARTN.Naziv.str();
    SFPARTFIN.NAZIV2 = SFPARTN.NAZIV2.str();
    SFPARTFIN.NASLOV = SFPARTN.Naslov.str();
    SFPARTFIN.NASLOV2 = SFPARTN.NASLOV2.str();
    SFPARTFIN.POSTA = SFPARTN.POSTNASTEVILKA.str() + "  " + SFPARTN.KRAJ.str();
    SFPARTFIN.DRZAVA =
        SFPARTN.NAZIVDRZAVE.str().empty() ? SFPARTN.DRZAVA.str() : SFPARTN.NAZIVDRZAVE.str();
    SFPARTFIN.TELEFON = SFPARTN.TELEFON.str();
    SFPARTFIN.TELEFAKS = SFPARTN.TELEFAKS.str();
    SFPARTFIN.GSM = SFPARTN.TELEFON2.str();
    SFPARTFIN.EMAIL = SFPARTN.EMAIL.str();
    SFPARTFIN.WWW = SFPARTN.WWW.str();
    SFPARTFIN.ODGOVORNAOSEBA = SFPARTN.ODGOVORNAOSEBA.str();
    SFPARTFIN.DRZAVAOZNAKA = SFPARTN.DRZAVAOZNAKA.str();
    SFPARTFIN.DAVCNASTEVILKA = SFPARTN.DAVCNASTEVILKA.str();
    if (SFPARTN.DDV == "D") SFPARTFIN.DDV = 1;
    if (SFPARTN.DDV == "N") SFPARTFIN.DDV = 0;
    SFPARTFIN.MATICNASTEVILKA = SFPARTN.MATICNASTEVILKA.str().substr(0, 10);
    SFPARTFIN.SIFRADEJAVNOSTI = SFPARTN.SIFRADEJAVNOSTI.str().substr(0, 12);
    SFPARTFIN.USTANOVNIKAPITAL = SFPARTN.OSNOVNIKAPITAL.value();
    SFPARTFIN.DNIVALUTE = SFPARTN.DNIVALUTE;
    SFPARTFIN.ZACETEKVALUTE = SFPARTN.ZACETEKVALUTE.str();
    SFPARTFIN.UPORABNIK = SFPARTN.SKUPINA == "1" ? "1" : "0";
    // The financial register's own values: the middle exchange rate, the partner's
    // classification code.
    SFPARTFIN.TECAJ = 2;
    SFPARTFIN.BONITETA = static_cast<std::uint8_t>(SFPARTN.BONITETA);
    SFPARTFIN.SIFRASKIS = SFPARTN.SIFRAKIS;
    const std::uint32_t partner = SFPARTN.Sifra;
    if (readFirstAccount(partner)) takeAccount();
}

std::optional<std::string> mirrorPartner(Request request) {
    FileManager& mirror = tableAccess().file("SFPARTFIN");
    TableGuard guard;
    if (guard.open(mirror) != kLevelBenign) return failure(kInsertFailed);
    const int byCode = mirror.table().findKey("SIFRAKLJUC");
    if (request == ReqInsert) {
        buildFinancialPartner(true);
        if (mirror.InsertSilently() != kLevelBenign) return failure(kInsertFailed);
        return std::nullopt;
    }
    clearRecord(mirror.table(), mirror.buffer());
    SFPARTFIN.SIFRA = SFPARTN.Sifra;
    const bool found = mirror.Fetch(byCode) == kLevelBenign;
    if (request == ReqChange) {
        if (!found) return failure(kReadForChangeFailed);
        // The record read keeps the register's own fields; the partner's are written over them.
        buildFinancialPartner(false);
        if (mirror.UpdateSilently() != kLevelBenign) return failure(kChangeFailed);
        return std::nullopt;
    }
    if (!found) return failure(kReadForDeleteFailed);
    if (mirror.Remove() != kLevelBenign) return failure(kDeleteFailed);
    return std::nullopt;
}

}  // namespace dv
