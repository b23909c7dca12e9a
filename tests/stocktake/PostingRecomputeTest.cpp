#include "PostingModel.h"

namespace dv::test {
namespace {

class PostingRecompute : public PostingFixture {};

// Every document line and stock row the posting writes for a few thousand random rows, against
// the rules computed here in whole units: the price P (last purchase price, else the average
// over the stock, 0 over a stock of 0), A = W / Q and E = D × A to 4 places, the value to 2,
// half away from zero; a missing stock row created.
TEST_F(PostingRecompute, LinesAndStockFollowTheRulesForRandomRows) {
    const StocktakeKey key{3, 1, "M"};
    const std::vector<ModelRow> rows = randomRows(3000, 20240315);
    addStocktake(3, 1, "M");
    writeRows(*this, key, rows);
    ASSERT_TRUE(post(key)) << lastMessage();
    expectModel(*this, rows);
}

}  // namespace
}  // namespace dv::test
