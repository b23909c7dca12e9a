#include <gtest/gtest.h>

#include "data/Dictionary.h"
#include "data/FieldValidation.h"
#include "data/RecordBuffers.h"
#include "schema/Records.h"

namespace dv {
namespace {

const TableDef& table(std::string_view name) {
    return *findTable(name);
}

TEST(Validation, SaleKindOutsideItsListIsRefusedWithTheLabels) {
    const TableDef& t = table("SFVRPROM");
    SFVRPROMRecord type;
    prepareNewRecord(t, &type);
    const int saleKind = t.findField("VrstaProdaje");
    type.VrstaProdaje = "X";
    const auto failure = CheckField(t, &type, saleKind);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->field, saleKind);
    EXPECT_EQ(failure->message, FieldCheckMessage::NotInList);
    EXPECT_EQ(static_cast<int>(failure->message), 15);
    EXPECT_EQ(failure->messageText, "'  Prodaja na DROBNO','  Prodaja na DEBELO'");
    EXPECT_EQ(failure->fieldText, "Prodaja na drobno ali prodaja na debelo (M / V)");

    type.VrstaProdaje = "V";
    EXPECT_FALSE(CheckField(t, &type, saleKind));
    type.VrstaProdaje = "M";
    EXPECT_FALSE(CheckField(t, &type, saleKind));
    type.VrstaProdaje = "m";
    EXPECT_TRUE(CheckField(t, &type, saleKind));
    type.VrstaProdaje = "";
    EXPECT_TRUE(CheckField(t, &type, saleKind));
}

TEST(Validation, RecordCheckStopsAtTheFirstFailingField) {
    const TableDef& t = table("SFVRPROM");
    SFVRPROMRecord type;
    prepareNewRecord(t, &type);  // sale kind "M"; the document mark has no default
    type.PROMETNAZALOGO = "x";
    auto failure = CheckRecord(t, &type);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->field, t.findField("OZNAKADOKUMENTA"));
    EXPECT_EQ(failure->fieldText.substr(0, 18), "Oznaka dokumenta (");

    failure = CheckRecord(t, &type, t.findField("OZNAKADOKUMENTA") + 1);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->field, t.findField("PROMETNAZALOGO"));
    EXPECT_EQ(failure->messageText, "'Povečuje zalogo','Zmanjšuje zalogo','Ne vpliva'");

    type.OZNAKADOKUMENTA = "I";
    type.PROMETNAZALOGO = "-";
    EXPECT_FALSE(CheckRecord(t, &type));
}

TEST(Validation, NumericCodesAreComparedAsNumbers) {
    const TableDef& t = table("SFPARTN");
    SFPARTNRecord partner;
    prepareNewRecord(t, &partner);
    EXPECT_FALSE(CheckRecord(t, &partner));  // the defaults satisfy every rule
    const int rating = t.findField("BONITETA");
    partner.BONITETA = 5;
    EXPECT_FALSE(CheckField(t, &partner, rating));
    partner.BONITETA = 6;
    const auto failure = CheckField(t, &partner, rating);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->messageText, "'Prvi','Drugi','Tretji','Neplačnik','Blokada poslovanja'");
    EXPECT_EQ(failure->fieldText, "Bonitetni razred partnerja (1,2,3,4,5)");

    const TableDef& financial = table("SFPARTFIN");
    SFPARTFINRecord record;
    prepareNewRecord(financial, &record);
    record.ZDRZAVAROVANJE = 0;
    EXPECT_FALSE(CheckField(financial, &record, financial.findField("ZDRZAVAROVANJE")));
    record.ZDRZAVAROVANJE = 2;
    EXPECT_TRUE(CheckField(financial, &record, financial.findField("ZDRZAVAROVANJE")));
}

TEST(Validation, CodesWithSlovenianLettersMatchTheStoredCodePage) {
    const TableDef& t = table("APPINS");
    APPINSRecord company;
    prepareNewRecord(t, &company);
    const int form = t.findField("PRAVNAOBLIKA");
    company.PRAVNAOBLIKA = "DRUŠTVO";
    EXPECT_FALSE(CheckField(t, &company, form));
    company.PRAVNAOBLIKA = "DRUSTVO";
    const auto failure = CheckField(t, &company, form);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->messageText,
              "'D.O.O.','D.N.O.','D.D.','K.D.','S.P.','ZAVOD','DRUŠTVO','Ostalo'");
}

TEST(Validation, FieldsWithoutRulesAlwaysPass) {
    const TableDef& t = table("INVENDET");
    INVENDETRecord line;
    prepareNewRecord(t, &line);
    line.VrstaProdaje = "X";
    EXPECT_FALSE(CheckRecord(t, &line));
    EXPECT_FALSE(CheckField(t, &line, -1));
    EXPECT_FALSE(CheckField(t, &line, 1000));
}

}  // namespace
}  // namespace dv
