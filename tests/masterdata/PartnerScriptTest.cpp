#include <gtest/gtest.h>
#include <sqlite3.h>

#include "FormScriptFixture.h"
#include "masterdata/PartnerDetails.h"
#include "masterdata/TaxNumber.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv {
namespace {

// 11 - r is 10 for 1000002x and 11 for 1000007x: only the last digit 0 is right; for 1000013x
// the check digit is 5.
TEST(TaxNumber, CheckDigitOfTenOrElevenIsZero) {
    EXPECT_TRUE(taxNumberValid("10000020"));
    EXPECT_FALSE(taxNumberValid("10000021"));
    EXPECT_TRUE(taxNumberValid("10000070"));
    EXPECT_FALSE(taxNumberValid("10000071"));
    EXPECT_TRUE(taxNumberValid("10000135"));
    EXPECT_FALSE(taxNumberValid("10000130"));
    EXPECT_TRUE(taxNumberValid(" 0010000135 "));
    EXPECT_FALSE(taxNumberValid("SI10000135"));
    EXPECT_FALSE(taxNumberValid(""));
    EXPECT_FALSE(taxNumberValid("12345678901234"));
    EXPECT_EQ(taxNumberValue("10000135"), 10000135u);
    EXPECT_EQ(taxNumberValue("99999999999"), std::nullopt);
}

// Partner 1 "Dobavitelj" with an account at bank 5 and no financial record; banks 5 (an
// ordinary bank) and 1 (the public payments administration).
class PartnerScript : public test::FormScriptFixture {
  protected:
    PartnerScript() {
        GLO.PODGRUPADOBAVITELJ = 0;
        GLO.PARTNERJIFIN = "N";
        insert("SFPARTN", [] {
            SFPARTN.Sifra = 1;
            SFPARTN.Naziv = "Dobavitelj";
            SFPARTN.Naslov = "Cesta 1";
            SFPARTN.DDV = "D";
            SFPARTN.ZACETEKVALUTE = "D";
            SFPARTN.BONITETA = 1;
        });
        insert("SFBANBIC", [] {
            SFBANBIC.SifraBanke = 5;
            SFBANBIC.NazivBanke = "Banka Pet";
            SFBANBIC.BICBANKE = "BAPESI2X";
        });
        insert("SFBANBIC", [] {
            SFBANBIC.SifraBanke = 1;
            SFBANBIC.NazivBanke = "Uprava za javna plačila";
            SFBANBIC.BICBANKE = "UJPLSI2DICL";
        });
        auto partner1 = [] { SFPARTN.Sifra = 1; };
        caller("Spremeni1", "SFPARTN", ReqChange, partner1, procedureByName("UpdateSFPARTN"));
        caller("Brisi1", "SFPARTN", ReqDelete, partner1, procedureByName("UpdateSFPARTN"));
        caller("NovaStopnja", "SFDDV", ReqInsert, {}, procedureByName("UpdateSFDDV"));
        caller("NovRacun", "SFPARRA", ReqInsert, {}, procedureByName("UpdateSFPARRA"));
    }
    ~PartnerScript() override {
        GLO.PODGRUPADOBAVITELJ = 0;
        GLO.PARTNERJIFIN = "";
    }
};

TEST_F(PartnerScript, CodesBetweenSuppliersAndCustomersAreRefusedWhenSubgroupsAreSuppliers) {
    GLO.PODGRUPADOBAVITELJ = 1;
    const std::string refusal =
        "message \" OPOZORILO\" \"Uporabljajte šifre DOBAVITELJEV do 999 in KUPCEV nad 10.000 "
        "!\"\nanswer OK\nexpect ?SFPARTN:Sifra focused\n";
    run("start Spremeni1\ntype ?SFPARTN:Sifra \"1000\"\n" + refusal +
        "type ?SFPARTN:Sifra \"10000\"\n" + refusal +
        "type ?SFPARTN:Sifra \"999\"\nexpect ?PomocSifra focused\n"
        "type ?SFPARTN:Sifra \"10001\"\nexpect ?PomocSifra focused\n"
        "press ?OK\nidle\n"
        "sql \"SELECT SIFRA FROM SFPARTN\" \"10001\"\n");
}

TEST_F(PartnerScript, AWrongTaxNumberBeepsAndWarnsButStays) {
    run(R"(start Spremeni1
tab " &FINANCE "
type ?SFPARTN:DAVCNASTEVILKA "10000021"
message " OPOZORILO" " DAVČNA ŠTEVILKA ni pravilna ! || Preverite še enkrat vnos."
answer OK
expect ?SFPARTN:DAVCNASTEVILKA text "10000021"
type ?SFPARTN:DAVCNASTEVILKA "10000020"
press " Šifra partnerja = DŠ"
expect ?SFPARTN:Sifra text "10000020"
press " Šifra partnerja = DŠ"
expect ?SFPARTN:Sifra text "1"
press ?OK
idle
sql "SELECT SIFRA, DAVCNASTEVILKA FROM SFPARTN" "1|10000020"
)");
    EXPECT_EQ(frontEnd.beeps(), 1);
}

TEST_F(PartnerScript, DeletingAPartnerWithoutItsFinancialRecordKeepsTheDeletion) {
    GLO.PARTNERJIFIN = "D";
    run(R"(sql "SELECT SIFRA, ZACETEKVALUTE FROM SFPARTN" "1|D"
start Brisi1
message "Confirm Delete" "Are you sure you want to delete the highlighted record?"
answer Yes
message-contains "Napaka pri branju podatkov partnerja v finančni datoteki - zapis ni bil pobrisan !|| - "
answer OK
idle
sql "SELECT COUNT(*) FROM SFPARTN" "0"
)");
}

TEST_F(PartnerScript, AChangedPartnerIsMirroredFieldByField) {
    GLO.PARTNERJIFIN = "D";
    insert("SFPARTFIN", [] {
        SFPARTFIN.SIFRA = 1;
        SFPARTFIN.ZACETEKVALUTE = "D";
        SFPARTFIN.BONITETA = 1;
        SFPARTFIN.TECAJ = 2;
        SFPARTFIN.AvansTip = 1;
        SFPARTFIN.ZDRZAVAROVANJE = 1;
    });
    insert("SFPARRA", [] {
        SFPARRA.SifraPartnerja = 1;
        SFPARRA.SIFRAPOSLOVNEGARACUNA = 1;
        SFPARRA.StevilkaRacuna = "05100-8012345678";
        SFPARRA.BIC = "BAPESI2X";
        SFPARRA.SIFRAPU = 77;
    });
    run(R"(start Spremeni1
type ?SFPARTN:POSTNASTEVILKA "1000"
press ?OK
idle
sql "SELECT NAZIV, NASLOV, POSTA, DDV, SEDEZ, PARTIJA, SKLIC, KONTOKUPCA, UPORABNIK FROM SFPARTFIN" "Dobavitelj|Cesta 1|1000|1|05100|8012345678|BAPESI2X|77|0"
)");
}

TEST_F(PartnerScript, ATaxCodeTakesOneRateOrTheOther) {
    run(R"(start NovaStopnja
type ?SFDDV:SifraDDV "7"
type ?SFDDV:STOPNJADDV "22"
type ?SFDDV:STOPNJADDVOBR "22"
press ?OK
message " OPOZORILO" " Vnesete lahko samo osnovno davčno stopnjo ali pa samo obrnjeno davčno stopnjo !|"
answer OK
expect ?SFDDV:STOPNJADDV focused
type ?SFDDV:STOPNJADDVOBR "0"
press ?OK
idle
sql "SELECT SIFRADDV, STOPNJADDV, STOPNJADDVOBR FROM SFDDV" "7|2200|0"
)");
}

TEST_F(PartnerScript, TheBankComesFromTheAccountNumberWhenOneMatches) {
    run(R"(start NovRacun
type ?SFPARRA:BIC "BAPESI2X"
type ?SFPARRA:NazivBanke "Moja banka"
type ?SFPARRA:StevilkaRacuna "9900-0000-0000-001"
expect ?OK focused
expect ?SFPARRA:BIC text "BAPESI2X"
expect ?SFPARRA:NazivBanke text "Moja banka"
type ?SFPARRA:StevilkaRacuna "0510-0801-2345-678"
expect ?SFPARRA:NazivBanke text "Banka Pet"
expect ?OpombaPU hidden
type ?SFPARRA:SIFRAPU "123"
message " OPOZORILO" " Verjetno niste izbrali prave BIC kode proračunskega uporabnika !"
answer OK
expect ?OpombaPU visible
type ?SFPARRA:BIC "UJPLSI2DICL"
expect ?SFPARRA:NazivBanke text "Banka Pet"
press ?OK
idle
sql "SELECT STEVILKARACUNA, BIC, NAZIVBANKE, SIFRAPU FROM SFPARRA" "0510-0801-2345-678|UJPLSI2DICL|Banka Pet|123"
)");
}

TEST_F(PartnerScript, AnUnknownBicOpensTheBankListAndCancellingBlanksTheBankName) {
    run(R"(start NovRacun
type ?SFPARRA:NazivBanke "Stara banka"
type ?SFPARRA:BIC "NEZNANA"
window "PREGLED BIC (SWIFT) KOD SLOVENSKIH BANK"
press ?Zapri
expect ?SFPARRA:NazivBanke text ""
expect ?SFPARRA:BIC focused
type ?SFPARRA:BIC "NEZNANA"
window "PREGLED BIC (SWIFT) KOD SLOVENSKIH BANK"
row ?Seznam 2
press ?Izberi
expect ?SFPARRA:BIC text "BAPESI2X"
expect ?SFPARRA:NazivBanke text "Banka Pet"
press ?Cancel
message "Save Record" "Do you want to save the changes to this record?"
answer No
idle
)");
}

// Beside partner 1: partner 2 "Avto Kos", a non-payer without VAT that takes e-invoices, with a
// bank account; partner 1 has a contact person. The lists are the program's own.
class PartnerWindowsScript : public PartnerScript {
  protected:
    PartnerWindowsScript() {
        GLO.NAZIVFIRME = "Moja firma d.o.o.";
        insert("SFPARTN", [] {
            SFPARTN.Sifra = 2;
            SFPARTN.Naziv = "Avto Kos";
            SFPARTN.Naslov = "Pot 2";
            SFPARTN.TELEFON = "01 111 22 33";
            SFPARTN.DDV = "N";
            SFPARTN.BONITETA = 4;
            SFPARTN.ZACETEKVALUTE = "D";
            SFPARTN.TIPPARTNERJA = kEInvoiceMark;
        });
        insert("SFPAROS", [] {
            SFPAROS.SifraPartnerja = 1;
            SFPAROS.KontaktnaOseba = "Ana Novak";
        });
        insert("SFPARRA", [] {
            SFPARRA.SifraPartnerja = 2;
            SFPARRA.SIFRAPOSLOVNEGARACUNA = 1;
            SFPARRA.StevilkaRacuna = "0510-0801-2345-678";
            SFPARRA.NazivBanke = "Banka Pet";
        });
        for (const char* list : {"BrowseSFPARTN", "BrowseSFPARTNVsebina", "BrowseSFDRZAVE",
                                 "BrowseSFPTT", "BrowseSFDDV", "BrowseSFPRODAJ", "BrowseSFBANBIC"})
            procedures.add(list, procedureByName(list));
        caller("Spremeni2", "SFPARTN", ReqChange, [] { SFPARTN.Sifra = 2; },
               procedureByName("UpdateSFPARTN"));
    }
    ~PartnerWindowsScript() override { GLO.NAZIVFIRME = ""; }

    // From now on the database refuses every new or changed row of `table`, as a full disk or
    // a locked file would.
    void refuseWrites(const std::string& table) {
        sqlite3* db = nullptr;
        const std::string file = (directory.path() / "dideroviv.db").string();
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        for (const char* action : {"INSERT", "UPDATE"}) {
            const std::string sql = std::string("CREATE TRIGGER refuse_") + action + " BEFORE " +
                                    action + " ON " + table +
                                    " BEGIN SELECT RAISE(ABORT, 'refused'); END";
            EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
                << sqlite3_errmsg(db);
        }
        sqlite3_close(db);
    }
};

TEST_F(PartnerWindowsScript, TheListShowsTheHighlightedPartnersDetailsAndSortsByCode) {
    run(R"(start BrowseSFPARTN
window "  PREGLED POSLOVNIH PARTNERJEV"
expect ?ZaFirmo text "ZA FIRMO: "
expect ?NazivFirme text "Moja firma d.o.o."
expect ?Izberi hidden
expect ?Seznam rows 2
expect ?Seznam cell 1 1 "Avto Kos"
expect ?Seznam cell 2 1 "Dobavitelj"
expect ?Telefon text "01 111 22 33"
expect ?ERacun text "prejema e-RAČUN"
expect ?Neplacnik visible
expect ?Blokada hidden
expect ?Racuni rows 1
expect ?Racuni cell 1 2 "Banka Pet"
expect ?Osebe rows 0
key Down
expect ?Seznam cell 2 1 "Dobavitelj"
expect ?Telefon text ""
expect ?ERacun text ""
expect ?Neplacnik hidden
expect ?Osebe rows 1
expect ?Osebe cell 1 1 "Ana Novak"
expect ?Racuni rows 0
header ?Seznam 2
expect ?Seznam cell 1 1 "Dobavitelj"
expect ?Seznam cell 2 1 "Avto Kos"
key 2
expect ?Telefon text "01 111 22 33"
expect ?Racuni rows 1
key F9
message " INFORMACIJA" "Pregled faktur partnerja je del programa za fakturiranje.|V programu DIDEROVIV ga ni."
answer OK
press ?Zapri
idle
)");
}

// An account added under the list belongs to the highlighted partner, and the list of accounts
// shows it at once. Its number matches no bank: saving it must still complete the form.
TEST_F(PartnerWindowsScript, AnAccountAddedUnderTheListBelongsToTheHighlightedPartner) {
    run(R"(start BrowseSFPARTN
row ?Seznam 2
expect ?Racuni rows 0
press ?DodajRacun
window "DODAJANJE ..."
expect ?SFPARTN:Naziv text "Dobavitelj"
type ?SFPARRA:StevilkaRacuna "9900-0000-0000-001"
expect ?OK focused
press ?OK
window "  PREGLED POSLOVNIH PARTNERJEV"
expect ?Racuni rows 1
expect ?Racuni cell 1 1 "9900-0000-0000-001"
row ?Seznam 1
expect ?Racuni cell 1 2 "Banka Pet"
press ?Zapri
idle
sql "SELECT SIFRAPARTNERJA, STEVILKARACUNA FROM SFPARRA ORDER BY SIFRAPARTNERJA" "1|9900-0000-0000-001\n2|0510-0801-2345-678"
)");
}

TEST_F(PartnerWindowsScript, TheSearchByContentsFindsPartOfTheNameInAnyCase) {
    run(R"(start BrowseSFPARTNVsebina
window "  ISKANJE POSLOVNIH PARTNERJEV PO 'VSEBINI'"
expect ?Seznam rows 2
type ?Iskanje "OBAV"
expect ?Seznam rows 1
expect ?Seznam cell 1 1 "Dobavitelj"
expect ?Osebe rows 1
expect ?StatusDDV text "D"
type ?Iskanje "kos"
expect ?Seznam cell 1 1 "Avto Kos"
expect ?Osebe rows 0
expect ?Neplacnik visible
type ?Iskanje "nihče"
expect ?Seznam rows 0
expect ?Osebe rows 0
expect ?Telefon text ""
press ?Pocisti
expect ?Iskanje text ""
expect ?Seznam rows 2
press ?Zapri
idle
)");
}

// The partner form: the country and post code looked up as typed, the salesperson chosen from
// its list, the code help, the item groups, and the e-invoice tick with its note and warning.
TEST_F(PartnerWindowsScript, TheFormsLookupsFillTheirFields) {
    insert("SFDRZAVE", [] {
        SFDrz.OznakaDrzave = "HR";
        SFDrz.NazivDrzave = "Hrvaška";
    });
    insert("SFPTT", [] {
        SFPTT.OZNAKADRZAVE = "HR";
        SFPTT.PostnaStevilka = "10000";
        SFPTT.NazivPoste = "Zagreb";
    });
    insert("SFPRODAJ", [] {  // numbered 1 as it is added
        SFPRODAJ.Ime = "Marko Prodajalec";
        SFPRODAJ.SPOROCILAKAM = "T";
    });
    run(R"(start Spremeni1
type ?SFPARTN:DRZAVA "HR"
expect ?SFPARTN:NAZIVDRZAVE text "Hrvaška"
type ?SFPARTN:POSTNASTEVILKA "10000"
expect ?SFPARTN:KRAJ text "Zagreb"
press ?PomocSifra
window "   INFORMACIJA O ŠIFRIRANJU DOBAVITELJEV IN KUPCEV"
press ?Zapri
press ?SkupineIzdelkov
window "SKUPINE in PODSKUPINE"
press ?Zapri
tab " &KONTAKTI "
press ?IzberiProdajalca
window " PREGLED REFERENTOV / PRODAJALCEV"
press ?Izberi
expect ?SFPARTN:ZADOLZENZAPARTNERJA text "1"
tab " TRR  in  e-RAČUN "
expect ?ERacunOpomba hidden
press "  prejema e-RAČUN"
message " OPOZORILO" " Obvezno morate vnesti tudi podatke o TRR in BIC vašega kupca."
answer OK
expect ?ERacunOpomba visible
press ?OK
idle
sql "SELECT DRZAVA, NAZIVDRZAVE, KRAJ, ZADOLZENZAPARTNERJA, TIPPARTNERJA FROM SFPARTN WHERE SIFRA = 1" "HR|Hrvaška|Zagreb|1|eRacun"
)");
}

// The contract of a partner: added from the form, whose marks then show it; changed again; and
// a write the database refuses says so in the contract's own words.
TEST_F(PartnerWindowsScript, ContractsAreAddedChangedAndTheirFailuresShown) {
    run(R"(start Spremeni1
expect ?PogodbaBlago hidden
key F7
window "Dodajanje zapisa"
type ?SFPARPOG:POGODBABLAGO "B-1"
press " Ima pogodbo"
press ?OK
expect ?PogodbaBlago visible
expect ?PogodbaStoritev hidden
press ?Pogodba
window "Spreminjanje zapisa"
expect ?SFPARPOG:POGODBABLAGO text "B-1"
tab " STORITVE "
press " Ima pogodbo"
press ?OK
expect ?PogodbaStoritev visible
press ?OK
idle
sql "SELECT SIFRA, POGODBABLAGO, IMAPOGBLAGO, IMAPOGSTORITEV FROM SFPARPOG" "1|B-1|D|D"
)");
    refuseWrites("SFPARPOG");
    run(R"(start Spremeni1
press ?Pogodba
type ?SFPARPOG:POGODBABLAGO "B-2"
press ?OK
message "Opozorilo" "Spreminjanje v tabeli SFPARTPOG ni bilo uspešno"
answer OK
expect ?SFPARPOG:POGODBABLAGO text "B-2"
press ?Cancel
message "Save Record" "Do you want to save the changes to this record?"
answer No
press ?Cancel
idle
start Spremeni2
press ?Pogodba
window "Dodajanje zapisa"
press ?OK
message "Opozorilo" "Dodajanje v tabelo SFPARTPOG ni bilo uspešno"
answer OK
press ?Cancel
press ?Cancel
idle
sql "SELECT SIFRA, POGODBABLAGO FROM SFPARPOG" "1|B-1"
)");
}

// Each of the five code lists: its caption, its form refusing an empty required field, and a
// record saved through it showing in the list.
TEST_F(PartnerWindowsScript, CountriesAndPostCodes) {
    run(R"(start BrowseSFDRZAVE
window " ŠIFRANT DRŽAV"
press ?Dodaj
window "Dodajanje zapisa"
type ?SFDrz:OznakaDrzave "AT"
press ?OK
message-contains "podatek mora biti vnešen !"
answer OK
expect ?SFDrz:NazivDrzave focused
type ?SFDrz:NazivDrzave "Avstrija"
press ?OK
window " ŠIFRANT DRŽAV"
expect ?Seznam text "AT|Avstrija"
press ?Zapri
start BrowseSFPTT
window "  PREGLED POŠT"
press ?Dodaj
type ?SFPTT:OZNAKADRZAVE "AT"
type ?SFPTT:NazivPoste "Dunaj"
press ?OK
message-contains "podatek mora biti vnešen !"
answer OK
expect ?SFPTT:PostnaStevilka focused
type ?SFPTT:PostnaStevilka "1010"
press ?OK
window "  PREGLED POŠT"
expect ?Seznam text "AT|1010|Dunaj"
press ?Zapri
idle
sql "SELECT OZNAKADRZAVE, POSTNASTEVILKA, NAZIVPOSTE FROM SFPTT" "AT|1010|Dunaj"
)");
}

TEST_F(PartnerWindowsScript, TaxRatesSalespersonsAndBanks) {
    run(R"(start BrowseSFDDV
window " ŠIFRANT DAVČNIH STOPENJ"
press ?Dodaj
type ?SFDDV:SifraDDV "3"
type ?SFDDV:STOPNJADDV "9.5"
press ?OK
window " ŠIFRANT DAVČNIH STOPENJ"
expect ?Seznam rows 1
press ?Zapri
start BrowseSFPRODAJ
window " PREGLED REFERENTOV / PRODAJALCEV"
press ?Dodaj
press ?OK
message-contains "podatek mora biti vnešen !"
answer OK
type ?SFPRODAJ:Ime "Mojca Referent"
press " e-pošta"
press ?OK
window " PREGLED REFERENTOV / PRODAJALCEV"
expect ?Seznam rows 1
press ?Zapri
start BrowseSFBANBIC
window "PREGLED BIC (SWIFT) KOD SLOVENSKIH BANK"
expect ?Seznam rows 2
press ?Dodaj
window "Adding a SFBANBIC Record"
type ?SFBANBIC:SifraBanke ""
press ?OK
message-contains "podatek mora biti vnešen !"
answer OK
type ?SFBANBIC:SifraBanke "19"
type ?SFBANBIC:NazivBanke "Banka Devetnajst"
press ?OK
window "PREGLED BIC (SWIFT) KOD SLOVENSKIH BANK"
expect ?Seznam rows 3
press ?Zapri
idle
sql "SELECT SIFRADDV, STOPNJADDV FROM SFDDV" "3|950"
sql "SELECT IME, SPOROCILAKAM FROM SFPRODAJ" "Mojca Referent|E"
sql "SELECT NAZIVBANKE FROM SFBANBIC WHERE SIFRABANKE = 19" "Banka Devetnajst"
)");
}

}  // namespace
}  // namespace dv
