#include <gtest/gtest.h>

#include "data/Dictionary.h"
#include "data/RecordBuffers.h"
#include "framework/FormFields.h"
#include "runtime/LocalVariables.h"
#include "runtime/WindowDesktop.h"
#include "runtime/WindowInput.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"

namespace dv {
namespace {

const WindowLayout& fieldsLayout() {
    static const WindowLayout layout = parseLayout(R"(window Polja " POLJA"
  entry ?SFENOTE:Enota picture=@n3b
  entry ?SFENOTE:Naziv picture=@s60
  option ?SFENOTE:TIP
    radio "M" value=M
    radio "V" value=V
  entry ?SFENOTE:PROMETZAKLJUCENDODATUMA picture=@d17
  entry ?GLO:KOLICINA picture=@n-13.3
  check ?GLO:CHECKBOX1 "Izbrano"
  entry ?Loc:Opomba
  entry ?Nicesar
  button ?OK "V redu"
)",
                                                   "Polja.layout");
    return layout;
}

class FormFieldsTest : public ::testing::Test {
  protected:
    FormFieldsTest() {
        clearRecord(*findTableDef(), &SFENOTE);
        GLO.KOLICINA = FixedDecimal<9, 3>();
        GLO.CHECKBOX1 = 0;
        locals.add("Loc:Opomba", opomba);
        window = std::make_unique<Window>(fieldsLayout(), desktop);
        fields = std::make_unique<FormFields>(*window);
    }
    ~FormFieldsTest() override {
        clearRecord(*findTableDef(), &SFENOTE);
        GLO.KOLICINA = FixedDecimal<9, 3>();
        GLO.CHECKBOX1 = 0;
    }
    static const TableDef* findTableDef() { return findTable("SFENOTE"); }

    Control& control(std::string_view name) { return window->control(name); }
    bool update(std::string_view name, std::string text) {
        control(name).setValue(std::move(text));
        return fields->update(control(name));
    }

    FixedText<30> opomba;
    LocalVariables locals;
    WindowDesktop desktop;
    std::unique_ptr<Window> window;
    std::unique_ptr<FormFields> fields;
};

TEST_F(FormFieldsTest, VariablesAreShownInTheirControlsPictures) {
    SFENOTE.Enota = 7;
    SFENOTE.Naziv = "Skladišče Črnuče";
    SFENOTE.TIP = "V";
    SFENOTE.PROMETZAKLJUCENDODATUMA = dayNumber(2024, 12, 31);
    ASSERT_TRUE(GLO.KOLICINA.assign(Decimal::fromUnits(-125, 1)));
    GLO.CHECKBOX1 = 1;
    opomba = "opomba";
    fields->display();
    EXPECT_EQ(control("SFENOTE:Enota").value(), "7");
    EXPECT_EQ(control("SFENOTE:Naziv").value(), "Skladišče Črnuče");
    EXPECT_EQ(control("SFENOTE:TIP").value(), "V");
    EXPECT_EQ(control("SFENOTE:PROMETZAKLJUCENDODATUMA").value(), "31.12.2024");
    EXPECT_EQ(control("GLO:KOLICINA").value(), "-12.500");
    EXPECT_TRUE(control("GLO:CHECKBOX1").checked());
    EXPECT_EQ(control("Loc:Opomba").value(), "opomba");
    // Zero shows blank in a blank-when-zero picture; no date shows blank.
    SFENOTE.Enota = 0;
    SFENOTE.PROMETZAKLJUCENDODATUMA = 0;
    fields->display();
    EXPECT_EQ(control("SFENOTE:Enota").value(), "");
    EXPECT_EQ(control("SFENOTE:PROMETZAKLJUCENDODATUMA").value(), "");
}

TEST_F(FormFieldsTest, TextIsReadBackThroughThePictureIntoTheVariable) {
    EXPECT_TRUE(update("SFENOTE:Enota", "042"));
    EXPECT_EQ(SFENOTE.Enota, 42);
    EXPECT_TRUE(update("SFENOTE:PROMETZAKLJUCENDODATUMA", "1.2.2024"));
    EXPECT_EQ(SFENOTE.PROMETZAKLJUCENDODATUMA, dayNumber(2024, 2, 1));
    EXPECT_TRUE(update("GLO:KOLICINA", "-3,25"));
    EXPECT_EQ(GLO.KOLICINA.value(), Decimal::fromUnits(-325, 2));
    EXPECT_TRUE(update("SFENOTE:TIP", "K"));
    EXPECT_EQ(SFENOTE.TIP.str(), "K");
    ASSERT_TRUE(pressControl(*window, control("GLO:CHECKBOX1")).ok());
    EXPECT_TRUE(fields->update(control("GLO:CHECKBOX1")));
    EXPECT_EQ(GLO.CHECKBOX1, 1);
    EXPECT_TRUE(update("Loc:Opomba", "nova"));
    EXPECT_EQ(opomba.str(), "nova");
}

TEST_F(FormFieldsTest, TextThatDoesNotFitLeavesTheVariableAsItWas) {
    SFENOTE.Enota = 5;
    SFENOTE.PROMETZAKLJUCENDODATUMA = dayNumber(2024, 1, 1);
    EXPECT_FALSE(update("SFENOTE:Enota", "abc"));
    EXPECT_FALSE(update("SFENOTE:PROMETZAKLJUCENDODATUMA", "31.2.2024"));
    EXPECT_EQ(SFENOTE.Enota, 5);
    EXPECT_EQ(SFENOTE.PROMETZAKLJUCENDODATUMA, dayNumber(2024, 1, 1));
    // Too large for the field's type, though the picture would take it.
    const auto tooLarge = FormVariable::find("SFENOTE:Enota");
    ASSERT_TRUE(tooLarge);
    EXPECT_FALSE(tooLarge->write(ExpressionValue::number(70000)));
    EXPECT_FALSE(tooLarge->write(ExpressionValue::text("pet")));
    EXPECT_EQ(SFENOTE.Enota, 5);
    EXPECT_TRUE(tooLarge->write(ExpressionValue::text("")));
    EXPECT_EQ(SFENOTE.Enota, 0);
}

TEST_F(FormFieldsTest, OnlyControlsThatNameAVariableAreBound) {
    EXPECT_EQ(fields->variableOf(control("Nicesar")), nullptr);
    EXPECT_EQ(fields->variableOf(control("OK")), nullptr);
    EXPECT_FALSE(update("Nicesar", "x"));
    ASSERT_NE(fields->variableOf(control("SFENOTE:Naziv")), nullptr);
    EXPECT_EQ(fields->variableOf(control("SFENOTE:Naziv"))->table()->name, "SFENOTE");
    EXPECT_FALSE(FormVariable::find("SFENOTE:NiTakegaPolja"));
    EXPECT_FALSE(FormVariable::find("NITABELE:Polje"));
    EXPECT_EQ(FormVariable::find("Loc:Opomba")->table(), nullptr);
}

TEST_F(FormFieldsTest, ARefreshKeepsTheTextTheUserIsStillTyping) {
    SFENOTE.Naziv = "Staro";
    ASSERT_TRUE(focusControl(*window, control("SFENOTE:Naziv")).ok());
    ASSERT_TRUE(typeInto(*window, control("SFENOTE:Naziv"), "Novo").ok());
    fields->display();
    EXPECT_EQ(control("SFENOTE:Naziv").value(), "Novo");
    fields->display(control("SFENOTE:Naziv"));
    EXPECT_EQ(control("SFENOTE:Naziv").value(), "Staro");
}

}  // namespace
}  // namespace dv
