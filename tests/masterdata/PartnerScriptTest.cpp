#include <gtest/gtest.h>

#include "FormScriptFixture.h"
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

}  // namespace
}  // namespace dv
