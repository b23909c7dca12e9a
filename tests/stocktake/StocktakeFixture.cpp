#include "StocktakeFixture.h"

#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "framework/ProcedureByName.h"
#include "runtime/Decimal.h"
#include "storage/FileManager.h"
#include "support/RawRows.h"

namespace dv::test {
namespace {

Decimal decimal(const std::string& text) {
    const auto value = Decimal::parse(text);
    EXPECT_TRUE(value.has_value()) << text;
    return value.value_or(Decimal());
}

const char* const kProcedures[] = {
    "EvidencaInventur",        "UpdateINVENTUR",      "PripravaPredloge",
    "OknoIzpisInventurnePredloge", "IzpisInventurnePredloge", "BrowseSFENOTE",
    "PregledPredlogePopisa",   "IzborGlaveInventure", "VnosPopisa",
    "BrowseSFGRUPE",           "BrowseKarticaArtikla", "EvidencaInventurZaIzpisZalog",
    "IzpisZalogPoInv",         "OknoIzpisInvNeazur",  "IzpisInvNeazuriranih"};

}  // namespace

StocktakeFixture::StocktakeFixture() {
    setFixedToday(kToday);
    clearProgramGlobals();
    for (const char* name : kProcedures) procedures.add(name, procedureByName(name));
}

StocktakeFixture::~StocktakeFixture() {
    setFixedToday(0);
}

void StocktakeFixture::addRow(const std::string& table, const std::function<void()>& fill) {
    addRawRow(*tables, table, fill);
}

void StocktakeFixture::addUnit(int code, const std::string& name, const std::string& kind) {
    addRow("SFENOTE", [&] {
        SFENOTE.Enota = static_cast<std::uint16_t>(code);
        SFENOTE.Naziv = name;
        SFENOTE.TIP = kind;
    });
}

void StocktakeFixture::addGroup(int code, const std::string& name) {
    addRow("SFGRUPE", [&] {
        SFGRUPE.Sifra = static_cast<std::uint16_t>(code);
        SFGRUPE.Naziv = name;
    });
}

void StocktakeFixture::addItem(const Item& item) {
    addRow("ARTIKLI", [&] {
        ARTIKLI.EAN = item.ean;
        ARTIKLI.KRATEKNAZIV = item.shortName;
        ARTIKLI.DRUGIDELNAZIVA = item.secondName;
        ARTIKLI.SKUPINA = static_cast<std::uint16_t>(item.group);
        ARTIKLI.CENABREZDDV = decimal(item.wholesale);
        ARTIKLI.MPCENA = decimal(item.retail);
        ARTIKLI.VRSTAIZDELKA = "B";
        ARTIKLI.DAVEK = 1;
        ARTIKLI.SNVNOS = "D";
        ARTIKLI.VODENJEZALOGE = "D";
    });
}

void StocktakeFixture::addStock(const std::string& ean, int unit, const std::string& quantity,
                                const std::string& lastPrice) {
    addRow("ZALOGA", [&] {
        ZALOGA.EAN = ean;
        ZALOGA.ENOTA = static_cast<std::uint16_t>(unit);
        ZALOGA.ZALOGA = decimal(quantity);
        ZALOGA.ZADNJANABCENA = decimal(lastPrice);
    });
}

void StocktakeFixture::addStocktake(int number, int unit, const std::string& saleType,
                                    DayNumber date, DayNumber closed) {
    addRow("INVENTUR", [&] {
        INVENTUR.StevInventure = static_cast<std::uint16_t>(number);
        INVENTUR.Enota = static_cast<std::uint16_t>(unit);
        INVENTUR.VRSTAPRODAJE = saleType;
        INVENTUR.DATUMINVENTURE = date;
        INVENTUR.PREDSEDNIK = "Ana Novak";
        INVENTUR.DATUMZAKLJUCKA = closed;
        INVENTUR.DOKUMENTMANJKOV = closed != 0 ? number : 0;
        INVENTUR.DOKUMENTVISKOV = closed != 0 ? number : 0;
    });
}

void StocktakeFixture::addDocumentLine(const std::string& saleType, int unit,
                                       const std::string& mark, int transactionType, int number) {
    addRow("DOKPROME", [&] {
        DOKPROME.VRSTAPRODAJE = saleType;
        DOKPROME.ENOTA = static_cast<std::uint16_t>(unit);
        DOKPROME.OZNAKADOKUMENTA = mark;
        DOKPROME.VRSTAPROMETA = static_cast<std::uint16_t>(transactionType);
        DOKPROME.STEVILKADOKUMENTA = number;
        DOKPROME.POSTAVKADOKUMENTA = 1;
    });
}

void StocktakeFixture::addItemsWithStock(int count, int unit) {
    FileManager& items = tables->file("ARTIKLI");
    FileManager& stock = tables->file("ZALOGA");
    ASSERT_EQ(items.Open(), kLevelBenign);
    ASSERT_EQ(stock.Open(), kLevelBenign);
    ASSERT_EQ(items.UseFile(), kLevelBenign);
    ASSERT_EQ(stock.UseFile(), kLevelBenign);
    ASSERT_EQ(tables->beginTransaction(), DriverCode::Ok);
    for (int i = 1; i <= count; ++i) {
        char ean[16];
        std::snprintf(ean, sizeof ean, "%05d", i);
        clearRecord(items.table(), items.buffer());
        ARTIKLI.EAN = ean;
        ARTIKLI.KRATEKNAZIV = std::string("Izdelek ") + ean;
        ASSERT_EQ(items.driver()->add(), DriverCode::Ok);
        clearRecord(stock.table(), stock.buffer());
        ZALOGA.EAN = ean;
        ZALOGA.ENOTA = static_cast<std::uint16_t>(unit);
        ZALOGA.ZALOGA = Decimal(i);
        ZALOGA.ZADNJANABCENA = Decimal(i);
        ASSERT_EQ(stock.driver()->add(), DriverCode::Ok);
    }
    ASSERT_EQ(tables->commit(), DriverCode::Ok);
    (void)items.Close();
    (void)stock.Close();
}

void StocktakeFixture::preparation(int number, int unit, const std::string& saleType,
                                   bool repreparation) {
    procedures.add("Priprava" + std::to_string(number), [=] {
        clearRecord(*findTable("INVENTUR"), &INVENTUR);
        INVENTUR.StevInventure = static_cast<std::uint16_t>(number);
        INVENTUR.Enota = static_cast<std::uint16_t>(unit);
        INVENTUR.VRSTAPRODAJE = saleType;
        GLO.RepreparationMode = repreparation ? 1 : 0;
        return callProcedure(procedureByName("PripravaPredloge"), Request::None);
    });
}

std::string StocktakeFixture::sql(const std::string& statement) {
    std::string why;
    const auto result = query.run(statement, why);
    EXPECT_TRUE(result.has_value()) << why;
    return result.value_or("");
}

}  // namespace dv::test
