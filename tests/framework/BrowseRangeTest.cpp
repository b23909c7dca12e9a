#include <gtest/gtest.h>

#include <algorithm>

#include "data/Dictionary.h"
#include "data/ExpressionNames.h"
#include "data/RecordBuffers.h"
#include "framework/BrowseLocator.h"
#include "framework/BrowseRange.h"
#include "framework/BrowseThumb.h"
#include "runtime/Expression.h"
#include "schema/Records.h"

namespace dv {
namespace {

const TableDef& lines() {
    return *findTable("INVENDET");
}
constexpr int kPrimaryKey = 0;
constexpr int kNameKey = 2;  // no case
enum Field : int { Stocktake = 0, Unit = 1, Kind = 2, Ean = 3, Group = 4, Name = 5 };

BrowseValue number(int value) {
    return fixedValue(ExpressionValue::number(value));
}
BrowseValue text(const char* value) {
    return fixedValue(ExpressionValue::text(value));
}

TEST(BrowseRange, BuildsTheConditionsOfEachKindOfLimit) {
    const BrowseRange single(
        lines(), kPrimaryKey, LimitType::SingleValue,
        {{Stocktake, number(1), {}}, {Unit, number(2), {}}, {Kind, text("M"), {}}});
    EXPECT_EQ(single.filterText(),
              "INVENDET:StevInventure = 1 AND INVENDET:Enota = 2 AND INVENDET:VrstaProdaje = 'M'");
    EXPECT_EQ(single.freeElement(), 3);

    const BrowseRange range(lines(), kPrimaryKey, LimitType::Range,
                            {{Stocktake, number(1), {}}, {Unit, number(2), number(5)}});
    EXPECT_EQ(range.filterText(),
              "INVENDET:StevInventure = 1 AND INVENDET:Enota >= 2 AND INVENDET:Enota <= 5");
    EXPECT_EQ(range.freeElement(), 1) << "the ranged field itself is free";

    // Texts of a case-insensitive key compare in upper case; quotes stay inside the value.
    const BrowseRange named(lines(), kNameKey, LimitType::FileRelation,
                            {{Stocktake, number(3), {}},
                             {Unit, number(1), {}},
                             {Kind, text("m"), {}},
                             {Name, text("o'brien č"), {}}});
    EXPECT_EQ(named.filterText(),
              "INVENDET:StevInventure = 3 AND INVENDET:Enota = 1 AND "
              "UPPER(INVENDET:VrstaProdaje) = 'M' AND UPPER(INVENDET:Naziv) = 'O''BRIEN Č'");

    EXPECT_EQ(BrowseRange().filterText(), "");
    EXPECT_EQ(BrowseRange(lines(), kPrimaryKey, LimitType::None, {{Stocktake, number(1), {}}})
                  .filterText(),
              "");
}

TEST(BrowseRange, ItsTextIsAFilterThatHoldsForTheRecordsInRange) {
    const BrowseRange named(lines(), kNameKey, LimitType::SingleValue,
                            {{Stocktake, number(3), {}}, {Name, text("o'Brien"), {}}});
    const Expression filter = Expression::compile(
        viewFilterText(named.filterText(), {{"INVENDET:Skupina > 1", "x"}}), ProgramNames());
    clearRecord(lines(), &INVENDET);
    named.prime(&INVENDET);
    EXPECT_EQ(INVENDET.StevInventure, 3);
    EXPECT_EQ(INVENDET.Naziv.str(), "o'Brien");
    INVENDET.Skupina = 2;
    EXPECT_TRUE(filter.isTrue());
    INVENDET.Naziv = "O'BRIEN";
    EXPECT_TRUE(filter.isTrue()) << "case ignored, as the key orders";
    INVENDET.StevInventure = 4;
    EXPECT_FALSE(filter.isTrue());
}

TEST(BrowseRange, ACurrentValueRangeTakesTheValuesOnceAndPrimesAllButTheRangedField) {
    clearRecord(lines(), &INVENDET);
    INVENDET.StevInventure = 7;
    INVENDET.Enota = 2;
    BrowseRange current(lines(), kPrimaryKey, LimitType::CurrentValue,
                        {{Stocktake, {}, {}}, {Unit, {}, {}}});
    current.capture(&INVENDET);
    INVENDET.StevInventure = 9;
    EXPECT_EQ(current.filterText(), "INVENDET:StevInventure = 7 AND INVENDET:Enota = 2");
    current.prime(&INVENDET);
    EXPECT_EQ(INVENDET.StevInventure, 7);

    const BrowseRange range(lines(), kPrimaryKey, LimitType::Range,
                            {{Stocktake, number(1), {}}, {Unit, number(2), number(5)}});
    clearRecord(lines(), &INVENDET);
    range.prime(&INVENDET);
    EXPECT_EQ(INVENDET.StevInventure, 1);
    EXPECT_EQ(INVENDET.Enota, 0) << "the ranged field is left to the form";
}

TEST(BrowseRange, ExtraFiltersAreAppendedInParentheses) {
    EXPECT_EQ(viewFilterText("A = 1", {{"B = 2", "b"}, {"", "empty"}, {"C = 3 OR D = 4", ""}}),
              "A = 1 AND (B = 2) AND (C = 3 OR D = 4)");
    EXPECT_EQ(viewFilterText("", {{"B = 2", "b"}, {"C = 3", "c"}}), "(B = 2) AND (C = 3)");
    EXPECT_EQ(viewFilterText("", {}), "");
}

TEST(BrowseThumb, TablesRunInOrderFromTheirFirstToTheirLastPrefix) {
    const std::vector<std::string>& names = thumbTable(ThumbStyle::Names);
    ASSERT_EQ(names.size(), 100u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 10),
              (std::vector<std::string>{"   ", "ALB", "AME", "ARN", "BAK", "BAT", "BEN", "BIA",
                                        "BOB", "BRA"}));
    EXPECT_EQ(names[98], "WOL");
    EXPECT_EQ(names[99], "YOR");

    const std::vector<std::string>& alpha = thumbTable(ThumbStyle::Alpha);
    EXPECT_EQ(std::vector<std::string>(alpha.begin(), alpha.begin() + 6),
              (std::vector<std::string>{"  ", "AF", "AN", "AT", "B ", "BF"}));
    EXPECT_EQ(alpha.back(), "ZN");

    for (ThumbStyle style : {ThumbStyle::Names, ThumbStyle::Alpha, ThumbStyle::Letters,
                             ThumbStyle::UpperCase, ThumbStyle::AllCharacters}) {
        const std::vector<std::string>& table = thumbTable(style);
        EXPECT_TRUE(std::is_sorted(table.begin(), table.end()));
        EXPECT_EQ(thumbText(style, 0), table.front());
        EXPECT_EQ(thumbText(style, 100), table.back());
    }
    const std::vector<std::string>& all = thumbTable(ThumbStyle::AllCharacters);
    for (const char* left : {"!", "$", "(", "-", "@", "[", "|", " ", "`", "."})
        EXPECT_EQ(std::find(all.begin(), all.end(), left), all.end()) << left;
    EXPECT_NE(std::find(all.begin(), all.end(), "<"), all.end());
    EXPECT_EQ(thumbTable(ThumbStyle::UpperCase).size(), 36u);
    EXPECT_EQ(thumbTable(ThumbStyle::Letters).size(), 52u);
    EXPECT_TRUE(thumbTable(ThumbStyle::Numeric).empty());
}

TEST(BrowseThumb, NumbersAreInterpolatedBetweenTheFirstAndLastValue) {
    EXPECT_EQ(thumbNumber(Decimal(10), Decimal(20), 50), Decimal(15));
    EXPECT_EQ(thumbNumber(Decimal(10), Decimal(20), 0), Decimal(10));
    EXPECT_EQ(thumbNumber(Decimal(10), Decimal(20), 100), Decimal(20));
    EXPECT_EQ(thumbNumber(Decimal(0), Decimal(1), 33), *Decimal::parse("0"))
        << "whole numbers stay whole";
    EXPECT_EQ(thumbNumber(*Decimal::parse("1.00"), *Decimal::parse("2.00"), 33),
              *Decimal::parse("1.33"));
}

TEST(BrowseLocator, KeepsAtMost39CharactersAndRemovesWholeCharacters) {
    BrowseLocator locator(LocatorKind::Incremental, "Lokator");
    EXPECT_TRUE(locator.add("č"));
    EXPECT_TRUE(locator.add("a"));
    EXPECT_TRUE(locator.removeLast());
    EXPECT_TRUE(locator.removeLast());
    EXPECT_EQ(locator.text(), "") << "both bytes of č";
    EXPECT_FALSE(locator.removeLast());
    for (std::size_t i = 0; i < kMaxLocatorText; ++i) EXPECT_TRUE(locator.add("ž"));
    EXPECT_FALSE(locator.add("a"));
    EXPECT_EQ(locator.text().size(), 2 * kMaxLocatorText);

    EXPECT_EQ(typedCharacter(keys::Letter('A')), 'a');
    EXPECT_EQ(typedCharacter(keys::kShift + keys::Letter('A')), 'A');
    EXPECT_EQ(typedCharacter(keys::Letter('7')), '7');
    EXPECT_EQ(typedCharacter(keys::Space), ' ');
    EXPECT_EQ(typedCharacter(keys::kCtrl + keys::Letter('A')), std::nullopt);
    EXPECT_EQ(typedCharacter(keys::F(2)), std::nullopt);
    EXPECT_EQ(typedCharacter(keys::Enter), std::nullopt);
}

}  // namespace
}  // namespace dv
