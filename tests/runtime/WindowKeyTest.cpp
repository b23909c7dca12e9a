#include <gtest/gtest.h>

#include "runtime/EventKey.h"

namespace dv {
namespace {

TEST(WindowKey, ReadsTheKeysScriptsNameWithTheirModifiers) {
    EXPECT_EQ(keyFromName("Ctrl+'"), 734);
    EXPECT_EQ(keyFromName("ctrl+'"), keys::CtrlApostrophe);
    EXPECT_EQ(keyFromName("Ctrl+Enter"), keys::CtrlEnter);
    EXPECT_EQ(keyFromName("Shift+Enter"), keys::ShiftEnter);
    EXPECT_EQ(keyFromName("Ctrl+A"), keys::kCtrl + 'A');
    EXPECT_EQ(keyFromName("ctrl+a"), keys::kCtrl + 'A');
    EXPECT_EQ(keyFromName("F1"), keys::F1);
    EXPECT_EQ(keyFromName("F12"), keys::F(12));
    EXPECT_EQ(keyFromName("PgDn"), keys::PgDn);
    EXPECT_EQ(keyFromName("Shift+Ctrl+Tab"), keys::kShift + keys::kCtrl + keys::Tab);
    for (const char* bad : {"F0", "F13", "F01", "Ctrl+", "Ctrl+Ctrl+A", "Enterr", "", "+"})
        EXPECT_FALSE(keyFromName(bad).has_value()) << bad;
}

TEST(WindowKey, NamesEveryKeyTheWayItIsRead) {
    for (const char* name :
         {"Enter", "Tab", "Esc", "F6", "Insert", "Delete", "Up", "Down", "PgUp", "PgDn", "Home",
          "End", "Ctrl+A", "Ctrl+Enter", "Shift+Enter", "Ctrl+'", "Alt+F4", "7"}) {
        auto key = keyFromName(name);
        ASSERT_TRUE(key) << name;
        EXPECT_EQ(keyName(*key), name);
    }
}

}  // namespace
}  // namespace dv
