#include "app/DemoCodeLists.h"

#include <array>
#include <string>

#include "app/CheckDigits.h"
#include "app/DemoNames.h"
#include "data/RecordBuffers.h"
#include "runtime/Date.h"
#include "schema/Records.h"

namespace dv {
namespace {

// The demo company, also its own partner (the owner of the stock).
struct DemoPartner {
    std::uint32_t code;
    std::string_view name;
    std::string_view address;
    std::string_view postCode;
    std::string_view place;
    std::string_view phone;
    std::string_view email;
    std::string_view person;
    std::string_view kind;      // LASTNIK, DOBAVITELJ, KUPEC
    std::string_view vatPayer;  // "D", "N"
    std::uint32_t taxBase;      // seven digits; the first valid tax number from here is used
    std::string_view registration;
};

constexpr DemoPartner kOwner = {kDemoOwnerPartner,
                                "ČEBELICA trgovina in storitve d.o.o.",
                                "Šmartinska cesta 152",
                                "1000",
                                "Ljubljana",
                                "01 555 12 34",
                                "info@cebelica.example",
                                "Mojca Žagar",
                                "LASTNIK",
                                "D",
                                2345678,
                                "6123456000"};

constexpr std::array<DemoPartner, 11> kPartners = {{
    {2, "Pekarna Žitek d.o.o.", "Ljubljanska cesta 5", "4000", "Kranj", "04 555 30 10",
     "narocila@zitek.example", "Tomaž Pek", "DOBAVITELJ", "D", 3456712, "5912345000"},
    {3, "Mlekarna Planinka d.o.o.", "Mlekarniška ulica 3", "2000", "Maribor", "02 555 40 20",
     "prodaja@planinka.example", "Urška Mlakar", "DOBAVITELJ", "D", 4567123, "5823456000"},
    {4, "Sadjarstvo Jablanovec s.p.", "Sadna pot 7", "3310", "Žalec", "03 555 50 30",
     "jablanovec@sadje.example", "Franc Jablan", "DOBAVITELJ", "N", 5671234, "3345678000"},
    {5, "Pivovarna Hmeljnik d.o.o.", "Hmeljarska cesta 22", "3000", "Celje", "03 555 60 40",
     "info@hmeljnik.example", "Boštjan Hmelj", "DOBAVITELJ", "D", 6712345, "5756789000"},
    {6, "Železnina Šraufek d.o.o.", "Industrijska cesta 9", "8000", "Novo mesto", "07 555 70 50",
     "prodaja@sraufek.example", "Jože Vijak", "DOBAVITELJ", "D", 7123456, "5667890000"},
    {7, "Založba Knjižni molj d.o.o.", "Tiskarska ulica 4", "1000", "Ljubljana", "01 555 80 60",
     "zalozba@molj.example", "Nina Bralec", "DOBAVITELJ", "D", 1234567, "5578901000"},
    {8, "Vrtnarstvo Zeleni prst s.p.", "Cvetlična ulica 11", "6000", "Koper", "05 555 90 70",
     "zeleni.prst@vrt.example", "Rok Cvetko", "DOBAVITELJ", "N", 2456781, "3489012000"},
    {9, "Gostilna Pri lipi d.o.o.", "Vaška cesta 2", "4220", "Škofja Loka", "04 555 11 22",
     "gostilna@prilipi.example", "Špela Kuhar", "KUPEC", "D", 3567812, "6390123000"},
    {10, "Vrtec Sončnica", "Otroška ulica 6", "9000", "Murska Sobota", "02 555 22 33",
     "vrtec@soncnica.example", "Maja Vzgojna", "KUPEC", "N", 4678123, "5201234000"},
    {11, "Gradbeništvo Kocka d.o.o.", "Gradbena cesta 14", "5000", "Nova Gorica", "05 555 33 44",
     "info@kocka.example", "Matej Zidar", "KUPEC", "D", 5781234, "6112345000"},
    {12, "Hotel Bor d.o.o.", "Gozdna pot 1", "8340", "Črnomelj", "07 555 44 55",
     "recepcija@hotelbor.example", "Lea Gostoljub", "KUPEC", "D", 6812345, "6023456000"},
}};

constexpr std::array<DemoWarehouseUnit, 4> kUnits = {{
    {1, "M", "Trgovina Center", "Slovenska cesta 15", "1000", "Ljubljana", "Ana Kovač",
     "01 555 20 01", "center@cebelica.example"},
    {2, "M", "Trgovina Šiška", "Celovška cesta 88", "1000", "Ljubljana", "Marko Horvat",
     "01 555 20 02", "siska@cebelica.example"},
    {3, "V", "Veleprodajno skladišče Črnuče", "Dunajska cesta 401", "1231", "Ljubljana - Črnuče",
     "Janez Novak", "01 555 20 03", "crnuce@cebelica.example"},
    {4, "V", "Skladišče Žalec", "Savinjska cesta 12", "3310", "Žalec", "Petra Zupančič",
     "03 555 20 04", "zalec@cebelica.example"},
}};

struct DemoTransactionType {
    std::string_view mark;
    std::uint16_t number;
    std::string_view description;
    std::string_view document;
    std::string_view effect;
    std::int16_t locked;
    std::uint8_t hidden;
    std::uint16_t ownUse;
};

constexpr std::array<DemoTransactionType, 8> kTransactionTypes = {{
    {"N", 1, "Prevzem blaga od dobavitelja", "PREVZEMNICA", "+", 0, 0, 0},
    {"N", 2, "Vračilo blaga od kupca", "VRAČILO KUPCA", "+", 1, 0, 0},
    {"N", kDemoSurplusType, "Inventurni višek", "INVENTURNI VIŠEK", "+", 0, 0, 0},
    {"N", kDemoTemporaryReceiptType, "Začasni prevzem", "ZAČASNA PREVZEMNICA", "+", 0, 0, 0},
    {"I", 1, "Dobavnica kupcu", "DOBAVNICA", "-", 0, 0, 0},
    {"I", 3, "Interna poraba", "INTERNA PORABA", "-", 0, 1, 1},
    {"I", kDemoShortageType, "Inventurni manjko", "INVENTURNI MANJKO", "-", 0, 0, 0},
    {"F", 1, "Račun kupcu", "RAČUN", "-", 0, 0, 0},
}};

// The first valid tax number at or after `base` (seven digits and the check digit).
std::string taxNumber(std::uint32_t base) {
    for (;; ++base) {
        const std::string digits = std::to_string(base);
        if (const auto check = taxNumberCheckDigit(digits)) return digits + *check;
    }
}

void prepare(FileManager& file) {
    prepareNewRecord(file.table(), file.buffer());
}

void fillCompany() {
    APPINS.SIFRAPODJETJA = kDemoCompany;
    APPINS.NAZIVPODJETJA = kOwner.name;
    APPINS.NAZIVIIDEL = "Demo podjetje - podatki so izmišljeni";
    APPINS.NASLOV = kOwner.address;
    APPINS.POSTAKRAJ = std::string(kOwner.postCode) + " " + std::string(kOwner.place);
    APPINS.TELEFON_1 = kOwner.phone;
    APPINS.TELEFON_2 = "041 555 123";
    APPINS.TELEFAKS = "01 555 12 35";
    APPINS.E_MAIL = kOwner.email;
    APPINS.SPLETNINASLOV = "www.cebelica.example";
    APPINS.PODPISNIK = kOwner.person;
    APPINS.TITULAPODPISNIKA = "direktorica";
    APPINS.DAVCNASTEVILKA = std::stoi(taxNumber(kOwner.taxBase));
    APPINS.ZAVEZANEC = "D";
    APPINS.MATICNAOBRTNO = kOwner.registration;
    APPINS.OSNOVNIKAPITAL = Decimal(7500);
    APPINS.SIFRADEJAVNOSTI = "47.110";
    APPINS.STEVILKASRG = "2005/12345";
    APPINS.DATUMSRG = dayNumber(2005, 3, 15);
    APPINS.REGISTRACIJAPRISODISCU = "Okrožno sodišče v Ljubljani";
    APPINS.PRAVNAOBLIKA = "D.O.O.";
    APPINS.VRSTAPOSLOVNEGARACUNA = "P";
    APPINS.SIFRAPOSLOVNEGARACUNA = 1;
    APPINS.DAVCNIURAD = "FU Ljubljana";
    APPINS.STATISTICNAOZNAKAOBCINE = 61;
    APPINS.DNIVALUTE = 30;
    APPINS.NAPISSPODNJAVRSTICA = "ČEBELICA d.o.o., Šmartinska cesta 152, 1000 Ljubljana";
}

void fillPartner(const DemoPartner& partner) {
    SFPARTN.Sifra = partner.code;
    SFPARTN.Naziv = partner.name;
    SFPARTN.Naslov = partner.address;
    SFPARTN.POSTNASTEVILKA = partner.postCode;
    SFPARTN.KRAJ = partner.place;
    SFPARTN.DRZAVA = "SI";
    SFPARTN.TELEFON = partner.phone;
    SFPARTN.EMAIL = partner.email;
    SFPARTN.ODGOVORNAOSEBA = partner.person;
    SFPARTN.DRZAVAOZNAKA = "SI";
    SFPARTN.DAVCNASTEVILKA = taxNumber(partner.taxBase);
    SFPARTN.DDV = partner.vatPayer;
    SFPARTN.MATICNASTEVILKA = partner.registration;
    SFPARTN.DNIVALUTE = partner.kind == "KUPEC" ? 15 : 30;
    SFPARTN.TIPPARTNERJA = partner.kind;
}

}  // namespace

std::span<const DemoWarehouseUnit> demoWarehouseUnits() {
    return kUnits;
}

std::uint16_t demoTemporaryReceiptUnit() {
    return kUnits[2].code;
}

bool addDemoCompanyRecord(DemoTables& tables, FileManager& companies, FileManager& accounts) {
    prepare(companies);
    APPINS.SIFRAPODJETJA = kDemoCompany;
    if (tables.exists(companies, "FIRMAKLJUC")) return true;
    prepare(companies);
    fillCompany();
    tables.add(companies);

    prepare(accounts);
    APPINRA.SIFRAPODJETJA = kDemoCompany;
    APPINRA.SIFRAPOSLOVNEGARACUNA = 1;
    if (tables.exists(accounts, "SIFRAKLJUC")) return false;
    prepare(accounts);
    APPINRA.SIFRAPODJETJA = kDemoCompany;
    APPINRA.SIFRAPOSLOVNEGARACUNA = 1;
    APPINRA.TIPRACUNA = "P";
    APPINRA.STEVILKARACUNA = "SI56 0110 0600 0012 345";
    tables.add(accounts);
    return false;
}

void addDemoTaxRates(DemoTables& tables, FileManager& rates) {
    for (const DemoTaxRate& rate : demoTaxRates()) {
        prepare(rates);
        const Decimal percent = Decimal::fromUnits(rate.hundredthsOfPercent, 2);
        SFDDV.SifraDDV = rate.code;
        SFDDV.STOPNJADDV = percent;
        SFDDV.STOPNJADDVOBR = percent;
        // The share of tax in an amount that includes it, in percent.
        SFDDV.PRERACUNANASTOPNJA = (percent * Decimal(100)).divide(Decimal(100) + percent, 4);
        SFDDV.VPLACILNIRACUN = "SI56 0110 0100 0012 345";
        SFDDV.KONTOVHODNEGADAVKA = 16000u + rate.code;
        SFDDV.KONTOIZHODNEGADAVKA = 26000u + rate.code;
        tables.add(rates);
    }
}

void addDemoUnitsOfMeasure(DemoTables& tables, FileManager& units) {
    for (const DemoUnitOfMeasure& unit : demoUnitsOfMeasure()) {
        prepare(units);
        SFEM.SIFRAEM = unit.code;
        SFEM.NAZIVEM = unit.name;
        tables.add(units);
    }
}

void addDemoGroups(DemoTables& tables, FileManager& groups, FileManager& subgroups) {
    std::uint16_t code = 0;
    for (const DemoGroup& group : demoGroups()) {
        prepare(groups);
        SFGRUPE.Sifra = ++code;
        SFGRUPE.Naziv = group.name;
        tables.add(groups);
        std::uint16_t subcode = 0;
        for (const DemoSubgroup& subgroup : group.subgroups) {
            prepare(subgroups);
            SFPODGRU.Sifra = code;
            SFPODGRU.PodSifra = ++subcode;
            SFPODGRU.Naziv = subgroup.name;
            tables.add(subgroups);
        }
    }
}

void addDemoWarehouseUnits(DemoTables& tables, FileManager& units) {
    for (const DemoWarehouseUnit& unit : kUnits) {
        prepare(units);
        SFENOTE.Enota = unit.code;
        SFENOTE.Naziv = unit.name;
        SFENOTE.TIP = unit.kind;
        SFENOTE.NASLOVENOTE = unit.address;
        SFENOTE.KRAJENOTE = unit.place;
        SFENOTE.POSTNASTEVILKA = unit.postCode;
        SFENOTE.VODJAPE = unit.head;
        SFENOTE.TELEFON = unit.phone;
        SFENOTE.E_MAIL = unit.email;
        tables.add(units);
    }
}

void addDemoTransactionTypes(DemoTables& tables, FileManager& types) {
    for (const std::string_view saleKind : {"M", "V"}) {
        for (const DemoTransactionType& type : kTransactionTypes) {
            prepare(types);
            SFVRPROM.VrstaProdaje = saleKind;
            SFVRPROM.OZNAKADOKUMENTA = type.mark;
            SFVRPROM.VrstaPrometa = type.number;
            SFVRPROM.OpisPrometa = type.description;
            SFVRPROM.NazivDokumenta = type.document;
            SFVRPROM.PROMETNAZALOGO = type.effect;
            SFVRPROM.ZAPECENO = type.locked;
            SFVRPROM.NePokazi = type.hidden;
            SFVRPROM.LASTNAPORABA = type.ownUse;
            tables.add(types);
        }
    }
}

void addDemoPartners(DemoTables& tables, FileManager& partners) {
    prepare(partners);
    fillPartner(kOwner);
    tables.add(partners);
    for (const DemoPartner& partner : kPartners) {
        prepare(partners);
        fillPartner(partner);
        tables.add(partners);
    }
}

}  // namespace dv
