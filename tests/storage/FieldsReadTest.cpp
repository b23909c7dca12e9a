#include <stdexcept>

#include "TableAccessTestSupport.h"
#include "data/RecordBuffers.h"
#include "storage/FieldsRead.h"

namespace dv::test {
namespace {

class FieldsReadTest : public TableAccessTest {
  protected:
    void SetUp() override {
        ASSERT_EQ(stock().Open(), kLevelBenign);
        ASSERT_EQ(stock().UseFile(), kLevelBenign);
        clearRecord(stock().table(), &ZALOGA);
        ZALOGA.EAN = "A1";
        ZALOGA.ENOTA = 1;
        ZALOGA.KATALOG = "K-1";
        ZALOGA.ZALOGA.setUnits(5000);
        ZALOGA.ZALOGAREZ.setUnits(2000);
        ZALOGA.VREDNOSTZALOGE.setUnits(5000);
        for (int month = 0; month < 15; ++month) ZALOGA.ZALOGAMESECA[month].setUnits(month);
        ASSERT_EQ(stock().Insert(), kLevelBenign);
    }
    void TearDown() override { (void)stock().Close(); }

    FileManager& stock() { return file("ZALOGA"); }
    Level fetch() {
        clearRecord(stock().table(), &ZALOGA);
        ZALOGA.EAN = "A1";
        ZALOGA.ENOTA = 1;
        return stock().Fetch(stock().table().findKey("SIFRAKLJUC"));
    }
};

// Reads fill the named fields and the fields of the keys; the others read as cleared, by key and
// in key order alike. Once the selection ends, every field is read again.
TEST_F(FieldsReadTest, ReadsFillTheNamedFieldsAndThoseOfTheKeys) {
    {
        const FieldsRead fields(stock(), {"ZALOGA"});
        ASSERT_EQ(fetch(), kLevelBenign);
        EXPECT_EQ(ZALOGA.ZALOGA.units(), 5000);
        EXPECT_EQ(ZALOGA.KATALOG.str(), "K-1") << "a key's field";
        EXPECT_EQ(ZALOGA.ZALOGAREZ.units(), 0);
        EXPECT_EQ(ZALOGA.ZALOGAMESECA[7].units(), 0);
        ASSERT_EQ(stock().driver()->setToStart(stock().table().findKey("ENOTAKLJUC")),
                  DriverCode::Ok);
        ASSERT_EQ(stock().NextSilently(), kLevelBenign);
        EXPECT_EQ(ZALOGA.EAN.str(), "A1");
        EXPECT_EQ(ZALOGA.VREDNOSTZALOGE.units(), 0);
    }
    ASSERT_EQ(fetch(), kLevelBenign);
    EXPECT_EQ(ZALOGA.ZALOGAREZ.units(), 2000);
    EXPECT_EQ(ZALOGA.ZALOGAMESECA[7].units(), 7);
    EXPECT_THROW(FieldsRead(stock(), {"NIPOLJA"}), std::invalid_argument);
}

// A change of a record read so writes only what changed, however much that is: the fields not
// read keep their stored values.
TEST_F(FieldsReadTest, AChangeKeepsTheStoredValuesOfTheFieldsNotRead) {
    {
        // More than half of the columns change: a record read whole would be written whole.
        const FieldsRead fields(stock(), {"ZALOGA", "ZALOGAMESECA", "ZALOGAVREDNOSTMESEC",
                                          "PROMETMESECAKOLICINANABAVA",
                                          "PROMETMESECAKOLICINAIZDAJA"});
        ASSERT_EQ(fetch(), kLevelBenign);
        ZALOGA.ZALOGA.setUnits(7000);
        for (int month = 0; month < 15; ++month) {
            ZALOGA.ZALOGAMESECA[month].setUnits(100 + month);
            ZALOGA.ZALOGAVREDNOSTMESEC[month].setUnits(200 + month);
            ZALOGA.PROMETMESECAKOLICINANABAVA[month].setUnits(300 + month);
            ZALOGA.PROMETMESECAKOLICINAIZDAJA[month].setUnits(400 + month);
        }
        ASSERT_EQ(stock().Update(), kLevelBenign);
    }
    ASSERT_EQ(fetch(), kLevelBenign);
    EXPECT_EQ(ZALOGA.ZALOGA.units(), 7000);
    EXPECT_EQ(ZALOGA.ZALOGAMESECA[14].units(), 114);
    EXPECT_EQ(ZALOGA.ZALOGAVREDNOSTMESEC[0].units(), 200);
    EXPECT_EQ(ZALOGA.ZALOGAREZ.units(), 2000) << "not read, not written";
    EXPECT_EQ(ZALOGA.VREDNOSTZALOGE.units(), 5000);
}

}  // namespace
}  // namespace dv::test
