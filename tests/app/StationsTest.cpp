#include <chrono>
#include <future>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "runtime/Decimal.h"
#include "schema/Records.h"
#include "support/DemoTestSupport.h"
#include "support/StationSetup.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

using stations::countByHand;
using stations::handCounts;
using stations::kExit;
using stations::kImport;
using stations::kStart;
using stations::startScript;
using stations::writeCapture;

// A template row of stocktake 1 as it was read.
struct Row {
    Decimal book;
    Decimal counted;
    int entered = 0;
};

// The demo company copied to a server, with two stations that each keep a program directory of
// their own: BLAGAJNA1 in the company's (its settings name the tables' files), BLAGAJNA2 in a
// directory elsewhere whose settings name no table file but the company's program directory as
// the one the server knows ("Imenik"). Stocktake 1 of the first shop is opened and its template
// prepared on the first station.
class TwoStations : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(testServerConnection().empty());
        static int databases = 0;
        server = stations::newDatabase("postaje" + std::to_string(++databases));
        ASSERT_FALSE(server.empty());
        first = folders.program("firma");
        second = elsewhere.path() / "postaja2";
        ASSERT_EQ(stations::makeTwoStations(first, second, server, 400), "");
        before = templateRows();
        ASSERT_GE(before.size(), 300U);
        for (const auto& [code, row] : before) codes.push_back(code);
    }

    static void runScript(const fs::path& program, const std::string& script) {
        const ProgramRun run = startScript(program, script).get();
        ASSERT_EQ(run.status, 0) << program << "\n" << run.output;
    }

    std::vector<std::string> slice(std::size_t from, std::size_t to) const {
        return {codes.begin() + static_cast<std::ptrdiff_t>(from),
                codes.begin() + static_cast<std::ptrdiff_t>(to)};
    }

    std::map<std::string, Row> templateRows() const {
        std::map<std::string, Row> rows;
        CompanyData data(first);
        data.forEach("INVENDET", [&] {
            if (INVENDET.StevInventure == 1)
                rows[INVENDET.EAN.str()] = {INVENDET.RacZaloga.value(),
                                            INVENDET.PopisanaZaloga.value(), INVENDET.NarejenVnos};
        });
        return rows;
    }

    // The archive lines of stocktake 1: their record numbers and each code's counters in order.
    void readArchive(std::set<std::int32_t>& numbers,
                     std::map<std::string, std::vector<std::int32_t>>& counters) const {
        CompanyData data(first);
        data.forEach("INVTPS", [&] {
            if (INVTPS.STEVINVENTURE != 1) return;
            numbers.insert(INVTPS.Zapis);
            counters[INVTPS.EANKODA.str()].push_back(INVTPS.USPESNOKNJIZENJE);
        });
    }

    DemoFolders folders;
    TempDirectory elsewhere;
    std::string server;
    fs::path first;
    fs::path second;
    std::map<std::string, Row> before;  // the template as prepared, by code
    std::vector<std::string> codes;     // its codes in order
};

// Each station imports a capture file of 5,000 lines while the other counts by hand; the files
// overlap in half their items. Every item ends with the sum its lines gave (or the count typed
// for it), and the archive holds every line once, each code's counters running 1, 2, 3 ...
TEST_F(TwoStations, ImportsAndCountsOfTwoStationsAddUpExactly) {
    const std::map<std::string, Decimal> firstFile = writeCapture(first, slice(0, 200), 5000, 1);
    const std::map<std::string, Decimal> secondFile =
        writeCapture(second, slice(100, 300), 5000, 3);
    const std::map<std::string, Decimal> firstHand = handCounts(slice(300, 340), 1);
    const std::map<std::string, Decimal> secondHand = handCounts(slice(340, 380), 100);
    std::future<ProgramRun> one =
        startScript(first, std::string(kStart) + kImport + countByHand(firstHand) + kExit);
    std::future<ProgramRun> two =
        startScript(second, std::string(kStart) + countByHand(secondHand) + kImport + kExit);
    const ProgramRun firstRun = one.get();
    const ProgramRun secondRun = two.get();
    ASSERT_EQ(firstRun.status, 0) << firstRun.output;
    ASSERT_EQ(secondRun.status, 0) << secondRun.output;

    const std::map<std::string, Row> after = templateRows();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [code, row] : after) {
        Decimal expected = before.at(code).counted;
        const bool imported = firstFile.contains(code) || secondFile.contains(code);
        if (imported) {
            expected = Decimal();
            if (firstFile.contains(code)) expected = expected + firstFile.at(code);
            if (secondFile.contains(code)) expected = expected + secondFile.at(code);
        }
        if (firstHand.contains(code)) expected = firstHand.at(code);
        if (secondHand.contains(code)) expected = secondHand.at(code);
        EXPECT_EQ(row.counted, expected) << code;
        const bool counted = imported || firstHand.contains(code) || secondHand.contains(code);
        EXPECT_EQ(row.entered, counted ? 1 : 0) << code;
    }

    std::set<std::int32_t> numbers;
    std::map<std::string, std::vector<std::int32_t>> counters;
    readArchive(numbers, counters);
    EXPECT_EQ(numbers.size(), 10000U) << "every line archived once, under a number of its own";
    for (const auto& [code, seen] : counters) {
        std::vector<std::int32_t> expected(seen.size());
        for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<std::int32_t>(i + 1);
        std::vector<std::int32_t> sorted = seen;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, expected) << code;
    }
    for (const fs::path& program : {first, second}) {
        EXPECT_FALSE(fs::exists(program / "terminal" / "INVASCII.txt")) << program;
        EXPECT_EQ(std::distance(fs::directory_iterator(program / "arhiv"), fs::directory_iterator()), 1)
            << program;
    }
}

// The first station posts while the second imports 10,000 lines: the posting waits for the
// import, then posts the counts with the import's quantities in them, so that the stock of
// every item of the template ends at its count.
TEST_F(TwoStations, APostingStartedWhileAnotherStationImportsWaitsForItAndPostsItsCounts) {
    writeCapture(second, slice(0, 150), 10000, 2);
    std::future<ProgramRun> importing = startScript(second, std::string(kStart) + kImport + kExit);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (queryServer("SELECT count(*) FROM pg_stat_activity WHERE application_name = "
                       "'DV|BLAGAJNA2|U'") != "1" &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    runScript(first, std::string(kStart) + R"(menu "&DIDEROVIV" "4. Knjiženje inventurnih razlik"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "   KNJIŽENJE INVENTURNIH RAZLIK za izbrano inventuro"
window "  PREGLED POGOJEV ZA KNJIŽENJE INVENTURNIH RAZLIK"
press "   &KNJIŽENJE"
message-contains "je končano"
answer OK
idle
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "ZAPRI "
window "    DIDEROVIV "
)" + kExit);
    const ProgramRun imported = importing.get();
    ASSERT_EQ(imported.status, 0) << imported.output;

    const std::map<std::string, Row> counts = templateRows();
    std::map<std::string, Decimal> stock;
    int archived = 0;
    {
        CompanyData data(first);
        data.forEach("ZALOGA", [&] {
            if (ZALOGA.ENOTA == 1) stock[ZALOGA.EAN.str()] = ZALOGA.ZALOGA.value();
        });
        archived = data.forEach("INVTPS");
        data.forEach("INVENTUR", [&] { EXPECT_GT(INVENTUR.DATUMZAKLJUCKA, 0); });
    }
    EXPECT_EQ(archived, 10000);
    int changed = 0;
    for (const auto& [code, row] : counts) {
        EXPECT_EQ(stock[code], row.counted) << code;
        changed += row.counted != before.at(code).counted;
    }
    EXPECT_GE(changed, 100) << "the import's counts were posted";
}

}  // namespace
}  // namespace dv::test
