#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "runtime/WindowDesktop.h"
#include "runtime/WindowInput.h"

namespace dv {
namespace {

using test::Events;
using test::takeEvents;

const WindowLayout& formLayout() {
    static const WindowLayout layout = parseLayout(R"(window Form "Obrazec"
  prompt "&Šifra:"
  entry ?Sifra picture=@n5 required
  prompt "&Naziv:"
  entry ?Naziv picture=@s10
  prompt "Datum:"
  entry ?Datum picture=@d17
  string ?Info "info"
  check ?Aktiven "&Aktiven"
  option ?Vrsta "Vrsta"
    radio ?Drobno "Drobno" value="M"
    radio ?Debelo "Debelo" value="V"
  sheet ?Zavihki
    tab ?Prvi "Prvi"
      entry ?Prva
    tab ?Drugi "Drugi"
      group ?Okvir "Okvir"
        entry ?Druga
  group ?Skupina "Skupina" disabled
    entry ?VSkupini
  entry ?Skrita hidden
  entry ?Preskok skip
  list ?Seznam
    column "A"
    column "B"
  button ?OK "&V redu" default
  button ?Cancel "&Prekliči"
)",
                                                   "Form.layout");
    return layout;
}

class WindowTest : public ::testing::Test {
  protected:
    WindowTest() : window(formLayout(), desktop) {
        EXPECT_EQ(takeEvents(window), Events{"OpenWindow"});
    }

    std::string focusName() const {
        return window.focused() ? window.focused()->describe() : std::string("none");
    }

    // Tab pressed `times` times; the focus after each, with the events each produced.
    std::vector<std::string> tabThrough(int times) {
        std::vector<std::string> seen;
        for (int i = 0; i < times; ++i) {
            pressKey(window, keys::Tab);
            takeEvents(window);
            seen.push_back(focusName());
        }
        return seen;
    }

    WindowDesktop desktop;
    Window window;
};

TEST_F(WindowTest, NumbersControlsInFieldOrderAndFindsThemByName) {
    EXPECT_EQ(window.controlCount(), 24);
    EXPECT_EQ(window.control("?sifra").number(), 2);
    EXPECT_EQ(&window.control("SIFRA"), &window.control(2));
    EXPECT_EQ(window.find("?Nothing"), nullptr);
    EXPECT_THROW(window.control("?Nothing"), std::out_of_range);
    EXPECT_THROW(window.control(25), std::out_of_range);
    EXPECT_EQ(window.control("Prva").parent(), &window.control("Prvi"));
    EXPECT_EQ(window.caption(), "Obrazec");
    EXPECT_EQ(desktop.focused(), &window);
}

TEST_F(WindowTest, TabFollowsFieldOrderPastWhatCannotTakeTheFocus) {
    EXPECT_EQ(focusName(), "?Sifra");  // the first control that can take the focus
    // Prompts and strings never take it; Tab passes over hidden, disabled and skipped controls and
    // controls on a tab not shown; an option group is entered at its first radio.
    EXPECT_EQ(tabThrough(9),
              (std::vector<std::string>{"?Naziv", "?Datum", "?Aktiven", "?Drobno", "?Prva",
                                        "?Seznam", "?OK", "?Cancel", "?Sifra"}));
    pressKey(window, keys::ShiftTab);
    EXPECT_EQ(takeEvents(window), Events{"Selected ?Cancel"});
}

TEST_F(WindowTest, ContainersPassTheirStateToWhatTheyHold) {
    Control& druga = window.control("Druga");
    EXPECT_FALSE(druga.isVisible());  // its tab is not the chosen one
    ASSERT_TRUE(chooseTab(window, window.control("Drugi")).ok());
    EXPECT_EQ(takeEvents(window), Events{"NewSelection ?Zavihki"});
    EXPECT_TRUE(druga.isVisible());
    EXPECT_FALSE(window.control("Prva").isVisible());
    EXPECT_EQ(window.control("Zavihki").value(), "2");
    EXPECT_EQ(window.control("Zavihki").displayText(), "Drugi");

    EXPECT_FALSE(window.control("VSkupini").isEnabled());
    window.control("Skupina").setEnabled(true);
    EXPECT_TRUE(window.control("VSkupini").isEnabled());
    window.control("Okvir").setHidden(true);
    EXPECT_FALSE(druga.isVisible());
    EXPECT_FALSE(druga.canFocus());
}

TEST_F(WindowTest, ChangingTheTabTakesTheFocusOffAControlItHides) {
    window.select("Prva");
    takeEvents(window);
    ASSERT_TRUE(chooseTab(window, window.control("Drugi")).ok());
    EXPECT_EQ(takeEvents(window), (Events{"NewSelection ?Zavihki", "Selected ?Druga"}));
    EXPECT_EQ(focusName(), "?Druga");
}

TEST_F(WindowTest, TypedTextIsAcceptedBeforeTheFocusMovesOn) {
    ASSERT_TRUE(typeInto(window, window.control("Sifra"), "12").ok());
    EXPECT_TRUE(window.control("Sifra").changedByUser());
    pressKey(window, keys::Tab);
    // The procedure sees Accepted while the focus is still on the field; the focus moves when
    // it asks for the next event.
    auto accepted = window.takeEvent();
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->kind, EventKind::Accepted);
    EXPECT_EQ(focusName(), "?Sifra");
    EXPECT_FALSE(window.control("Sifra").changedByUser());
    EXPECT_EQ(takeEvents(window), Events{"Selected ?Naziv"});
    EXPECT_EQ(window.control("Sifra").value(), "12");

    // An unchanged field is left without Accepted.
    pressKey(window, keys::Tab);
    EXPECT_EQ(takeEvents(window), Events{"Selected ?Datum"});
}

// The procedure can tell what was typed from what the picture shows: "007" is shown as "7".
TEST_F(WindowTest, TheTextAsTypedIsKeptBesideTheValueThePictureShows) {
    Control& sifra = window.control("Sifra");
    EXPECT_EQ(sifra.typedText(), "");
    ASSERT_TRUE(typeInto(window, sifra, "007").ok());
    EXPECT_EQ(sifra.typedText(), "");  // not yet accepted
    pressKey(window, keys::Tab);
    EXPECT_EQ(sifra.value(), "7");
    EXPECT_EQ(sifra.typedText(), "007");
}

TEST_F(WindowTest, SelectingWhileAcceptedIsHandledKeepsTheProgramsChoice) {
    ASSERT_TRUE(typeInto(window, window.control("Sifra"), "7").ok());
    pressKey(window, keys::Tab);
    ASSERT_EQ(window.takeEvent()->kind, EventKind::Accepted);
    window.select("Datum");  // the procedure's validation sends the user elsewhere
    EXPECT_EQ(takeEvents(window), Events{"Selected ?Datum"});
    EXPECT_EQ(focusName(), "?Datum");
}

TEST_F(WindowTest, TextThatDoesNotFitThePictureIsRejectedAndKeepsTheFocus) {
    window.select("Datum");
    takeEvents(window);
    ASSERT_TRUE(typeInto(window, window.control("Datum"), "31.02.2024").ok());
    pressKey(window, keys::Tab);
    auto rejected = window.takeEvent();
    ASSERT_TRUE(rejected);
    EXPECT_EQ(rejected->kind, EventKind::Rejected);
    EXPECT_FALSE(rejected->detail.empty());
    EXPECT_EQ(takeEvents(window), Events{});
    EXPECT_EQ(focusName(), "?Datum");

    // A date typed short is shown as its picture formats it once accepted.
    ASSERT_TRUE(typeInto(window, window.control("Datum"), "1.2.2024").ok());
    pressKey(window, keys::Tab);
    EXPECT_EQ(takeEvents(window), (Events{"Accepted ?Datum", "Selected ?Aktiven"}));
    EXPECT_EQ(window.control("Datum").value(), "01.02.2024");
    // Text is cut to its picture's width.
    window.select("Naziv");
    takeEvents(window);
    ASSERT_TRUE(typeInto(window, window.control("Naziv"), "Trgovina Center").ok());
    pressKey(window, keys::Tab);
    takeEvents(window);
    EXPECT_EQ(window.control("Naziv").value(), "Trgovina C");
}

TEST_F(WindowTest, TypingIsRefusedWhereTheUserCannotType) {
    EXPECT_FALSE(typeInto(window, window.control("Naziv"), "x").ok());  // not focused
    EXPECT_FALSE(typeInto(window, window.control("Info"), "x").ok());
    EXPECT_EQ(typeInto(window, window.control("VSkupini"), "x").refusal, "?VSkupini is disabled");
    EXPECT_EQ(typeInto(window, window.control("Skrita"), "x").refusal, "?Skrita is hidden");
    EXPECT_EQ(focusControl(window, window.control("VSkupini")).refusal, "?VSkupini is disabled");
    EXPECT_EQ(pressControl(window, window.control("Naziv")).refusal, "?Naziv cannot be pressed");
}

TEST_F(WindowTest, AcceptAllVisitsEveryUsableInputThenCompletes) {
    window.acceptAll();
    EXPECT_EQ(takeEvents(window),
              (Events{"Accepted ?Sifra", "Accepted ?Naziv", "Accepted ?Datum", "Accepted ?Aktiven",
                      "Accepted ?Vrsta", "Accepted ?Prva", "Accepted ?Preskok", "Completed"}));
    EXPECT_FALSE(window.acceptingAll());
}

TEST_F(WindowTest, AcceptAllStopsAtABadFieldOrWhenTheProgramSelects) {
    window.control("Datum").setValue("99.99.9999");
    window.acceptAll();
    EXPECT_EQ(takeEvents(window),
              (Events{"Accepted ?Sifra", "Accepted ?Naziv", "Rejected ?Datum"}));

    window.control("Datum").setValue("");
    window.acceptAll();
    ASSERT_EQ(window.takeEvent()->kind, EventKind::Accepted);
    window.select("Sifra");  // the required field was empty
    EXPECT_EQ(takeEvents(window), Events{"Selected ?Sifra"});
}

TEST_F(WindowTest, ButtonsChecksAndRadiosReactToPresses) {
    ASSERT_TRUE(pressControl(window, window.control("Aktiven")).ok());
    EXPECT_EQ(takeEvents(window), (Events{"Selected ?Aktiven", "Accepted ?Aktiven"}));
    EXPECT_TRUE(window.control("Aktiven").checked());
    EXPECT_EQ(window.control("Aktiven").value(), "1");

    ASSERT_TRUE(pressControl(window, window.control("Debelo")).ok());
    EXPECT_EQ(takeEvents(window), (Events{"Selected ?Debelo", "Accepted ?Vrsta"}));
    EXPECT_EQ(window.control("Vrsta").value(), "V");
    EXPECT_TRUE(window.control("Debelo").chosen());
    EXPECT_FALSE(window.control("Drobno").chosen());
    // Tab now enters the group at the chosen radio.
    window.select("Aktiven");
    takeEvents(window);
    EXPECT_EQ(tabThrough(1), std::vector<std::string>{"?Debelo"});

    // A field changed by typing is accepted before a pressed button.
    window.select("Naziv");
    typeInto(window, window.control("Naziv"), "Nov");
    takeEvents(window);
    ASSERT_TRUE(pressControl(window, window.control("OK")).ok());
    EXPECT_EQ(takeEvents(window), (Events{"Accepted ?Naziv", "Selected ?OK", "Accepted ?OK"}));
}

TEST_F(WindowTest, DefaultKeysActOnTheFocusedControl) {
    pressKey(window, keys::Enter);  // on an entry: the default button
    EXPECT_EQ(takeEvents(window), Events{"Accepted ?OK"});
    window.select("Cancel");
    takeEvents(window);
    pressKey(window, keys::Enter);  // on a button: that button
    EXPECT_EQ(takeEvents(window), Events{"Accepted ?Cancel"});
    pressKey(window, keys::Space);
    EXPECT_EQ(takeEvents(window), Events{"Accepted ?Cancel"});
    pressKey(window, keys::Esc);
    EXPECT_EQ(takeEvents(window), Events{"CloseWindow"});
    pressKey(window, keys::F(6));
    EXPECT_EQ(takeEvents(window), Events{});
}

TEST_F(WindowTest, AlertedKeysReachTheProcedureInsteadOfTheirDefault) {
    window.alert(keys::Enter);
    window.control("Naziv").alert(keys::F(6));
    pressKey(window, keys::Enter);
    EXPECT_EQ(takeEvents(window), Events{"AlertKey ?Sifra Enter"});
    pressKey(window, keys::F(6));  // alerted only on ?Naziv
    EXPECT_EQ(takeEvents(window), Events{});
    window.select("Naziv");
    takeEvents(window);
    pressKey(window, keys::F(6));
    EXPECT_EQ(takeEvents(window), Events{"AlertKey ?Naziv F6"});
    window.unalert(keys::Enter);
    pressKey(window, keys::Enter);
    EXPECT_EQ(takeEvents(window), Events{"Accepted ?OK"});
}

TEST_F(WindowTest, ListRowsCellsAndHighlight) {
    Control& list = window.control("Seznam");
    EXPECT_EQ(list.highlighted(), 0);
    EXPECT_EQ(highlightRow(window, list, 1).refusal, "?Seznam has 0 rows, not row 1");
    list.setRows({{{"1"}, {"Ena", 255, 0, 0, 65535}}, {{"2"}, {"Dva"}}, {{"3"}, {"Tri"}}});
    EXPECT_EQ(list.highlighted(), 1);
    EXPECT_EQ(list.cell(1, 2).foreground, 255);
    EXPECT_EQ(list.cell(1, 2).selectedBackground, 65535);
    EXPECT_EQ(list.cell(2, 1).background, kDefaultColour);
    EXPECT_THROW(list.cell(4, 1), std::out_of_range);
    EXPECT_THROW(list.cell(1, 3), std::out_of_range);

    ASSERT_TRUE(highlightRow(window, list, 2).ok());
    EXPECT_EQ(takeEvents(window), (Events{"Selected ?Seznam", "NewSelection ?Seznam"}));
    EXPECT_EQ(list.displayText(), "2|Dva");
    pressKey(window, keys::Down);
    pressKey(window, keys::Down);  // already on the last row of a list that is not paged
    EXPECT_EQ(takeEvents(window), Events{"NewSelection ?Seznam"});
    EXPECT_EQ(list.highlighted(), 3);
    pressKey(window, keys::Home);
    EXPECT_EQ(list.highlighted(), 1);
    pressKey(window, keys::Enter);
    EXPECT_EQ(takeEvents(window), (Events{"NewSelection ?Seznam", "Accepted ?Seznam"}));
    list.setRows({{{"1"}}});
    EXPECT_EQ(list.highlighted(), 1);  // brought back into range
}

TEST(WindowPagedList, ScrollsPastItsRowsThroughTheProcedure) {
    const WindowLayout layout = parseLayout("window L \"L\"\n  list ?Seznam paged\n", "L");
    WindowDesktop desktop;
    Window window(layout, desktop);
    Control& list = window.control("Seznam");
    takeEvents(window);
    pressKey(window, keys::Down);  // no rows: nothing to scroll
    EXPECT_EQ(takeEvents(window), Events{});
    list.setRows({{{"a"}}, {{"b"}}});
    pressKey(window, keys::Up);
    pressKey(window, keys::Down);
    pressKey(window, keys::Down);
    pressKey(window, keys::PgDn);
    pressKey(window, keys::PgUp);
    pressKey(window, keys::Home);
    pressKey(window, keys::End);
    EXPECT_EQ(takeEvents(window),
              (Events{"ScrollUp ?Seznam", "NewSelection ?Seznam", "ScrollDown ?Seznam",
                      "PageDown ?Seznam", "PageUp ?Seznam", "ScrollTop ?Seznam",
                      "ScrollBottom ?Seznam"}));
}

// A link is pressed as a button is, after the field being typed in is accepted; it does not
// take the focus, and a plain text cannot be pressed at all.
TEST(WindowLink, IsPressedAsAButtonWithoutTakingTheFocus) {
    const WindowLayout layout = parseLayout(R"(window L "L"
  entry ?Naziv picture=@s10
  string ?Stran "Spletna stran" link
  string ?Info "info"
)",
                                            "L");
    WindowDesktop desktop;
    Window window(layout, desktop);
    window.select("Naziv");
    takeEvents(window);
    typeInto(window, window.control("Naziv"), "Nov");
    ASSERT_TRUE(pressControl(window, window.control("Stran")).ok());
    EXPECT_EQ(takeEvents(window), (Events{"Accepted ?Naziv", "Accepted ?Stran"}));
    EXPECT_EQ(window.focused(), &window.control("Naziv"));
    EXPECT_EQ(pressControl(window, window.control("Info")).refusal, "?Info cannot be pressed");
    window.control("Stran").setEnabled(false);
    EXPECT_FALSE(pressControl(window, window.control("Stran")).ok());
    EXPECT_EQ(takeEvents(window), Events{});
}

TEST(WindowTimer, FiresAtOnceOnlyWhereTimersAreImmediateAndStopsWhenCleared) {
    const WindowLayout layout = parseLayout("window T \"T\" timer=100\n", "T");
    WindowDesktop desktop;
    Window window(layout, desktop);
    EXPECT_EQ(takeEvents(window), Events{"OpenWindow"});  // not due yet
    desktop.setImmediateTimers(true);
    ASSERT_TRUE(window.eventReady());
    EXPECT_EQ(window.takeEvent()->kind, EventKind::Timer);
    EXPECT_EQ(window.takeEvent()->kind, EventKind::Timer);
    EXPECT_TRUE(desktop.nextTimerDue().has_value());
    window.setTimer(0);
    EXPECT_FALSE(window.eventReady());
    EXPECT_FALSE(desktop.nextTimerDue().has_value());
}

TEST(WindowDesktopOrder, TheNewestWindowHasTheFocusUntilItCloses) {
    const WindowLayout a = parseLayout("window A \"Prvo\"\n", "A");
    const WindowLayout frame = parseLayout("window M \"Okvir\" frame\n", "M");
    WindowDesktop desktop;
    Window main(frame, desktop);
    auto first = std::make_unique<Window>(a, desktop);
    Window second(a, desktop);
    EXPECT_EQ(desktop.focused(), &second);
    EXPECT_EQ(desktop.frame(), &main);
    desktop.activate(*first);
    EXPECT_EQ(desktop.focused(), first.get());
    takeEvents(second);
    EXPECT_EQ(takeEvents(*first), (Events{"OpenWindow", "GainFocus"}));
    first.reset();  // closing the focused window gives the focus back to the one before it
    EXPECT_EQ(desktop.focused(), &second);
    EXPECT_EQ(takeEvents(second), Events{"GainFocus"});
    const auto changes = desktop.changeCount();
    second.close();
    second.close();
    EXPECT_EQ(desktop.changeCount(), changes + 1);
    EXPECT_FALSE(second.isOpen());
    EXPECT_EQ(desktop.windows(), std::vector<Window*>{&main});
}

}  // namespace
}  // namespace dv
