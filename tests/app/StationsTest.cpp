#include <chrono>
#include <fstream>
#include <future>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/IniFile.h"
#include "runtime/Decimal.h"
#include "schema/Records.h"
#include "support/DemoTestSupport.h"
#include "support/PostgresCluster.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

const char* const kStart = R"(start Main
message-contains "KOPIJ PODATKOV"
answer OK
message-contains "KOPIJ PODATKOV"
answer OK
window "    DIDEROVIV "
)";

const char* const kImport = R"(menu "&Zajem s terminalov - zajem ASCII" "2. Obdelava ASCII datoteke zajema"
window " KNJIŽENJE ASCII DATOTEKE S TERMINALA ali ROČNI ZAJEM"
press ?IzberiInventuro
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "  &IZBERI INVENTURO ZA VNOS POPISA"
window " KNJIŽENJE ASCII DATOTEKE S TERMINALA ali ROČNI ZAJEM"
expect ?GLO:DIDEROVIV text "1"
focus ?Knjizenje
press ?Knjizenje
idle
window "    DIDEROVIV "
)";

const char* const kExit = "toolbar \"IZHOD\"\n";

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
        // A database of its own on the tests' cluster: copy-to takes only an empty one.
        ASSERT_FALSE(testServerConnection().empty());
        static int databases = 0;
        const std::string database = "postaje" + std::to_string(++databases);
        runOnServer("CREATE DATABASE " + database);
        server = PostgresCluster::shared()->connection(database);
        first = folders.program("firma");
        ASSERT_EQ(runProgram(first, "demo --items 400").status, 0);
        const ProgramRun copied = runProgram(first, "copy-to '" + server + "'");
        ASSERT_EQ(copied.status, 0) << copied.output;
        for (const fs::path& directory : {first, first.parent_path()})
            for (const char* file : {"dideroviv.db", "dideroviv.db-wal", "dideroviv.db-shm"})
                if (fs::exists(directory / file)) fs::remove(directory / file);
        second = elsewhere.path() / "postaja2";
        fs::create_directories(second / "terminal");
        fs::create_directories(second / "arhiv");
        writeWithoutTableFiles(first / "ZALTO.INI", second / "ZALTO.INI");
        configure(first, "BLAGAJNA1", "");
        configure(second, "BLAGAJNA2", first.string());
        runScript(first, std::string(kStart) + R"(menu "&DIDEROVIV" "1. Evidenca inventur, priprava podatkov in izpis predloge"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "&Dodaj"
window "Dodajanje zapisa"
focus ?INVENTUR:Enota
window " SKLADIŠČA BLAGA - IZDELKOV"
press "&Izberi"
window "Dodajanje zapisa"
type ?INVENTUR:PREDSEDNIK "Ana Kovač"
press ?OK
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press " PRIPRAVA PREDLOGE"
message-contains "Postaje, ki vnašajo popis ali uvažajo zajem, lahko ostanejo odprte."
answer Yes
idle
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press " ZAPRI"
window "    DIDEROVIV "
)" + kExit);
        before = templateRows();
        ASSERT_GE(before.size(), 300U);
        for (const auto& [code, row] : before) codes.push_back(code);
    }

    // The settings of `from` without the table files' entries: a station that names none.
    static void writeWithoutTableFiles(const fs::path& from, const fs::path& to) {
        std::istringstream in(fileBytes(from));
        std::ofstream out(to, std::ios::binary);
        bool files = false;
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("[")) files = line.starts_with("[FILE]");
            if (!files) out << line << '\n';
        }
    }

    // The station's name, the server and, for the second station, the directory the server knows
    // its tables by; its own capture file and archive folder.
    void configure(const fs::path& program, const std::string& station, const std::string& shared) {
        IniFile settings;
        ASSERT_TRUE(settings.load(program / "ZALTO.INI").ok());
        ASSERT_TRUE(settings.write("BAZA", "Povezava", server).ok());
        ASSERT_TRUE(settings.write("BAZA", "Postaja", station).ok());
        if (!shared.empty()) {
            ASSERT_TRUE(settings.write("BAZA", "Imenik", shared).ok());
        }
        ASSERT_TRUE(settings
                        .write("TERMINAL", "MAPA IN IME DATOTEKE TERMINALA",
                               (program / "terminal" / "INVASCII.txt").string())
                        .ok());
        ASSERT_TRUE(settings.write("SERVISNE", "Pot arhiva ASCII", (program / "arhiv").string() + "/")
                        .ok());
        ASSERT_TRUE(settings.save(program / "ZALTO.INI").ok());
    }

    static void runScript(const fs::path& program, const std::string& script) {
        std::ofstream(program / "postaja.script") << script;
        const ProgramRun run = runProgram(program, "script postaja.script");
        ASSERT_EQ(run.status, 0) << program << "\n" << run.output;
    }

    static std::future<ProgramRun> startScript(const fs::path& program, const std::string& script) {
        std::ofstream(program / "postaja.script") << script;
        return std::async(std::launch::async,
                          [program] { return runProgram(program, "script postaja.script"); });
    }

    // Writes a capture file of `lines` lines over `items`, in turn; the quantities it gives.
    static std::map<std::string, Decimal> writeCapture(const fs::path& program,
                                                       const std::vector<std::string>& items,
                                                       int lines, int seed) {
        std::map<std::string, Decimal> given;
        std::ofstream out(program / "terminal" / "INVASCII.txt", std::ios::binary);
        for (int i = 0; i < lines; ++i) {
            const std::string& code = items[static_cast<std::size_t>((i * 7 + seed) % static_cast<int>(items.size()))];
            const std::string quantity =
                std::to_string((i + seed) % 9 + 1) + ((i + seed) % 2 == 0 ? ".5" : "");
            out << code << ';' << quantity << "\r\n";
            given[code] = given[code] + *Decimal::parse(quantity);
        }
        return given;
    }

    // The counts typed into the form of each item, one after the other, in the list of stocktake 1.
    static std::string countByHand(const std::map<std::string, Decimal>& counts) {
        std::string script = R"(menu "&DIDEROVIV" "2. Vnos inventurnega popisa"
window "  EVIDENCA OPRAVLJENIH INVENTUR"
press "  &IZBERI INVENTURO ZA VNOS POPISA"
window " INVENTURNI POPIS ZA INVENTURO ŠT. 1"
)";
        for (const auto& [code, counted] : counts)
            script += "type ?LokatorKoda \"" + code + "\" Enter\nkey Enter\n" +
                      "window \"Spreminjanje zapisa\"\ntype ?INVENDET:PopisanaZaloga \"" +
                      counted.toString(0) + "\" Enter\n" +
                      "window \" INVENTURNI POPIS ZA INVENTURO ŠT. 1\"\n";
        return script + "press \" ZAPRI\"\nwindow \"    DIDEROVIV \"\n";
    }

    static std::map<std::string, Decimal> handCounts(const std::vector<std::string>& items,
                                                     int offset) {
        std::map<std::string, Decimal> counts;
        for (std::size_t i = 0; i < items.size(); ++i)
            counts[items[i]] = Decimal(static_cast<std::int64_t>(i) + offset);
        return counts;
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

// The first station posts while the second imports 20,000 lines: the posting waits for the
// import, then posts the counts with the import's quantities in them, so that the stock of
// every item of the template ends at its count.
TEST_F(TwoStations, APostingStartedWhileAnotherStationImportsWaitsForItAndPostsItsCounts) {
    writeCapture(second, slice(0, 150), 20000, 2);
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
    EXPECT_EQ(archived, 20000);
    int changed = 0;
    for (const auto& [code, row] : counts) {
        EXPECT_EQ(stock[code], row.counted) << code;
        changed += row.counted != before.at(code).counted;
    }
    EXPECT_GE(changed, 100) << "the import's counts were posted";
}

}  // namespace
}  // namespace dv::test
