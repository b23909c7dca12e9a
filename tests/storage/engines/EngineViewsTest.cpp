// Views and the filters a user types, on each engine: the same filter gives the same rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "TableAccessTestSupport.h"
#include "ViewTestLines.h"
#include "data/RecordBuffers.h"
#include "storage/PostgresDatabase.h"
#include "storage/ViewManager.h"
#include "support/PostgresCluster.h"

namespace dv::test {
namespace {

enum class Engine { Sqlite, Postgres };

constexpr int kPrimaryKey = 0;  // stocktake, unit, kind, EAN
constexpr int kNameKey = 2;     // stocktake, unit, kind, name (no case)

using Line = ViewLine;

std::vector<Line> sampleLines() {
    return {
        {1, 1, "100", 5, "čaj"},      {1, 1, "101", 2, "Banana"},  {1, 1, "102", 7, "cimet"},
        {1, 1, "103", 1, "Dateljni"}, {1, 1, "104", 4, "abeceda"}, {1, 1, "105", 9, "Žafran"},
        {1, 2, "100", 3, "sol"},      {1, 2, "106", 8, "Šipek"},   {2, 1, "100", 6, "moka"},
        {2, 1, "107", 2, "Med"},      {1, 1, "108", 3, "Čebula"},  {1, 1, "109", 3, "Sir"},
    };
}

class EngineViews : public TableAccessTest, public ::testing::WithParamInterface<Engine> {
  protected:
    void SetUp() override {
        if (GetParam() == Engine::Postgres) {
            PostgresCluster* cluster = PostgresCluster::shared();
            ASSERT_NE(cluster, nullptr) << PostgresCluster::whyNot();
            const std::string connection = cluster->connection();
            makeConnection = [connection] { return std::make_unique<PostgresDatabase>(connection); };
        }
        ASSERT_EQ(lines().Open(), kLevelBenign);
        for (const Line& line : sampleLines()) add(line);
        ASSERT_EQ(view.Open(), kLevelBenign);
    }
    void TearDown() override {
        view.Close();
        lines().Close();
    }

    FileManager& lines() { return file("INVENDET"); }

    void add(const Line& line) { addViewLine(lines(), line); }

    std::vector<std::string> read(bool forward = true) { return readViewNames(view, forward, 100); }

    // The sample names that satisfy `keep`, in primary-key order.
    template <typename Keep>
    static std::vector<std::string> inKeyOrder(Keep keep) {
        return chosenNames(sampleLines(), keep, dv::test::byPrimaryKey);
    }

    ViewManager view{file("INVENDET")};
};

TEST_P(EngineViews, TheNameKeyOrdersTheSlovenianWayBothWays) {
    view.SetOrder(kNameKey);
    const std::vector<std::string> forward{"abeceda", "Banana", "cimet", "čaj",  "Čebula",
                                           "Dateljni", "Sir",   "Žafran", "sol", "Šipek",
                                           "Med",     "moka"};
    EXPECT_EQ(read(), forward);
    view.SetToEnd();
    std::vector<std::string> backward = read(false);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);
}

TEST_P(EngineViews, TheSameTypedFilterGivesTheSameRows) {
    view.SetOrder(kPrimaryKey);
    ASSERT_EQ(view.SetFilter("INVENDET:StevInventure = 1 AND INVENDET:Skupina > 3"), kLevelBenign);
    EXPECT_EQ(read(), inKeyOrder([](const Line& l) { return l.stocktake == 1 && l.group > 3; }));
    ASSERT_EQ(view.SetFilter("INVENDET:EAN = 100 AND INVENDET:Enota = 1 OR INVENDET:Skupina = 8"),
              kLevelBenign);
    view.SetToStart();
    EXPECT_EQ(read(), inKeyOrder([](const Line& l) {
                  return (l.ean == "100" && l.unit == 1) || l.group == 8;
              }));
    ASSERT_EQ(view.SetFilter("UPPER(INVENDET:Naziv) = 'SOL' OR SUB(INVENDET:Naziv, 1, 1) = 'M'"),
              kLevelBenign);
    view.SetToStart();
    EXPECT_EQ(read(), (std::vector<std::string>{"sol", "Med"}));
    EXPECT_TRUE(raiser.raised().empty());
}

TEST_P(EngineViews, TypedTextNeverBecomesSql) {
    view.SetOrder(kPrimaryKey);
    ASSERT_EQ(view.SetFilter("INVENDET:Naziv = 'x''; DROP TABLE INVENDET; --' OR "
                             "INVENDET:Naziv = 'sol'"),
              kLevelBenign);
    EXPECT_EQ(read(), (std::vector<std::string>{"sol"}));
    EXPECT_EQ(view.SetFilter(""), kLevelBenign);
    view.SetToStart();
    EXPECT_EQ(read().size(), sampleLines().size());
}

INSTANTIATE_TEST_SUITE_P(BothEngines, EngineViews,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres),
                         [](const ::testing::TestParamInfo<Engine>& info) {
                             return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
                         });

}  // namespace
}  // namespace dv::test
