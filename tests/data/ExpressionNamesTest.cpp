#include <gtest/gtest.h>

#include <string>

#include "data/Dictionary.h"
#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "runtime/Expression.h"
#include "runtime/ExpressionError.h"
#include "runtime/LocalVariables.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv {
namespace {

class ProgramExpressions : public ::testing::Test {
  protected:
    ProgramExpressions() {
        clearAllRecordBuffers();
        clearProgramGlobals();
    }
    ~ProgramExpressions() override {
        clearAllRecordBuffers();
        clearProgramGlobals();
    }

    bool holds(const std::string& text) { return Expression::compile(text, names).isTrue(); }
    std::string refusal(const std::string& text) {
        try {
            Expression::compile(text, names);
        } catch (const ExpressionError& error) {
            return error.problem();
        }
        return "accepted";
    }

    ProgramNames names;
};

TEST_F(ProgramExpressions, TheFiltersOfTheStocktakeReportsSelectByGroupAndName) {
    const Expression groups = Expression::compile(
        "INVENDET:Skupina >= GLO:OdSkupine AND INVENDET:Skupina <= GLO:DoSkupine", names);
    const Expression byName = Expression::compile(
        "INVENDET:Naziv >= GLO:OdNaziva AND INVENDET:Naziv <= GLO:DoNaziva", names);
    INVENDET.Skupina = 4;
    INVENDET.Naziv = "Čebula";
    GLO.OdSkupine = 2;
    GLO.DoSkupine = 5;
    EXPECT_TRUE(groups.isTrue());
    GLO.DoSkupine = 3;
    EXPECT_FALSE(groups.isTrue());
    GLO.OdNaziva = "C";
    GLO.DoNaziva = "Č";
    EXPECT_FALSE(byName.isTrue());
    GLO.DoNaziva = "Čz";
    EXPECT_TRUE(byName.isTrue());
}

TEST_F(ProgramExpressions, TheFiltersOfTheListsReadTheRecordBuffers) {
    INVENDET.RacZaloga = Decimal(2);
    EXPECT_TRUE(holds("(INVENDET:NarejenVnos = 0 AND INVENDET:RacZaloga <> 0)"));
    EXPECT_FALSE(holds("(INVENDET:NarejenVnos = 1)"));
    EXPECT_TRUE(holds("INVENDET:RacZaloga <> INVENDET:PopisanaZaloga"));
    INVENDET.PopisanaZaloga = Decimal(2);
    EXPECT_FALSE(holds("INVENDET:RacZaloga <> INVENDET:PopisanaZaloga"));

    const Expression movesStock = Expression::compile(
        "(DOKPROME:PrometNaZalogo = '+' or DOKPROME:PrometNaZalogo = '-')", names);
    DOKPROME.PrometNaZalogo = "-";
    EXPECT_TRUE(movesStock.isTrue());
    DOKPROME.PrometNaZalogo = "0";
    EXPECT_FALSE(movesStock.isTrue());
    EXPECT_TRUE(holds("(SFVRPROM:NePokazi = 0)"));
}

TEST_F(ProgramExpressions, TheCaptureFileFilterTakesCodesBeginningWithADigit) {
    const Expression filter = Expression::compile("numeric(sub(INVASCI:EANkoda,1,1))", names);
    INVASCI.EANKODA = "3830001234567";
    EXPECT_TRUE(filter.isTrue());
    INVASCI.EANKODA = " 383";
    EXPECT_FALSE(filter.isTrue());
    INVASCI.EANKODA = "EAN;KOLICINA";
    EXPECT_FALSE(filter.isTrue());
}

TEST_F(ProgramExpressions, ProcedureLocalsComeFromTheInnermostScope) {
    FixedText<1> wholesale("V");
    LocalVariables locals;
    locals.add("Loc:VP", wholesale);
    const Expression filter = Expression::compile("SFVRPROM:VrstaProdaje=Loc:VP", names);
    SFVRPROM.VrstaProdaje = "V";
    EXPECT_TRUE(filter.isTrue());
    wholesale = "M";
    EXPECT_FALSE(filter.isTrue());
}

TEST_F(ProgramExpressions, ProgramGlobalsAreReachableAndWritableByName) {
    const GlobalVariables& globals = programGlobalNames();
    for (const char* name : {"GLO:OdSkupine", "glo:doskupine", "GLO:ODNAZIVA", "GLO:DIDEROVIV",
                             "GLO:VRSTAPROMETAINVMANJKOVP", "GLO:KOLICINA", "StocktakeChosen"})
        EXPECT_NE(globals.find(name), nullptr) << name;
    EXPECT_EQ(globals.find("GLO:StocktakeChosen"), nullptr);

    EXPECT_TRUE(globals.find("GLO:OdNaziva")->write(ExpressionValue::text(std::string(25, 'A'))));
    EXPECT_EQ(GLO.OdNaziva.str(), std::string(20, 'A'));
    EXPECT_FALSE(globals.find("GLO:DIDEROVIV")->write(ExpressionValue::number(70000)));
    EXPECT_TRUE(globals.find("GLO:KOLICINA")->write(ExpressionValue::text("2.0005")));
    EXPECT_EQ(GLO.KOLICINA.units(), 2001);

    clearProgramGlobals();
    EXPECT_TRUE(GLO.OdNaziva.blank());
    EXPECT_EQ(GLO.KOLICINA.units(), 0);
}

TEST_F(ProgramExpressions, FieldsAreNamedByPrefixOrTableAndGroupsOfTextReadAsOneText) {
    DOK.STEVILKADOKUMENTA = 17;
    EXPECT_TRUE(holds("DOK:STEVILKADOKUMENTA = 17 AND dokument:stevilkadokumenta = 17"));
    ARTIKLI.KRATEKNAZIV = "Sol";
    ARTIKLI.DRUGIDELNAZIVA = "morska";
    EXPECT_TRUE(holds("ARTIKLI:Naziv = 'Sol" + std::string(17, ' ') + "morska'"));
    EXPECT_EQ(refusal("INVENDET:Nobody = 1"), "the table INVENDET has no field Nobody");
    EXPECT_EQ(refusal("SFPARTFIN:KLASIFIKACIJASKIS = 1"),
              "SFPARTFIN:KLASIFIKACIJASKIS is a group; name one of its fields");
    EXPECT_EQ(refusal("ZALOGA:ZALOGAMESECA = 1"),
              "ZALOGA:ZALOGAMESECA is an array and cannot be compared");
    EXPECT_EQ(refusal("NOTABLE:X = 1"), "unknown name NOTABLE:X");
}

TEST_F(ProgramExpressions, FieldsCanBeReadFromAnotherRecord) {
    const TableDef& table = *findTable("INVENDET");
    INVENDETRecord row{};
    row.Skupina = 9;
    const void* current = &row;
    RecordFieldResolver fields;
    fields.readFrom(table, &current);
    const Expression filter = Expression::compile("INVENDET:Skupina = 9", fields);
    EXPECT_TRUE(filter.isTrue());
    INVENDETRecord other{};
    current = &other;
    EXPECT_FALSE(filter.isTrue());
}

}  // namespace
}  // namespace dv
