#include <gtest/gtest.h>

#include "runtime/EventKey.h"
#include "runtime/Layout.h"

namespace dv {
namespace {

constexpr const char* kForm = R"(# a form
window UpdateTest "Spreminjanje zapisa" resizable timer=50
  prompt "&Šifra:"
  entry ?Test:Sifra picture=@n5 required tip="Šifra" msg="Vnesite šifro"
  option ?Vrsta "Vrsta"
    radio "Drobno" value="M"
    radio "Debelo"
  sheet ?Zavihki
    tab "Prvi"
      group "Okvir"
        entry ?Notri readonly

    tab "Drugi"
  droplist ?Izbira from="Da|Ne"
  check ?Aktiven "Aktiven" true="D" false="N"
  list ?Seznam paged
    column "Šifra" picture=@n5 right
    column "Naziv"
  button ?OK "&V redu" default
)";

TEST(LayoutParser, ReadsWindowControlsAndNestingInFieldOrder) {
    WindowLayout layout = parseLayout(kForm, "UpdateTest.layout");
    EXPECT_EQ(layout.name, "UpdateTest");
    EXPECT_EQ(layout.caption, "Spreminjanje zapisa");
    EXPECT_TRUE(layout.resizable);
    EXPECT_FALSE(layout.frame);
    EXPECT_EQ(layout.timer, 50);
    ASSERT_EQ(layout.controls.size(), 14u);

    const ControlLayout& sifra = layout.controls[1];
    EXPECT_EQ(sifra.type, ControlType::Entry);
    EXPECT_EQ(sifra.name, "Test:Sifra");
    EXPECT_EQ(sifra.picture, "@n5");
    EXPECT_TRUE(sifra.required);
    EXPECT_EQ(sifra.tip, "Šifra");
    EXPECT_EQ(sifra.message, "Vnesite šifro");
    EXPECT_EQ(sifra.parent, 0);
    EXPECT_EQ(sifra.line, 4);

    // Radios lie in their option, the entry in the group in the first tab.
    EXPECT_EQ(layout.controls[3].parent, 3);
    EXPECT_EQ(layout.controls[3].value, "M");
    EXPECT_EQ(layout.controls[4].value, "");
    const ControlLayout* notri = layout.find("?notri");
    ASSERT_NE(notri, nullptr);
    EXPECT_TRUE(notri->readOnly);
    EXPECT_EQ(layout.controls[notri->parent - 1].text, "Okvir");
    EXPECT_EQ(layout.controls[layout.controls[notri->parent - 1].parent - 1].text, "Prvi");
    // The blank line does not end the sheet: the second tab is still its member.
    EXPECT_EQ(layout.find("Zavihki")->type, ControlType::Sheet);
    EXPECT_EQ(layout.controls[9].text, "Drugi");
    EXPECT_EQ(layout.controls[9].parent, layout.numberOf(*layout.find("Zavihki")));
    // After the sheet, the indentation returns to the window.
    EXPECT_EQ(layout.find("Izbira")->parent, 0);
    EXPECT_EQ(layout.find("Izbira")->choices, (std::vector<std::string>{"Da", "Ne"}));
    EXPECT_EQ(layout.find("Aktiven")->trueValue, "D");
    EXPECT_EQ(layout.find("Aktiven")->falseValue, "N");

    const ControlLayout* list = layout.find("SEZNAM");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->paged);
    ASSERT_EQ(list->columns.size(), 2u);
    EXPECT_EQ(list->columns[0].heading, "Šifra");
    EXPECT_TRUE(list->columns[0].rightAligned);
    EXPECT_EQ(list->columns[1].picture, "");
    EXPECT_TRUE(layout.find("OK")->isDefault);
    EXPECT_EQ(layout.find("?Nothing"), nullptr);
    EXPECT_EQ(layout.find("?"), nullptr);
}

// The error of parsing `body` under a standard window line.
std::string errorOf(const std::string& body, const std::string& header = "window W \"W\"") {
    try {
        parseLayout(header + "\n" + body, "W.layout");
    } catch (const LayoutError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(LayoutParser, RefusesMalformedLayoutsWithFileLineAndReason) {
    struct Case {
        std::string body;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"  entry ?A\n  widget ?B", "W.layout:3: unknown control type 'widget'"},
        {"  entry ?A\n\tentry ?B", "W.layout:3: indent with blanks, not tabs"},
        {"entry ?A", "W.layout:2: only the window line starts at the left margin"},
        {"  group\n      entry ?A\n    entry ?B",
         "W.layout:4: the indentation matches no outer line"},
        {"  radio \"A\"", "W.layout:2: radio must lie inside an option"},
        {"  group\n    tab \"A\"", "W.layout:3: a group cannot hold a tab"},
        {"  sheet\n    entry ?A", "W.layout:3: a sheet cannot hold an entry"},
        {"  entry ?Naziv\n  entry ?NAZIV",
         "W.layout:3: control ?NAZIV is declared twice (first on line 2)"},
        {"  entry ?A picture=@x9", "W.layout:2: picture @x9:"},
        {"  entry ?A colour=3", "W.layout:2: 'colour=3' is not an attribute of an entry"},
        {"  string ?A required", "W.layout:2: 'required' is not an attribute of a string"},
        {"  button ?A \"x\" \"y\"", "W.layout:2: unexpected text \"y\""},
        {"  droplist ?A", "W.layout:2: a droplist needs its choices"},
        {"  group\n    column \"X\"", "W.layout:3: a column must lie inside a list"},
        {"  entry ?A\n    entry ?B", "W.layout:3: the indentation matches no outer line"},
        {"  menubar", "W.layout:2: menubar belongs to a frame window"},
        {"  entry ?A fg=red", "W.layout:2: fg needs a whole number, not 'red'"},
        {"  entry ?A-B", "W.layout:2: control name 'A-B' has the character '-'"},
        {"  button \"open", "W.layout:2: quoted text opened at column 10 is not closed"},
        {"  button ?A key=F55", "W.layout:2: key 'F55' is not a key name"},
        {"  list ?L locator=Lokator", "W.layout:2: locator names a control: ?NAME, not 'Lokator'"},
        {"  list ?L\n    column \"X\" field=A-B", "W.layout:3: field 'A-B' has the character '-'"},
        {"  entry ?A form=UpdateX", "W.layout:2: 'form=UpdateX' is not an attribute of an entry"},
        {"  option ?A radios=all", "W.layout:2: 'radios=all' is not an attribute of an option"},
        {"  button ?A label=\"x\"", "W.layout:2: 'label=x' is not an attribute of a button"},
        {"  button ?A link", "W.layout:2: 'link' is not an attribute of a button"},
        {"  entry ?A hover=255", "W.layout:2: 'hover=255' is not an attribute of an entry"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.body).substr(0, c.expected.size()), c.expected) << c.body;

    EXPECT_EQ(errorOf("", "# nothing"), "W.layout:2: the file has no window line");
    EXPECT_EQ(errorOf("", "  window W \"W\""), "W.layout:1: the window line must not be indented");
    EXPECT_EQ(errorOf("", "window W"), "W.layout:1: expected: window NAME \"CAPTION\"");
    EXPECT_EQ(errorOf("", "window W \"W\" modal"), "W.layout:1: unknown window attribute 'modal'");
    EXPECT_EQ(errorOf("", "window W \"W\" procedure=report"),
              "W.layout:1: unknown window attribute 'procedure=report'");
}

// A list window and a form say in their layout what the code would otherwise bind: the list's
// table, orders, columns and the procedures its buttons call; a form's table and first field.
TEST(LayoutParser, ReadsTheBindingsOfListsFormsAndButtons) {
    WindowLayout list = parseLayout(R"(window BrowseX "X" resizable
  list ?Seznam paged table=SFENOTE filter="SFENOTE:TIP = 'M'" locator=?Lokator query=?Poizvedba form=UpdateX print=OknoX
    column "Šifra" field=SFENOTE:Enota key=ENOTAKLJUC picture=@n3 center
    column "Tip" field=TIP
  button ?Izpis "Izpis  [F5]" key=F5 call=OknoX
)",
                                    "BrowseX.layout");
    const ControlLayout& seznam = *list.find("Seznam");
    EXPECT_EQ(seznam.binding.table, "SFENOTE");
    EXPECT_EQ(seznam.binding.order, "");
    EXPECT_EQ(seznam.binding.filter, "SFENOTE:TIP = 'M'");
    EXPECT_EQ(seznam.binding.locator, "Lokator");
    EXPECT_EQ(seznam.binding.query, "Poizvedba");
    EXPECT_EQ(seznam.binding.form, "UpdateX");
    EXPECT_EQ(seznam.binding.print, "OknoX");
    ASSERT_EQ(seznam.columns.size(), 2u);
    EXPECT_EQ(seznam.columns[0].field, "SFENOTE:Enota");
    EXPECT_EQ(seznam.columns[0].key, "ENOTAKLJUC");
    EXPECT_TRUE(seznam.columns[0].centred);
    EXPECT_EQ(seznam.columns[1].field, "TIP");
    EXPECT_EQ(seznam.columns[1].key, "");
    const ControlLayout& izpis = *list.find("Izpis");
    EXPECT_EQ(izpis.key, keys::F(5));
    EXPECT_EQ(izpis.call, "OknoX");

    WindowLayout print = parseLayout(
        "window OknoX \"X\" procedure=print report=IzpisX title=\"Šifrant X\"\n", "OknoX.layout");
    EXPECT_EQ(print.procedure, "print");
    EXPECT_EQ(print.report, "IzpisX");
    EXPECT_EQ(print.title, "Šifrant X");

    WindowLayout form = parseLayout(R"(window UpdateX "X" table=SFENOTE first=?SFENOTE:Naziv
  option ?SFENOTE:TIP "Tip" radios=rule
  prompt "Šifra skladišča:"
  entry ?SFENOTE:Enota required label="Skladišče" help="Šifra skladišča"
  entry ?SFENOTE:Naziv
)",
                                    "UpdateX.layout");
    EXPECT_EQ(form.table, "SFENOTE");
    EXPECT_EQ(form.first, "SFENOTE:Naziv");
    EXPECT_TRUE(form.find("SFENOTE:TIP")->radiosFromRule);
    const ControlLayout& enota = *form.find("SFENOTE:Enota");
    EXPECT_EQ(enota.label, "Skladišče");
    EXPECT_EQ(enota.tip, "Šifra skladišča");
    EXPECT_EQ(enota.message, "Šifra skladišča");
}

// A link is a string with its colours at rest and under the pointer.
TEST(LayoutParser, ReadsLinksWithTheirColours) {
    WindowLayout layout = parseLayout(R"(window W "W"
  string ?Stran "Spletna stran" link fg=6710886 hover=16777215
  string ?Info "info"
)",
                                      "W.layout");
    const ControlLayout& link = *layout.find("Stran");
    EXPECT_TRUE(link.link);
    EXPECT_EQ(link.foreground, 0x666666);
    EXPECT_EQ(link.hover, 0xFFFFFF);
    EXPECT_FALSE(layout.find("Info")->link);
    EXPECT_EQ(layout.find("Info")->hover, kDefaultColour);
}

TEST(LayoutParser, FrameHoldsMenusAndToolbar) {
    WindowLayout layout = parseLayout(R"(window Main "Frame" frame
  menubar
    menu "&Datoteka"
      item ?Izhod "Izhod"
      menu "Več"
        item ?Drugo "Drugo"
  toolbar
    button ?TbIzhod "IZHOD"
)",
                                      "Main.layout");
    EXPECT_TRUE(layout.frame);
    EXPECT_EQ(layout.controls.size(), 7u);
    EXPECT_EQ(layout.find("Drugo")->parent, 4);
    EXPECT_EQ(layout.find("TbIzhod")->parent, 6);
    EXPECT_EQ(errorOf("  menubar\n    item \"x\"", "window M \"M\" frame"),
              "W.layout:3: a menubar cannot hold an item");
}

}  // namespace
}  // namespace dv
