#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "framework/FormFields.h"
#include "framework/FormKeyboard.h"
#include "runtime/LocalVariables.h"
#include "runtime/WindowDesktop.h"

namespace dv::test {
namespace {

const WindowLayout& keyboardLayout() {
    static const WindowLayout layout = parseLayout(R"(window Tipke " TIPKE"
  prompt "Od:"
  entry ?Loc:Od picture=@d17
  prompt "Količina:"
  entry ?Loc:Kolicina picture=@n-13.3
  text ?Opis
  list ?Seznam
    column "Naziv"
  button ?OK "V redu" default
)",
                                                   "Tipke.layout");
    return layout;
}

// The keyboard aids on a window of their own; the test plays the runtime, handing the window's
// alerted keys to the component as a window procedure does.
class FormKeyboardTest : public ::testing::Test {
  protected:
    FormKeyboardTest() {
        locals.add("Loc:Od", od);
        locals.add("Loc:Kolicina", kolicina);
        window = std::make_unique<Window>(keyboardLayout(), desktop);
        fields = std::make_unique<FormFields>(*window);
        keyboard = std::make_unique<FormKeyboard>(*window, fields.get());
        drain();
    }

    Control& control(std::string_view name) { return window->control(name); }
    void focus(std::string_view name) { ASSERT_TRUE(focusControl(*window, control(name)).ok()); }

    // Presses the key and lets the component take the events it causes; the events it left
    // ("Accepted ?OK", "Selected ?Opis").
    std::vector<std::string> press(KeyCode key) {
        EXPECT_TRUE(pressKey(*window, key).ok());
        return drain();
    }
    std::vector<std::string> drain() {
        std::vector<std::string> left;
        while (auto event = window->takeEvent()) {
            if (keyboard->TakeEvent(*event) != kEventGoOn) continue;
            std::string shown(eventKindName(event->kind));
            if (!event->isWindowEvent()) shown += " " + window->control(event->control).describe();
            left.push_back(shown);
        }
        return left;
    }

    FormFrontEnd frontEnd;
    DayNumber od = 0;
    FixedDecimal<9, 3> kolicina;
    LocalVariables locals;
    WindowDesktop desktop;
    std::unique_ptr<Window> window;
    std::unique_ptr<FormFields> fields;
    std::unique_ptr<FormKeyboard> keyboard;
};

using Events = std::vector<std::string>;

TEST_F(FormKeyboardTest, EnterMovesToTheNextFieldInsteadOfPressingTheDefaultButton) {
    focus("Loc:Kolicina");
    drain();
    ASSERT_TRUE(typeInto(*window, control("Loc:Kolicina"), "2,5").ok());
    EXPECT_EQ(press(keys::Enter), (Events{"Accepted ?Loc:Kolicina", "Selected ?Opis"}));
    EXPECT_EQ(control("Loc:Kolicina").value(), "2.500");
    // Unchanged: the focus moves at once.
    focus("Loc:Od");
    drain();
    EXPECT_EQ(press(keys::Enter), (Events{"Selected ?Loc:Kolicina"}));
}

TEST_F(FormKeyboardTest, EnterKeepsItsOwnMeaningOnButtonsListsAndTextBoxes) {
    focus("Opis");
    drain();
    EXPECT_EQ(press(keys::Enter), Events{});
    EXPECT_EQ(window->focused(), &control("Opis"));
    focus("Seznam");
    drain();
    EXPECT_EQ(press(keys::Enter), (Events{"Accepted ?Seznam"}));
    focus("OK");
    drain();
    EXPECT_EQ(press(keys::Enter), (Events{"Accepted ?OK"}));
    // Asked directly, the aid does the same.
    keyboard->nextField(control("OK"));
    EXPECT_EQ(drain(), (Events{"Accepted ?OK"}));
    keyboard->nextField(control("Seznam"));
    EXPECT_EQ(drain(), (Events{"Accepted ?Seznam"}));
    EXPECT_TRUE(control("Seznam").alerted(keys::Enter) == false);
}

TEST_F(FormKeyboardTest, F6OnADateFieldOpensTheCalendarAtItsDateAndTakesTheChosenDate) {
    focus("Loc:Od");
    drain();
    ASSERT_TRUE(typeInto(*window, control("Loc:Od"), "1.2.2024").ok());
    frontEnd.answerDate(dayNumber(2024, 3, 15));
    EXPECT_EQ(press(keys::F(6)), Events{});
    ASSERT_EQ(frontEnd.pickers().size(), 1u);
    EXPECT_EQ(frontEnd.pickers()[0].caption, "Koledar");
    EXPECT_EQ(frontEnd.pickers()[0].start, dayNumber(2024, 2, 1));
    EXPECT_EQ(od, dayNumber(2024, 2, 1));  // copied before the calendar opened
    EXPECT_EQ(control("Loc:Od").value(), "15.03.2024");
    // It counts as typed: leaving the field accepts it.
    EXPECT_TRUE(control("Loc:Od").changedByUser());
    EXPECT_EQ(press(keys::Tab), (Events{"Accepted ?Loc:Od", "Selected ?Loc:Kolicina"}));
}

TEST_F(FormKeyboardTest, ACancelledCalendarLeavesTheFieldAndOtherFieldsHaveNone) {
    control("Loc:Od").setValue("01.02.2024");
    focus("Loc:Od");
    drain();
    frontEnd.answerDate(std::nullopt);
    press(keys::F(6));
    EXPECT_EQ(control("Loc:Od").value(), "01.02.2024");
    EXPECT_FALSE(control("Loc:Od").changedByUser());
    // An empty field opens the calendar at today.
    control("Loc:Od").setValue("");
    frontEnd.answerDate(std::nullopt);
    press(keys::F(6));
    EXPECT_EQ(frontEnd.pickers().back().start, 0);
    focus("Loc:Kolicina");
    drain();
    EXPECT_EQ(press(keys::F(6)), Events{});
    EXPECT_EQ(frontEnd.pickers().size(), 2u);
    EXPECT_TRUE(isDateField(control("Loc:Od")));
    EXPECT_FALSE(isDateField(control("Loc:Kolicina")));
}

}  // namespace
}  // namespace dv::test
