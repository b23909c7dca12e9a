#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "LayoutReferences.h"
#include "runtime/LayoutResources.h"

namespace dv {
namespace {

namespace fs = std::filesystem;
const fs::path kSourceDir = DV_SOURCE_DIR;

TEST(LayoutResources, EmbedsEveryFileUnderResourcesByteForByte) {
    std::set<std::string> onDisk;
    for (const auto& entry : fs::recursive_directory_iterator(kSourceDir / "resources"))
        if (entry.is_regular_file())
            onDisk.insert(
                entry.path().lexically_relative(kSourceDir / "resources").generic_string());
    std::set<std::string> embedded;
    for (const EmbeddedFile& file : embeddedResources()) {
        embedded.insert(std::string(file.path));
        EXPECT_EQ(file.data, test::readSource(kSourceDir / "resources" / file.path)) << file.path;
    }
    EXPECT_EQ(embedded, onDisk);
    ASSERT_FALSE(embedded.empty());
    EXPECT_NE(findResource("windows/Main.layout"), nullptr);
    EXPECT_EQ(findResource("windows/main.layout"), nullptr);
}

TEST(LayoutResources, EveryWindowLayoutParsesAndCarriesItsFileName) {
    const auto names = windowLayoutNames();
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        try {
            EXPECT_EQ(windowLayout(name).name, name);
        } catch (const LayoutError& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

TEST(LayoutResources, LooksUpLayoutsByNameOnceIgnoringCase) {
    const WindowLayout& main = windowLayout("Main");
    EXPECT_EQ(&windowLayout("MAIN"), &main);
    EXPECT_TRUE(main.frame);
    EXPECT_EQ(main.caption, "    DIDEROVIV ");
    EXPECT_THROW(windowLayout("NoSuchWindow"), LayoutError);
    EXPECT_THROW(windowLayout(""), LayoutError);
}

TEST(LayoutReferences, FindsNamedControlsAndReportsTheMissingOnes) {
    const std::string source = R"(
        window.select("?SFENOTE:Enota");
        window.control("?Naziv").setText("Skladišče?");
        alert("?"); note("? not a name"); ask("Ali res?"); call("?OK", "?Manjka");
    )";
    const auto names = test::controlNamesIn(source);
    EXPECT_EQ(names, (std::vector<std::string>{"?SFENOTE:Enota", "?Naziv", "?OK", "?Manjka"}));
    const WindowLayout layout = parseLayout(
        "window W \"W\"\n  entry ?sfenote:enota\n  entry ?Naziv\n  button ?OK \"OK\"\n", "W");
    EXPECT_EQ(test::missingControls(layout, names), (std::vector<std::string>{"?Manjka"}));
}

// Every procedure's source names only controls that its window's layout declares. A procedure
// lives in a file named after it, and its window's layout carries the same name.
TEST(LayoutReferences, EveryControlAProcedureNamesExistsInItsLayout) {
    const auto layouts = windowLayoutNames();
    const std::set<std::string> withLayout(layouts.begin(), layouts.end());
    int checked = 0;
    for (const char* folder : {"app", "masterdata", "stocktake", "terminal", "reports"}) {
        if (!fs::exists(kSourceDir / folder)) continue;
        for (const auto& entry : fs::directory_iterator(kSourceDir / folder)) {
            if (entry.path().extension() != ".cpp") continue;
            const std::string procedure = entry.path().stem().string();
            if (!withLayout.count(procedure)) continue;
            const auto missing = test::missingControls(
                windowLayout(procedure), test::controlNamesIn(test::readSource(entry.path())));
            for (const std::string& name : missing)
                ADD_FAILURE() << entry.path().string() << " names " << name << ", which the layout "
                              << procedure << " does not declare";
            ++checked;
        }
    }
    RecordProperty("procedures_checked", checked);
}

}  // namespace
}  // namespace dv
