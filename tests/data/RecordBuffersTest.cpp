#include <gtest/gtest.h>

#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "runtime/Date.h"
#include "schema/Records.h"

namespace dv {
namespace {

const TableDef& table(std::string_view name) {
    return *findTable(name);
}

// Fixes today's date for one test and returns to the clock afterwards.
class FixedToday {
  public:
    explicit FixedToday(DayNumber day) { setFixedToday(day); }
    ~FixedToday() { setFixedToday(0); }
};

TEST(RecordBuffers, ClearingBlanksTextsAndZeroesEverythingElse) {
    const TableDef& t = table("ZALOGA");
    ZALOGARecord stock;
    stock.EAN = "3830001234567";
    stock.ENOTA = 4;
    stock.ZALOGA.setUnits(-5);
    stock.ZALOGAMESECA[14].setUnits(9);
    clearRecord(t, &stock);
    EXPECT_EQ(stock.EAN.raw(), std::string(13, ' '));
    EXPECT_EQ(stock.KATALOG.raw(), std::string(30, ' '));
    EXPECT_EQ(stock.ENOTA, 0);
    EXPECT_EQ(stock.ZALOGA.units(), 0);
    EXPECT_EQ(stock.ZALOGAMESECA[14].units(), 0);

    const TableDef& partners = table("SFPARTFIN");
    SFPARTFINRecord partner;
    partner.Opombe = "opomba";
    partner.DATUMSPREMEMBE = 77;
    clearRecord(partners, &partner);
    EXPECT_TRUE(partner.Opombe.blank());
    EXPECT_EQ(partner.Opombe.raw().size(), 1000u);
    EXPECT_EQ(partner.DATUMSPREMEMBE, 0);
}

TEST(RecordBuffers, NewItemGetsItsDefaults) {
    ARTIKLIRecord item;
    item.EAN = "123";
    item.SKUPINA = 9;
    prepareNewRecord(table("ARTIKLI"), &item);
    EXPECT_EQ(item.VRSTAIZDELKA.str(), "B");
    EXPECT_EQ(item.DAVEK, 1);
    EXPECT_EQ(item.SNVNOS.str(), "D");
    EXPECT_EQ(item.VODENJEZALOGE.str(), "D");
    EXPECT_TRUE(item.EAN.blank());
    EXPECT_EQ(item.SKUPINA, 0);
}

TEST(RecordBuffers, DocumentDefaultsToTheCurrentYear) {
    const FixedToday fixed(dayNumber(2031, 12, 31));
    prepareNewRecord(table("DOK"), &DOK);
    EXPECT_EQ(DOK.LETONALOGA.str(), "2031");
    EXPECT_EQ(DOK.STATUSPARTNERJA.str(), "D");
    EXPECT_EQ(DOK.Id, 0u);

    DOKUMEDNRecord workOrderDocument;
    prepareNewRecord(table("DOKUMEDN"), &workOrderDocument);
    EXPECT_TRUE(workOrderDocument.LETONALOGA.blank());
    EXPECT_EQ(workOrderDocument.STATUSPARTNERJA.str(), "D");
}

TEST(RecordBuffers, DefaultsOfEveryKind) {
    DELNALOGRecord order;
    prepareNewRecord(table("DELNALOG"), &order);
    EXPECT_EQ(order.KOLICINA.units(), 100);  // 1 with two places
    EXPECT_EQ(order.STATUS, 0);

    SFPARTNRecord partner;
    prepareNewRecord(table("SFPARTN"), &partner);
    EXPECT_EQ(partner.NAZIVDRZAVE.str(), "SLOVENIJA");
    EXPECT_EQ(partner.BONITETA, 1);
    EXPECT_EQ(partner.DDV.str(), "D");

    SFPARTFINRecord financial;
    prepareNewRecord(table("SFPARTFIN"), &financial);
    EXPECT_EQ(financial.TECAJ, 2);
    EXPECT_EQ(financial.SKUPINA.str(), "S.");

    DOKPRODNRecord line;
    prepareNewRecord(table("DOKPRODN"), &line);
    EXPECT_EQ(line.SIFRADDV, 1);

    ARTSTRORecord cost;
    prepareNewRecord(table("ARTSTRO"), &cost);
    EXPECT_EQ(cost.STEVILOENOT.units(), 100);
    EXPECT_EQ(cost.VRSTAZAPISA.str(), "M");
}

TEST(RecordBuffers, EveryTableCanBePrepared) {
    for (const TableDef& t : dictionary()) {
        std::vector<unsigned char> record(t.recordStructSize);
        EXPECT_NO_THROW(prepareNewRecord(t, record.data())) << t.name;
    }
}

TEST(RecordBuffers, StartUpClearsEveryBuffer) {
    INVENDET.PopisanaZaloga.setUnits(123);
    INVENDET.Naziv = "izdelek";
    SFDrz.OznakaDrzave = "SI";
    clearAllRecordBuffers();
    EXPECT_EQ(INVENDET.PopisanaZaloga.units(), 0);
    EXPECT_TRUE(INVENDET.Naziv.blank());
    EXPECT_TRUE(SFDrz.OznakaDrzave.blank());
}

}  // namespace
}  // namespace dv
