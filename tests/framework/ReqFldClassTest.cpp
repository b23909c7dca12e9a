#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "framework/FormFields.h"
#include "framework/ReqFldClass.h"
#include "runtime/LocalVariables.h"
#include "runtime/WindowDesktop.h"

namespace dv::test {
namespace {

const WindowLayout& entryLayout() {
    static const WindowLayout layout = parseLayout(R"(window Vnos " VNOS"
  prompt "&Skladišče:"
  entry ?Loc:Enota picture=@n3b required msg="Šifra enote" tip="Šifra skladišča"
  prompt "&Naziv:"
  entry ?Loc:Naziv picture=@s20 required
  entry ?Loc:Opomba picture=@s20
  prompt "Datum:"
  entry ?Loc:Datum picture=@d17 required
  prompt "Opis:"
  text ?Loc:Opis required
  check ?Potrjeno "Potrjeno"
  string "Vrsta, ki je nihče ne vidi"
  option ?Loc:Vrsta required
    radio "Prva" value=A
    radio "Druga" value=B
  button ?OK "V redu"
)",
                                                   "Vnos.layout");
    return layout;
}

constexpr const char* kTemplate = "@PROMPT podatek mora biti vnešen !";

// A window of required fields over local variables, every one filled, and a checker set up on
// it as the forms set it up.
class ReqFldClassTest : public ::testing::Test {
  protected:
    ReqFldClassTest() {
        locals.add("Loc:Enota", enota);
        locals.add("Loc:Naziv", naziv);
        locals.add("Loc:Opomba", opomba);
        locals.add("Loc:Datum", datum);
        locals.add("Loc:Opis", opis);
        locals.add("Loc:Vrsta", vrsta);
        window = std::make_unique<Window>(entryLayout(), desktop);
        fields = std::make_unique<FormFields>(*window);
        control("Loc:Enota").setValue("12");
        control("Loc:Naziv").setValue("Center");
        control("Loc:Datum").setValue("01.02.2024");
        control("Loc:Opis").setValue("opis");
        control("Loc:Vrsta").setValue("A");
    }

    Control& control(std::string_view name) { return window->control(name); }
    int number(std::string_view name) { return control(name).number(); }
    void init() { checker.Init(*window, " INFORMACIJA", kTemplate, 0, fields.get()); }
    // Checks; the text of the message shown, "" when none was.
    std::string check(bool skipDisabled = false) {
        frontEnd.answerOkByDefault = true;
        const std::size_t before = frontEnd.boxes().size();
        reported = checker.Check(skipDisabled);
        return frontEnd.boxes().size() == before ? "" : frontEnd.boxes().back().text;
    }

    FormFrontEnd frontEnd;
    std::uint16_t enota = 0;
    FixedText<20> naziv;
    FixedText<20> opomba;
    DayNumber datum = 0;
    FixedText<40> opis;
    FixedText<1> vrsta;
    LocalVariables locals;
    WindowDesktop desktop;
    std::unique_ptr<Window> window;
    std::unique_ptr<FormFields> fields;
    ReqFldClass checker;
    int reported = -1;
};

TEST_F(ReqFldClassTest, InitListsTheRequiredInputsUnderTheLatestPromptWithoutItsMarks) {
    init();
    ASSERT_EQ(checker.entries().size(), 5u);
    const auto& enotaEntry = checker.entries().at(number("Loc:Enota"));
    EXPECT_EQ(enotaEntry.prompt, "Skladišče");
    EXPECT_EQ(enotaEntry.message, "Šifra enote");
    EXPECT_EQ(enotaEntry.tip, "Šifra skladišča");
    EXPECT_EQ(enotaEntry.field, "Loc:Enota");
    EXPECT_EQ(checker.entries().at(number("Loc:Naziv")).prompt, "Naziv");
    EXPECT_FALSE(checker.entries().contains(number("Loc:Opomba")));
    EXPECT_EQ(checker.entries().at(number("Loc:Opis")).prompt, "Opis");
    // The string between does not change the prompt.
    EXPECT_EQ(checker.entries().at(number("Loc:Vrsta")).prompt, "Opis");
    EXPECT_EQ(barePrompt("&&Na:ziv::"), "Naziv");
}

TEST_F(ReqFldClassTest, RegisterReplacesAnEntryAndAddsOneOnlyWhenForced) {
    frontEnd.answer(kButtonOk);
    checker.Register("Loc:Naziv", true, "X", "m", "t", "p");
    ASSERT_EQ(frontEnd.boxes().size(), 1u);
    EXPECT_EQ(frontEnd.boxes()[0].caption, "Error");
    EXPECT_EQ(frontEnd.boxes()[0].text, "ReqFldClass not initialized.");
    EXPECT_FALSE(checker.initialized());

    init();
    checker.Register("Loc:Naziv", false, "SFENOTE:Naziv", "Naziv (ime)", "Ime", "&Ime enote:");
    const auto& entry = checker.entries().at(number("Loc:Naziv"));
    EXPECT_EQ(entry.prompt, "Ime enote");
    EXPECT_EQ(entry.field, "SFENOTE:Naziv");
    EXPECT_EQ(entry.message, "Naziv (ime)");
    checker.Register("Loc:Opomba", false, "Loc:Opomba", "", "", "Opomba");
    EXPECT_FALSE(checker.entries().contains(number("Loc:Opomba")));
    checker.Register("Loc:Opomba", true, "Loc:Opomba", "", "", "Opomba");
    EXPECT_TRUE(checker.entries().contains(number("Loc:Opomba")));
}

TEST_F(ReqFldClassTest, OnlyTheLowestEmptyControlIsReportedAndFocused) {
    init();
    EXPECT_EQ(check(), "");
    EXPECT_EQ(reported, 0);
    EXPECT_EQ(naziv.str(), "Center");  // the controls were read into their variables
    EXPECT_EQ(enota, 12);

    control("Loc:Naziv").setValue("   ");
    control("Loc:Datum").setValue("");
    EXPECT_EQ(check(), "\"Naziv\" podatek mora biti vnešen !");
    EXPECT_EQ(reported, number("Loc:Naziv"));
    EXPECT_EQ(window->focused(), &control("Loc:Naziv"));
    const MessageBoxRequest& box = frontEnd.boxes().back();
    EXPECT_EQ(box.caption, " INFORMACIJA");
    EXPECT_EQ(box.icon, MessageIcon::Information);
    EXPECT_EQ(box.buttons, kButtonOk);

    control("Loc:Enota").setValue("0");
    EXPECT_EQ(check(), "\"Skladišče\" podatek mora biti vnešen !");
    EXPECT_EQ(reported, number("Loc:Enota"));
    control("Loc:Enota").setValue("7");
    control("Loc:Naziv").setValue("Center");
    EXPECT_EQ(check(), "\"Datum\" podatek mora biti vnešen !");
}

TEST_F(ReqFldClassTest, HiddenAndReadOnlyFieldsNeverBlockAndDisabledOnesDoUnlessSkipped) {
    init();
    control("Loc:Naziv").setValue("");
    control("Loc:Naziv").setHidden(true);
    EXPECT_EQ(check(), "");
    control("Loc:Naziv").setHidden(false);
    control("Loc:Naziv").setReadOnly(true);
    EXPECT_EQ(check(), "");
    control("Loc:Naziv").setReadOnly(false);
    control("Loc:Naziv").setEnabled(false);
    EXPECT_EQ(check(false), "\"Naziv\" podatek mora biti vnešen !");
    EXPECT_EQ(check(true), "");
    // A control no longer marked required passes too.
    control("Loc:Naziv").setEnabled(true);
    control("Loc:Naziv").setRequired(false);
    EXPECT_EQ(check(), "");
}

TEST_F(ReqFldClassTest, ATextBoxOfBlanksAndLineBreaksIsEmptiedAndCheckedEvenWhenNotRequired) {
    init();
    control("Loc:Opis").setValue(" \r\n  \n");
    control("Loc:Opis").setRequired(false);
    EXPECT_EQ(check(), "\"Opis\" podatek mora biti vnešen !");
    EXPECT_EQ(control("Loc:Opis").value(), "");
    EXPECT_EQ(opis.str(), "");
    control("Loc:Opis").setValue("\r\nx");
    EXPECT_EQ(check(), "");
}

TEST_F(ReqFldClassTest, TheMessageFillsTheFirstPlaceholdersOrTakesTheOverride) {
    checker.Init(*window, "Naslov", "@PROMPT/@MSG/@TIP/@FIELD/@PROMPT", 1, fields.get());
    EXPECT_EQ(checker.flag(), 1);
    EXPECT_EQ(checker.messageFor(number("Loc:Enota")).text,
              "\"Skladišče\"/Šifra enote/Šifra skladišča/\"Loc:Enota\"/@PROMPT");
    EXPECT_EQ(checker.messageFor(number("Loc:Enota")).caption, "Naslov");
    checker.SetOverride("Loc:Enota", " POZOR", "Vnesite šifro enote.");
    control("Loc:Enota").setValue("");
    EXPECT_EQ(check(), "Vnesite šifro enote.");
    EXPECT_EQ(frontEnd.boxes().back().caption, " POZOR");
}

}  // namespace
}  // namespace dv::test
