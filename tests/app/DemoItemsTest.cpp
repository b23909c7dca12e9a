#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/DemoItems.h"
#include "app/DemoNames.h"
#include "runtime/CodePage1250.h"

namespace dv {
namespace {

std::size_t combinations() {
    std::size_t sizes = 0;
    for (const DemoGroup& group : demoGroups())
        for (const DemoSubgroup& subgroup : group.subgroups)
            for (const DemoProduct& product : subgroup.products) sizes += product.sizes.size();
    return sizes * demoBrands().size();
}

TEST(DemoItems, CatalogueHasDistinctNamesFromEverySubgroup) {
    const std::vector<DemoItemChoice> items = chooseDemoItems(kDemoItemCount);
    ASSERT_EQ(items.size(), kDemoItemCount);
    std::set<std::string> names;
    std::set<std::pair<std::size_t, std::size_t>> subgroups;
    bool c = false, s = false, z = false;
    for (const DemoItemChoice& item : items) {
        const std::string name = demoItemName(item);
        EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
        EXPECT_LE(utf8ToCp1250(name).size(), 60u) << name << " does not fit the item's name";
        EXPECT_EQ(utf8ToCp1250(name).find('?'), std::string::npos) << name;
        subgroups.insert({item.group, item.subgroup});
        c = c || name.find("č") != std::string::npos || name.find("Č") != std::string::npos;
        s = s || name.find("š") != std::string::npos || name.find("Š") != std::string::npos;
        z = z || name.find("ž") != std::string::npos || name.find("Ž") != std::string::npos;
    }
    std::size_t allSubgroups = 0;
    for (const DemoGroup& group : demoGroups()) allSubgroups += group.subgroups.size();
    EXPECT_EQ(subgroups.size(), allSubgroups);
    EXPECT_TRUE(c && s && z) << "the names show the Slovenian letters";
}

// Enough items for every product line and a second round of them: the names that could clash
// (a long name cut to make room for its line) come up in every round alike.
TEST(DemoItems, LaterSeriesKeepEveryNameDistinct) {
    EXPECT_EQ(chooseDemoItems(0).size(), 0u);
    const std::size_t count = 40000;
    ASSERT_LT(combinations(), count) << "the first series alone would hold them all";
    const std::vector<DemoItemChoice> items = chooseDemoItems(count);
    ASSERT_EQ(items.size(), count);
    std::set<std::string> names;
    std::size_t later = 0, secondRound = 0;
    for (const DemoItemChoice& item : items) {
        secondRound += item.series > demoProductLines().size() ? 1 : 0;
        const std::string name = demoItemName(item);
        EXPECT_TRUE(names.insert(name).second) << "twice: " << name;
        EXPECT_LE(utf8ToCp1250(name).size(), kDemoItemNameLength) << name;
        later += item.series > 0 ? 1 : 0;
    }
    EXPECT_GT(later, count / 2);
    EXPECT_GT(secondRound, 0u) << "some product lines come round a second time";
    // The first items are those of the first series, in the same order as before.
    const std::vector<DemoItemChoice> first = chooseDemoItems(kDemoItemCount);
    for (std::size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(demoItemName(first[i]), demoItemName(items[i])) << i;
}

TEST(DemoItems, WordListsFitTheirFields) {
    std::set<std::string_view> groups, makers;
    for (const DemoGroup& group : demoGroups()) {
        EXPECT_LE(utf8ToCp1250(group.name).size(), 30u) << group.name;
        EXPECT_TRUE(groups.insert(group.name).second) << "group names are a unique key";
        for (const DemoSubgroup& subgroup : group.subgroups) {
            EXPECT_LE(utf8ToCp1250(subgroup.name).size(), 30u) << subgroup.name;
            EXPECT_NE(findDemoUnitOfMeasure(subgroup.unitOfMeasure), nullptr) << subgroup.name;
            EXPECT_LT(0, subgroup.lowestPrice);
            EXPECT_LE(subgroup.lowestPrice, subgroup.highestPrice);
        }
    }
    for (const DemoBrand& brand : demoBrands()) {
        EXPECT_EQ(brand.manufacturer.size(), 4u);
        EXPECT_TRUE(makers.insert(brand.manufacturer).second) << "makers make the codes unique";
    }
}

}  // namespace
}  // namespace dv
