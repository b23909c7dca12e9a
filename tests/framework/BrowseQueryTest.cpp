#include <gtest/gtest.h>

#include "data/Dictionary.h"
#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "framework/BrowseQuery.h"
#include "runtime/Date.h"
#include "runtime/Expression.h"
#include "schema/Records.h"

namespace dv {
namespace {

const TableDef& lines() {
    return *findTable("INVENDET");
}
constexpr int kGroup = 4;
constexpr int kName = 5;

// The names among `names` that the query on the name field keeps.
std::vector<std::string> kept(std::string_view query, const std::vector<std::string>& names) {
    const QueryFilter built = buildQueryFilter(query, lines(), kName);
    EXPECT_TRUE(built.ok()) << query << ": " << built.error;
    if (!built.ok()) return {};
    const Expression filter = Expression::compile(built.filter, ProgramNames());
    std::vector<std::string> result;
    for (const std::string& name : names) {
        clearRecord(lines(), &INVENDET);
        INVENDET.Naziv = name;
        if (filter.isTrue()) result.push_back(name);
    }
    return result;
}

std::vector<int> keptGroups(std::string_view query) {
    const QueryFilter built = buildQueryFilter(query, lines(), kGroup);
    EXPECT_TRUE(built.ok()) << query << ": " << built.error;
    if (!built.ok()) return {};
    const Expression filter = Expression::compile(built.filter, ProgramNames());
    std::vector<int> result;
    for (int group = 1; group <= 6; ++group) {
        INVENDET.Skupina = static_cast<std::uint16_t>(group);
        if (filter.isTrue()) result.push_back(group);
    }
    return result;
}

const std::vector<std::string> kNames = {"Čaj zeleni", "čokolada",   "Kava",     "Kakav",
                                         "Mleko",      "Zeleni čaj", "R&D papir"};

TEST(BrowseQuery, TheOperatorTableIsTheProgramsOwn) {
    std::vector<std::string> table;
    for (const QueryOperator& op : queryOperators())
        table.push_back(std::string(op.keyword) + " " + std::string(op.symbol));
    EXPECT_EQ(table, (std::vector<std::string>{"CONTAINS *", "WITHOUT -", "STARTSWITH ^",
                                               "SOUNDEX ?", "ENDSWITH .", "EQUALS =", "NOT ~",
                                               "AND &", "OR |", "DATE @", "RANGE !", "OVER >",
                                               "UNDER <", "UNDEREQUAL <=", "OVEREQUAL >="}));
}

TEST(BrowseQuery, TextOperatorsCompareWithoutRegardToCase) {
    EXPECT_EQ(buildQueryFilter("ka", lines(), kName).filter,
              "(SUB(UPPER(INVENDET:Naziv), 1, 2) = 'KA')");
    EXPECT_EQ(kept("ka", kNames), (std::vector<std::string>{"Kava", "Kakav"}))
        << "STARTSWITH is the default";
    EXPECT_EQ(kept("^ČA", kNames), std::vector<std::string>{"Čaj zeleni"});
    EXPECT_EQ(kept("*čaj", kNames), (std::vector<std::string>{"Čaj zeleni", "Zeleni čaj"}));
    EXPECT_EQ(kept("CONTAINS zel", kNames), (std::vector<std::string>{"Čaj zeleni", "Zeleni čaj"}));
    EXPECT_EQ(kept("-a", kNames), (std::vector<std::string>{"Mleko"}));
    EXPECT_EQ(kept(".av", kNames), (std::vector<std::string>{"Kakav"}));
    EXPECT_EQ(kept("endswith AV", kNames), (std::vector<std::string>{"Kakav"}));
    EXPECT_EQ(kept("=kava", kNames), std::vector<std::string>{"Kava"});
    EXPECT_EQ(kept(">l", {"Kava", "Mleko", "Zeleni čaj"}),
              (std::vector<std::string>{"Mleko", "Zeleni čaj"}));
    EXPECT_EQ(kept("<=kava", kNames), (std::vector<std::string>{"Kava", "Kakav"}));
    EXPECT_EQ(kept("!ka..kz", kNames), (std::vector<std::string>{"Kava", "Kakav"}));
}

TEST(BrowseQuery, TermsJoinNegateAndQuoteTheirValues) {
    EXPECT_EQ(kept("ka & *v", kNames), (std::vector<std::string>{"Kava", "Kakav"}));
    EXPECT_EQ(kept("ka AND .va", kNames), std::vector<std::string>{"Kava"});
    EXPECT_EQ(kept("ml | =kava", kNames), (std::vector<std::string>{"Kava", "Mleko"}));
    EXPECT_EQ(kept("ml or ka and .av", kNames), (std::vector<std::string>{"Kakav", "Mleko"}))
        << "AND before OR";
    EXPECT_EQ(kept("~ka", kNames).size(), kNames.size() - 2);
    EXPECT_EQ(kept("NOT *a", kNames), std::vector<std::string>{"Mleko"});
    EXPECT_EQ(kept("\"R&D\"", kNames), std::vector<std::string>{"R&D papir"})
        << "a quoted value keeps its &";
    EXPECT_EQ(kept("*' OR 1=1 OR '", kNames), std::vector<std::string>{})
        << "typed text stays a value";
    EXPECT_EQ(kept("and", {"Andrej", "Kava"}), std::vector<std::string>{"Andrej"})
        << "a joint word with nothing before it is a value";
}

TEST(BrowseQuery, NumbersAndDatesAreReadAsSuch) {
    EXPECT_EQ(keptGroups("3"), std::vector<int>{3}) << "EQUALS is the default for numbers";
    EXPECT_EQ(keptGroups(">=4"), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(keptGroups("!2..3 | 6"), (std::vector<int>{2, 3, 6}));
    EXPECT_EQ(keptGroups("~<5"), (std::vector<int>{5, 6}));

    const TableDef& units = *findTable("SFENOTE");
    const int closed = units.findField("PROMETZAKLJUCENDODATUMA");
    const std::string day = std::to_string(dayNumber(2024, 3, 1));
    EXPECT_EQ(buildQueryFilter("03/01/2024", units, closed).filter,
              "(SFENOTE:PROMETZAKLJUCENDODATUMA = " + day + ")");
    EXPECT_EQ(buildQueryFilter(">2024-03-01", units, closed).filter,
              "(SFENOTE:PROMETZAKLJUCENDODATUMA > " + day + ")");
    const int number = units.findField("Enota");
    EXPECT_EQ(buildQueryFilter("@03/01/2024", units, number).filter,
              "(SFENOTE:Enota = " + day + ")");
    EXPECT_TRUE(buildQueryFilter("@12:30:15", units, number).ok()) << "a time read as @T4";
}

TEST(BrowseQuery, WhatCannotBeReadIsRefusedWithTheReason) {
    const auto error = [](std::string_view query, int field) {
        return buildQueryFilter(query, lines(), field).error;
    };
    EXPECT_EQ(error("*5", kGroup), "CONTAINS applies to texts only");
    EXPECT_EQ(error("abc", kGroup), "\"abc\" is not a number");
    EXPECT_EQ(error("?kava", kName), "searching by sound (SOUNDEX) is not available");
    EXPECT_EQ(error("!ka", kName), "a range is written low..high");
    EXPECT_EQ(error("ka &", kName), "a value is missing");
    EXPECT_EQ(error("@yesterday", kName), "\"yesterday\" is not a date");
    EXPECT_TRUE(buildQueryFilter("ka &", lines(), kName).filter.empty());
}

}  // namespace
}  // namespace dv
