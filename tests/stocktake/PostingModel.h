#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "PostingFixture.h"

namespace dv::test {

// One template row of a generated stocktake with everything the posting reads for it, in the
// units the database keeps: quantities in thousandths, values in hundredths, prices in
// millionths, rates in hundredths of a percent.
struct ModelRow {
    std::string code;
    std::int64_t book = 0;
    std::int64_t counted = 0;
    bool hasStock = true;
    std::int64_t quantity = 0;  // ZALOGA:ZALOGA
    std::int64_t value = 0;     // ZALOGA:VREDNOSTZALOGE
    std::int64_t lastPrice = 0;
    bool hasItem = true;
    std::uint16_t rateCode = 0;
    std::int64_t rate = 0;
};

// a / b rounded half away from zero (b > 0 or b < 0), 0 when b is 0.
inline std::int64_t roundedDivision(Int128 a, Int128 b) {
    if (b == 0) return 0;
    if (b < 0) a = -a, b = -b;
    // Twice the remainder against the divisor decides the rounding.
    Int128 quotient = a / b;
    const Int128 remainder = a % b;
    if (2 * (remainder < 0 ? -remainder : remainder) >= b) quotient += a < 0 ? -1 : 1;
    return static_cast<std::int64_t>(quotient);
}

// What the posting must write for the rows: document lines in order and the stock afterwards.
struct ModelResult {
    std::string surplusLines;   // "line|code|quantity|price|priceWithTax" rows joined by "\n"
    std::string shortageLines;
    std::string stock;          // "code|quantity|value" of every row's item, in code order
};

inline ModelResult modelPosting(const std::vector<ModelRow>& rows) {
    ModelResult result;
    int surplusLine = 0, shortageLine = 0;
    const auto append = [](std::string& text, const std::string& row) {
        text += (text.empty() ? "" : "\n") + row;
    };
    for (const ModelRow& row : rows) {
        std::int64_t quantity = row.hasStock ? row.quantity : 0;
        std::int64_t value = row.hasStock ? row.value : 0;
        if (row.counted != row.book) {
            const bool surplus = row.counted > row.book;
            const std::int64_t difference = surplus ? row.counted - row.book : row.book - row.counted;
            // Average price A to 4 places: (value / 100) / (quantity / 1000), in 10^-4.
            const std::int64_t average = roundedDivision(Int128(value) * 100000, quantity);
            const std::int64_t lastPrice = row.hasStock ? row.lastPrice : 0;
            const std::int64_t price = surplus && lastPrice > 0 ? lastPrice : average * 100;
            const std::int64_t rate = row.hasItem ? row.rate : 0;
            const std::int64_t withTax = roundedDivision(Int128(price) * (10000 + rate), 10000);
            const std::int64_t change = roundedDivision(Int128(difference) * average, 1000);
            const std::int64_t value4 = value * 100 + (surplus ? change : -change);
            quantity += surplus ? difference : -difference;
            value = roundedDivision(value4, 100);
            const std::string line = std::to_string(surplus ? ++surplusLine : ++shortageLine) + "|" +
                                     row.code + "|" + std::to_string(difference) + "|" +
                                     std::to_string(price) + "|" + std::to_string(withTax);
            append(surplus ? result.surplusLines : result.shortageLines, line);
        }
        if (row.hasStock || row.counted != row.book)
            append(result.stock,
                   row.code + "|" + std::to_string(quantity) + "|" + std::to_string(value));
    }
    return result;
}

// Random rows with codes in ascending order: book and counted quantities, stock rows (some
// missing, some with a quantity of 0), values, last purchase prices (some 0) and rates.
inline std::vector<ModelRow> randomRows(int count, unsigned seed) {
    std::mt19937 random(seed);
    const auto between = [&](std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random);
    };
    const std::int64_t rates[] = {2200, 950, 0};
    std::vector<ModelRow> rows;
    for (int i = 0; i < count; ++i) {
        ModelRow row;
        char code[16];
        std::snprintf(code, sizeof code, "%07d", i * 3 + 1);
        row.code = code;
        row.hasStock = between(0, 9) != 0;
        row.quantity = between(0, 5) == 0 ? 0 : between(1000, 2000000);
        row.value = between(0, 99999999);
        row.lastPrice = between(0, 2) == 0 ? 0 : between(1, 999999999);
        row.book = row.hasStock ? row.quantity : 0;
        row.counted = between(0, 3) == 0 ? row.book : between(0, 2000000);
        row.hasItem = between(0, 7) != 0;
        row.rateCode = static_cast<std::uint16_t>(between(1, 3));
        row.rate = rates[row.rateCode - 1];
        rows.push_back(row);
    }
    return rows;
}

// Writes the rows as the stocktake's template, with their stock, items and the three rates,
// in one transaction with the tables held open.
inline void writeRows(PostingFixture& fixture, const StocktakeKey& key,
                      const std::vector<ModelRow>& rows) {
    fixture.addRate(1, "22");
    fixture.addRate(2, "9.5");
    fixture.addRate(3, "0");
    FileManager& lines = fixture.tables->file("INVENDET");
    FileManager& stock = fixture.tables->file("ZALOGA");
    FileManager& items = fixture.tables->file("ARTIKLI");
    for (FileManager* file : {&lines, &stock, &items})
        ASSERT_TRUE(file->Open() == kLevelBenign && file->UseFile() == kLevelBenign);
    const auto add = [](FileManager& file, const auto& fill) {
        clearRecord(file.table(), file.buffer());
        fill();
        EXPECT_EQ(file.driver()->add(), DriverCode::Ok) << file.driver()->lastError().text;
    };
    ASSERT_EQ(fixture.tables->beginTransaction(), DriverCode::Ok);
    for (const ModelRow& row : rows) {
        add(lines, [&] {
            INVENDET.StevInventure = key.number;
            INVENDET.Enota = key.unit;
            INVENDET.VrstaProdaje = key.saleType;
            INVENDET.EAN = row.code;
            INVENDET.RacZaloga.setUnits(row.book);
            INVENDET.PopisanaZaloga.setUnits(row.counted);
        });
        if (row.hasStock)
            add(stock, [&] {
                ZALOGA.EAN = row.code;
                ZALOGA.ENOTA = key.unit;
                ZALOGA.ZALOGA.setUnits(row.quantity);
                ZALOGA.VREDNOSTZALOGE.setUnits(row.value);
                ZALOGA.ZADNJANABCENA.setUnits(row.lastPrice);
            });
        if (row.hasItem)
            add(items, [&] {
                ARTIKLI.EAN = row.code;
                ARTIKLI.DAVEK = row.rateCode;
            });
    }
    ASSERT_EQ(fixture.tables->commit(), DriverCode::Ok);
    for (FileManager* file : {&lines, &stock, &items}) file->Close();
}

// Compares what the posting wrote with the model.
inline void expectModel(PostingFixture& fixture, const std::vector<ModelRow>& rows) {
    const ModelResult expected = modelPosting(rows);
    const std::string lines = "SELECT POSTAVKADOKUMENTA, EAN, KOLICINA, NABAVNACENA, "
                              "PRODAJNACENAZDDV FROM DOKPROME WHERE OZNAKADOKUMENTA = ";
    EXPECT_EQ(fixture.sql(lines + "'N' ORDER BY POSTAVKADOKUMENTA"), expected.surplusLines);
    EXPECT_EQ(fixture.sql(lines + "'I' ORDER BY POSTAVKADOKUMENTA"), expected.shortageLines);
    EXPECT_EQ(fixture.sql("SELECT EAN, ZALOGA, VREDNOSTZALOGE FROM ZALOGA ORDER BY EAN"),
              expected.stock);
}

}  // namespace dv::test
