#include <map>
#include <set>
#include <string>
#include <tuple>

#include "app/CheckDigits.h"
#include "app/DemoCapture.h"
#include "app/DemoCompany.h"
#include "app/DemoItems.h"
#include "data/FieldValidation.h"
#include "schema/Records.h"
#include "support/DemoTestSupport.h"

namespace dv::test {
namespace {

// One demo company, made once for the suite: what is checked here only reads it.
class DemoCompanyContents : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folders_ = new DemoFolders;
        outcome_ = new DemoOutcome(createDemoCompany(folders_->program()));
        resetTableFileNames();
        clearAllRecordBuffers();
    }
    static void TearDownTestSuite() {
        delete outcome_;
        delete folders_;
    }

    void SetUp() override { ASSERT_TRUE(outcome_->ok()) << outcome_->error; }

    static std::filesystem::path directory() { return folders_->program(); }

    static DemoFolders* folders_;
    static DemoOutcome* outcome_;
    CompanyData data{directory()};
};

DemoFolders* DemoCompanyContents::folders_ = nullptr;
DemoOutcome* DemoCompanyContents::outcome_ = nullptr;

// |a - b| <= tolerance.
bool near(const Decimal& a, const Decimal& b, const Decimal& tolerance) {
    const Decimal difference = a - b;
    return difference <= tolerance && -difference <= tolerance;
}

Decimal percent(const Decimal& rate) {
    return (Decimal(100) + rate).divide(Decimal(100), 6);
}

TEST_F(DemoCompanyContents, ReportsTheRowsOfEveryTableItFilled) {
    EXPECT_FALSE(outcome_->companyKept);
    ASSERT_EQ(outcome_->tables.size(), kDemoTables.size());
    const std::map<std::string, int> stored = data.counts();
    for (std::size_t i = 0; i < kDemoTables.size(); ++i) {
        const DemoTableCount& reported = outcome_->tables[i];
        EXPECT_EQ(reported.table, kDemoTables[i]);
        EXPECT_GT(reported.rows, 0) << reported.table;
        EXPECT_EQ(reported.rows, stored.at(reported.table)) << reported.table;
    }
    EXPECT_EQ(stored.at("ARTIKLI"), static_cast<int>(kDemoItemCount));
}

TEST_F(DemoCompanyContents, EveryRecordPassesTheDictionaryRules) {
    for (const std::string_view table : kDemoTables) {
        const TableDef& def = *findTable(table);
        int failures = 0;
        data.forEach(table, [&] {
            if (const auto failure = CheckRecord(def, def.buffer); failure && failures++ == 0)
                ADD_FAILURE() << table << ": " << failure->fieldText << " " << failure->messageText;
        });
        EXPECT_EQ(failures, 0) << table;
    }
}

TEST_F(DemoCompanyContents, CodeListsHoldUnitsRatesAndUnitsOfMeasure) {
    std::map<std::string, int> kinds;
    data.forEach("SFENOTE", [&] { ++kinds[SFENOTE.TIP.str()]; });
    EXPECT_GE(kinds["M"], 2);
    EXPECT_GE(kinds["V"], 2);

    std::set<std::int64_t> rates;
    data.forEach("SFDDV", [&] {
        rates.insert(SFDDV.STOPNJADDV.units());
        // The share of tax in a gross amount: rate / (100 + rate), in percent.
        EXPECT_TRUE(near(SFDDV.PRERACUNANASTOPNJA.value() * (Decimal(100) + SFDDV.STOPNJADDV),
                         SFDDV.STOPNJADDV.value() * Decimal(100), Decimal::fromUnits(1, 1)))
            << SFDDV.STOPNJADDV.value();
    });
    EXPECT_EQ(rates, (std::set<std::int64_t>{2200, 950, 500}));

    std::set<std::string> units;
    data.forEach("SFEM", [&] { units.insert(SFEM.NAZIVEM.str()); });
    for (const char* unit : {"kos", "kg", "l", "m"}) EXPECT_TRUE(units.count(unit)) << unit;

    std::set<std::uint16_t> groups;
    data.forEach("SFGRUPE", [&] { groups.insert(SFGRUPE.Sifra); });
    data.forEach("SFPODGRU", [&] { EXPECT_TRUE(groups.count(SFPODGRU.Sifra)); });
}

TEST_F(DemoCompanyContents, ItemsHaveUniqueSlovenianCodesKnownReferencesAndPrices) {
    std::set<std::pair<std::uint16_t, std::uint16_t>> subgroups;
    data.forEach("SFPODGRU", [&] { subgroups.insert({SFPODGRU.Sifra, SFPODGRU.PodSifra}); });
    std::map<std::uint16_t, Decimal> rates;
    data.forEach("SFDDV", [&] { rates[SFDDV.SifraDDV] = SFDDV.STOPNJADDV; });
    std::set<std::uint16_t> units;
    data.forEach("SFEM", [&] { units.insert(SFEM.SIFRAEM); });

    std::set<std::string> codes;
    bool slovenianLetters = false;
    data.forEach("ARTIKLI", [&] {
        const std::string ean = ARTIKLI.EAN.str();
        EXPECT_TRUE(isValidEan13(ean)) << ean;
        EXPECT_TRUE(ean.starts_with("383")) << ean;
        EXPECT_TRUE(codes.insert(ean).second) << "twice: " << ean;
        EXPECT_TRUE(subgroups.count({ARTIKLI.SKUPINA, ARTIKLI.PODSKUPINA})) << ean;
        EXPECT_TRUE(units.count(ARTIKLI.MERSKAENOTA)) << ean;
        ASSERT_TRUE(rates.count(ARTIKLI.DAVEK)) << ean;
        const Decimal tax = percent(rates[ARTIKLI.DAVEK]);
        EXPECT_GT(ARTIKLI.CENABREZDDV.value(), Decimal(0)) << ean;
        EXPECT_TRUE(
            near(ARTIKLI.CENAZDDV, ARTIKLI.CENABREZDDV.value() * tax, Decimal::fromUnits(1, 4)))
            << ean;
        EXPECT_TRUE(
            near(ARTIKLI.MPCENABREZDDV.value() * tax, ARTIKLI.MPCENA, Decimal::fromUnits(1, 5)))
            << ean;
        EXPECT_GT(ARTIKLI.MPCENA.value(), ARTIKLI.CENABREZDDV.value()) << ean;
        const std::string name = ARTIKLI.KRATEKNAZIV.str() + ARTIKLI.DRUGIDELNAZIVA.str();
        EXPECT_FALSE(ARTIKLI.KRATEKNAZIV.blank()) << ean;
        slovenianLetters = slovenianLetters || name.find("č") != std::string::npos;
    });
    EXPECT_EQ(codes.size(), kDemoItemCount);
    EXPECT_TRUE(slovenianLetters);
}

TEST_F(DemoCompanyContents, StockValuesAreQuantityTimesLastPurchasePrice) {
    std::map<std::string, std::string> catalogue;
    data.forEach("ARTIKLI", [&] { catalogue[ARTIKLI.EAN.str()] = ARTIKLI.KATALOG.str(); });
    std::set<std::uint16_t> units;
    data.forEach("SFENOTE", [&] { units.insert(SFENOTE.Enota); });

    int zero = 0, negative = 0;
    std::set<std::string> stocked;
    const int rows = data.forEach("ZALOGA", [&] {
        const std::string ean = ZALOGA.EAN.str();
        ASSERT_TRUE(catalogue.count(ean)) << ean;
        EXPECT_EQ(ZALOGA.KATALOG.str(), catalogue[ean]) << ean;
        EXPECT_TRUE(units.count(ZALOGA.ENOTA)) << ean;
        EXPECT_GT(ZALOGA.ZADNJANABCENA.value(), Decimal(0)) << ean;
        // The value keeps two places: it is the exact product rounded by at most half a cent.
        EXPECT_TRUE(near(ZALOGA.VREDNOSTZALOGE,
                         ZALOGA.ZALOGA.value() * ZALOGA.ZADNJANABCENA.value(),
                         Decimal::fromUnits(5, 3)))
            << ean << " in " << ZALOGA.ENOTA;
        zero += ZALOGA.ZALOGA.value().isZero();
        negative += ZALOGA.ZALOGA.value().sign() < 0;
        stocked.insert(ean);
    });
    EXPECT_GT(rows, static_cast<int>(kDemoItemCount) * 2) << "items lie in several units";
    EXPECT_GT(zero, 0);
    EXPECT_GT(negative, 0);
    EXPECT_LT(zero + negative, rows / 20) << "only a few";
    EXPECT_EQ(stocked.size(), catalogue.size()) << "every item is in stock somewhere";
}

TEST_F(DemoCompanyContents, SettingsNameTheOwnerAndTransactionTypesThatExist) {
    const SettingsManager& settings = data.settings();
    std::set<std::tuple<std::string, std::string, int, std::string>> types;
    int locked = 0, hidden = 0;
    data.forEach("SFVRPROM", [&] {
        types.insert({SFVRPROM.VrstaProdaje.str(), SFVRPROM.OZNAKADOKUMENTA.str(),
                      SFVRPROM.VrstaPrometa, SFVRPROM.PROMETNAZALOGO.str()});
        locked += SFVRPROM.ZAPECENO == 1;
        hidden += SFVRPROM.NePokazi == 1;
    });
    EXPECT_GT(locked, 0);
    EXPECT_GT(hidden, 0);
    const struct {
        const char* entry;
        const char* kind;
        const char* mark;
        const char* effect;
    } parameters[] = {{"VrstaPrometaInvManjkoVP", "V", "I", "-"},
                      {"VrstaPrometaInvVisekVP", "V", "N", "+"},
                      {"VrstaPrometaInvManjkoMP", "M", "I", "-"},
                      {"VrstaPrometaInvVisekMP", "M", "N", "+"}};
    for (const auto& p : parameters) {
        const auto number = static_cast<int>(settings.readNumber("SPLOŠNO", p.entry, 0));
        EXPECT_TRUE(types.count({p.kind, p.mark, number, p.effect})) << p.entry << " " << number;
    }

    const std::int64_t owner = settings.readNumber("SPLOŠNO", "SifraLastnikaPrograma", 0);
    std::string ownerName, companyName;
    data.forEach("SFPARTN", [&] {
        if (SFPARTN.Sifra == owner) ownerName = SFPARTN.Naziv.str();
    });
    data.forEach("APPINS", [&] { companyName = APPINS.NAZIVPODJETJA.str(); });
    EXPECT_FALSE(ownerName.empty()) << "the owner is a partner";
    EXPECT_EQ(ownerName, companyName);

    const std::string receipt = settings.readText("SERVISNE", "Vrsta prodaje ZN", "");
    const std::string receiptMark = settings.readText("SERVISNE", "Oznaka dok ZN", "");
    const auto receiptType =
        static_cast<int>(settings.readNumber("SERVISNE", "Vrsta prometa ZN", 0));
    EXPECT_TRUE(types.count({receipt, receiptMark, receiptType, "+"}));
    EXPECT_EQ(settings.readNumber("SERVISNE", "DefaultPopis", -1), 1);
    EXPECT_EQ(settings.readNumber("TERMINAL", "Dolzina EAN", 0), 13);
}

TEST_F(DemoCompanyContents, TerminalFoldersLieInsideTheProgramDirectory) {
    namespace fs = std::filesystem;
    const fs::path capture =
        data.settings().readText("TERMINAL", "MAPA IN IME DATOTEKE TERMINALA", "");
    const std::string archive = data.settings().readText("SERVISNE", "Pot arhiva ASCII", "");
    EXPECT_TRUE(fs::is_directory(capture.parent_path())) << capture;
    EXPECT_EQ(capture.parent_path().parent_path(), directory());
    ASSERT_FALSE(archive.empty());
    EXPECT_EQ(archive.back(), '/') << "archive names are appended to the folder directly";
    EXPECT_TRUE(fs::is_directory(archive));
    EXPECT_EQ(fs::path(archive).parent_path().parent_path(), directory());
}

// The capture file that the demo leaves for the terminal import: the heading line, then
// "code;quantity" lines of the first shop's items, the weighed ones with a decimal comma.
TEST_F(DemoCompanyContents, CaptureFileCountsTheStockOfTheFirstShop) {
    const std::string capture = fileBytes(
        data.settings().readText("TERMINAL", "MAPA IN IME DATOTEKE TERMINALA", ""));
    ASSERT_FALSE(capture.empty());
    std::set<std::string> items, firstShop;
    data.forEach("ARTIKLI", [&] { items.insert(ARTIKLI.EAN.str()); });
    data.forEach("ZALOGA", [&] {
        if (ZALOGA.ENOTA == 1) firstShop.insert(ZALOGA.EAN.str());
    });
    std::map<std::string, int> scans;
    std::size_t lines = 0, commas = 0, start = 0;
    while (start < capture.size()) {
        const std::size_t end = capture.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        const std::string line = capture.substr(start, end - start);
        start = end + 2;
        if (lines++ == 0) {
            EXPECT_EQ(line, "EAN;KOLICINA");
            continue;
        }
        const std::size_t semicolon = line.find(';');
        ASSERT_NE(semicolon, std::string::npos) << line;
        const std::string code = line.substr(0, semicolon);
        std::string quantity = line.substr(semicolon + 1);
        commas += quantity.find(',') != std::string::npos ? 1 : 0;
        for (char& c : quantity)
            if (c == ',') c = '.';
        const auto value = Decimal::parse(quantity);
        ASSERT_TRUE(value) << line;
        EXPECT_GE(value->sign(), 0) << line;
        ++scans[code];
        if (code == demoUnknownCode()) continue;
        EXPECT_TRUE(firstShop.count(code)) << code << " is not stocked in the first shop";
    }
    EXPECT_EQ(scans[demoUnknownCode()], 1);
    EXPECT_FALSE(items.count(demoUnknownCode()));
    EXPECT_TRUE(isValidEan13(demoUnknownCode()));
    std::size_t twice = 0;
    for (const auto& [code, count] : scans) twice += count == 2 ? 1 : 0;
    EXPECT_GT(twice, 0u) << "some items are scanned on two shelves";
    EXPECT_GT(commas, 0u) << "weighed goods carry a decimal comma";
    const std::size_t scanned = scans.size() - 1;
    EXPECT_LT(scanned, firstShop.size()) << "some items are left for counting by hand";
    EXPECT_GT(scanned * 10, firstShop.size() * 8);
}

TEST_F(DemoCompanyContents, CompanyRecordLiesInTheParentDirectory) {
    EXPECT_EQ(std::filesystem::path(tableFileName("APPINS")).parent_path(), folders_->root());
    EXPECT_TRUE(std::filesystem::exists(folders_->root() / "dideroviv.db"));
    int companies = 0;
    data.forEach("APPINS", [&] {
        ++companies;
        EXPECT_EQ(APPINS.SIFRAPODJETJA, 1);
        EXPECT_TRUE(isValidTaxNumber(std::to_string(APPINS.DAVCNASTEVILKA)));
    });
    EXPECT_EQ(companies, 1);
    data.forEach("APPINRA", [&] {
        EXPECT_EQ(APPINRA.SIFRAPODJETJA, 1);
        EXPECT_EQ(APPINRA.SIFRAPOSLOVNEGARACUNA, APPINS.SIFRAPOSLOVNEGARACUNA);
    });
    data.forEach("SFPARTN", [&] {
        EXPECT_TRUE(isValidTaxNumber(SFPARTN.DAVCNASTEVILKA.str())) << SFPARTN.Naziv.str();
    });
}

}  // namespace
}  // namespace dv::test
