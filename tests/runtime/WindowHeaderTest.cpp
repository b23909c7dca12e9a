#include <gtest/gtest.h>

#include "runtime/WindowDesktop.h"
#include "runtime/WindowInput.h"

namespace dv {
namespace {

TEST(WindowHeader, AClickOnAHeadingReachesTheListWithItsColumnOrIsRefusedWithTheReason) {
    const WindowLayout layout = parseLayout(R"(window Seznami "Seznami"
  list ?Seznam
    column "Šifra" picture=@n3 center
    column "Naziv"
  entry ?Iskanje
  list ?Skrit hidden
    column "A"
)",
                                            "Seznami.layout");
    WindowDesktop desktop;
    Window window(layout, desktop);
    Control& list = window.control("Seznam");
    EXPECT_TRUE(list.columns()[0].centred);
    EXPECT_FALSE(list.columns()[1].centred);
    window.select("Iskanje");
    while (window.takeEvent()) {
    }

    EXPECT_EQ(pressColumnHeader(window, list, 3).refusal, "?Seznam has 2 columns, not column 3");
    EXPECT_FALSE(pressColumnHeader(window, list, 0).ok());
    EXPECT_EQ(pressColumnHeader(window, window.control("Iskanje"), 1).refusal,
              "?Iskanje is not a list");
    EXPECT_EQ(pressColumnHeader(window, window.control("Skrit"), 1).refusal, "?Skrit is hidden");
    EXPECT_FALSE(window.takeEvent().has_value());

    ASSERT_TRUE(pressColumnHeader(window, list, 2).ok());
    const std::optional<Event> event = window.takeEvent();
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->kind, EventKind::HeaderPressed);
    EXPECT_EQ(event->control, list.number());
    EXPECT_EQ(event->column, 2);
    EXPECT_EQ(window.focused(), &window.control("Iskanje")) << "the focus stays";
}

}  // namespace
}  // namespace dv
