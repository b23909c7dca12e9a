#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/RecordBuffers.h"
#include "data/SettingsManager.h"
#include "data/TableFileNames.h"
#include "framework/ErrorReporter.h"
#include "framework/ProgramServices.h"
#include "frontend/TempDirectory.h"
#include "frontend/headless/ScriptQuery.h"
#include "runtime/Date.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "stocktake/StocktakeLines.h"
#include "stocktake/StocktakePosting.h"
#include "storage/TableAccess.h"
#include "support/RawRows.h"
#include "support/TestEngine.h"

namespace dv::test {

// The posting's transaction types in these tests.
inline constexpr std::uint16_t kSurplusMP = 15, kShortageMP = 35, kSurplusVP = 16, kShortageVP = 36;

// Fresh tables in a temporary directory, opened in the test's own process, with helpers that
// write stocktakes, template rows, stock, items, rates and units of measure as they stand, and
// a posting run through StocktakePosting with its messages collected.
class PostingFixture : public ::testing::Test {
  public:
    PostingFixture() : query(directory.path()) {
        EXPECT_TRUE(resolveTableFileNames(settings, directory.path()).ok());
        clearAllRecordBuffers();
        clearProgramGlobals();
        tables = testTableAccess(&errors);
        previous = setProgramServices({&errors, &settings});
        setFixedToday(dayNumber(2024, 3, 15));
        GLO.VRSTAPROMETAINVVISEKMP = kSurplusMP;
        GLO.VRSTAPROMETAINVMANJKOMP = kShortageMP;
        GLO.VRSTAPROMETAINVVISEKVP = kSurplusVP;
        GLO.VRSTAPROMETAINVMANJKOVP = kShortageVP;
        GLO.SIFRALASTNIKAPROGRAMA = 7;
        // The tables are created on first use; every one the posting touches exists from now on.
        for (const char* table : {"INVENTUR", "INVENDET", "DOKUMENT", "DOKPROME", "ZALOGA",
                                  "ARTIKLI", "SFDDV", "SFEM", "SFPARTN", "SFENOTE"}) {
            FileManager& file = tables->file(table);
            EXPECT_EQ(file.Open(), kLevelBenign);
            EXPECT_EQ(file.UseFile(), kLevelBenign);
            file.Close();
        }
    }
    ~PostingFixture() override {
        setProgramServices(previous);
        tables.reset();
        resetTableFileNames();
        setFixedToday(0);
    }

    // Adds the record `fill` puts into the buffer of `table`, as it stands.
    template <typename Fill>
    void add(const char* table, Fill fill) {
        addRawRow(*tables, table, fill);
    }

    void addStocktake(std::uint16_t number, std::uint16_t unit, const std::string& saleType,
                      DayNumber date = dayNumber(2024, 3, 1)) {
        add("INVENTUR", [&] {
            INVENTUR.StevInventure = number;
            INVENTUR.Enota = unit;
            INVENTUR.VRSTAPRODAJE = saleType;
            INVENTUR.DATUMINVENTURE = date;
            INVENTUR.PREDSEDNIK = "Ana Novak";
        });
    }

    void addRow(const StocktakeKey& key, const std::string& code, const char* book,
                const char* counted, std::uint16_t entered = 1) {
        add("INVENDET", [&] {
            INVENDET.StevInventure = key.number;
            INVENDET.Enota = key.unit;
            INVENDET.VrstaProdaje = key.saleType;
            INVENDET.EAN = code;
            INVENDET.Naziv = "Izdelek " + code;
            INVENDET.RacZaloga = *Decimal::parse(book);
            INVENDET.PopisanaZaloga = *Decimal::parse(counted);
            INVENDET.NarejenVnos = entered;
        });
    }

    void addStock(const std::string& code, std::uint16_t unit, const char* quantity,
                  const char* value, const char* lastPrice) {
        add("ZALOGA", [&] {
            ZALOGA.EAN = code;
            ZALOGA.ENOTA = unit;
            ZALOGA.ZALOGA = *Decimal::parse(quantity);
            ZALOGA.VREDNOSTZALOGE = *Decimal::parse(value);
            ZALOGA.ZADNJANABCENA = *Decimal::parse(lastPrice);
            ZALOGA.ZALOGAMESECA[2] = *Decimal::parse("1.5");
        });
    }

    void addItem(const std::string& code, const std::string& shortName, std::uint16_t rate,
                 std::uint16_t measure) {
        add("ARTIKLI", [&] {
            ARTIKLI.EAN = code;
            ARTIKLI.KRATEKNAZIV = shortName;
            ARTIKLI.DRUGIDELNAZIVA = "drugi del";
            ARTIKLI.DAVEK = rate;
            ARTIKLI.MERSKAENOTA = measure;
        });
    }

    void addRate(std::uint16_t code, const char* rate) {
        add("SFDDV", [&] {
            SFDDV.SifraDDV = code;
            SFDDV.STOPNJADDV = *Decimal::parse(rate);
        });
    }

    void addMeasure(std::uint16_t code, const std::string& name) {
        add("SFEM", [&] {
            SFEM.SIFRAEM = code;
            SFEM.NAZIVEM = name;
        });
    }

    // The posting run to its end; whether it completed. `stopAfter` rows posted, the posting is
    // abandoned instead (the user's Cancel).
    bool post(const StocktakeKey& key, DayNumber date = dayNumber(2024, 3, 10),
              long stopAfter = -1) {
        StocktakePosting posting(key, date, "Ana Novak",
                                 [this](const MessageBoxRequest& box) { messages.push_back(box); });
        if (!posting.Open()) return false;
        if (!posting.Start()) return false;
        TableGuard guard;
        EXPECT_EQ(guard.open(tables->file("INVENDET")), kLevelBenign);
        StocktakeLines lines(tables->file("INVENDET"), key);
        EXPECT_EQ(lines.restart(), kLevelBenign);
        long done = 0;
        while (lines.next() == ReadResult::Record) {
            if (done++ == stopAfter) {
                posting.Abandon();
                return false;
            }
            if (!posting.PostRow()) break;
        }
        if (posting.Failed()) {
            posting.Abandon();
            return false;
        }
        return posting.Finish();
    }

    // The result of a query over the committed data (rows "\n", columns "|").
    std::string sql(const std::string& statement) const {
        std::string why;
        const auto result = query.run(statement, why);
        EXPECT_TRUE(result.has_value()) << why;
        return result.value_or("");
    }

    // Every row of the tables the posting writes, for before/after comparisons.
    std::string dumpTables() const {
        std::string dump;
        for (const char* table : {"DOKUMENT", "DOKPROME", "ZALOGA", "INVENTUR", "INVENDET"})
            dump += std::string(table) + ":\n" +
                    sql(std::string("SELECT * FROM ") + table + " ORDER BY 1, 2, 3, 4, 5, 6") +
                    "\n";
        return dump;
    }

    std::string lastMessage() const { return messages.empty() ? "" : messages.back().text; }

    TempDirectory directory;
    SettingsManager settings;
    ErrorReporter errors;
    std::unique_ptr<TableAccess> tables;
    ProgramServices previous;
    ScriptQuery query;
    std::vector<MessageBoxRequest> messages;
};

}  // namespace dv::test
