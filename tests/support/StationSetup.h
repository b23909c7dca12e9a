#pragma once

#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <libpq-fe.h>

#include "data/IniFile.h"
#include "frontend/ProgramRun.h"
#include "runtime/Decimal.h"
#include "support/PostgresCluster.h"

// Stations of one company on a server database, each a program directory of its own, driven by
// UI scripts of the program itself (the tests of several stations and their benchmark).
namespace dv::stations {

namespace fs = std::filesystem;
using test::PostgresCluster;
using test::ProgramRun;
using test::runProgram;

inline const char* const kStart = R"(start Main
message-contains "KOPIJ PODATKOV"
answer OK
message-contains "KOPIJ PODATKOV"
answer OK
window "    DIDEROVIV "
)";

// The import of the station's capture file into stocktake 1, chosen from the list.
inline const char* const kImport = R"(menu "&Zajem s terminalov - zajem ASCII" "2. Obdelava ASCII datoteke zajema"
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

// Stocktake 1 of the first unit opened and its template prepared.
inline const char* const kOpenStocktake = R"(menu "&DIDEROVIV" "1. Evidenca inventur, priprava podatkov in izpis predloge"
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
)";

inline const char* const kExit = "toolbar \"IZHOD\"\n";

// A new, empty database on the shared cluster (copy-to takes only an empty one); its connection
// string, or "" when there is no cluster.
inline std::string newDatabase(const std::string& name) {
    PostgresCluster* cluster = PostgresCluster::shared();
    if (cluster == nullptr) return "";
    PGconn* conn = PQconnectdb(cluster->connection().c_str());
    PGresult* result = PQexec(conn, ("CREATE DATABASE " + name).c_str());
    const bool made = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    PQfinish(conn);
    return made ? cluster->connection(name) : "";
}

// The settings of `from` without the table files' entries: a station that names none.
inline void writeWithoutTableFiles(const fs::path& from, const fs::path& to) {
    std::ifstream file(from, std::ios::binary);
    std::stringstream in;
    in << file.rdbuf();
    std::ofstream out(to, std::ios::binary);
    bool files = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("[")) files = line.starts_with("[FILE]");
        if (!files) out << line << '\n';
    }
}

// The station's name, the server and, for a station of its own directory, the directory the
// server knows the tables by; its own capture file and archive folder. An error, or "".
inline std::string configure(const fs::path& program, const std::string& server,
                             const std::string& station, const std::string& shared) {
    fs::create_directories(program / "terminal");
    fs::create_directories(program / "arhiv");
    IniFile settings;
    FileResult result = settings.load(program / "ZALTO.INI");
    for (const auto& [section, entry, value] :
         std::vector<std::tuple<const char*, const char*, std::string>>{
             {"BAZA", "Povezava", server},
             {"BAZA", "Postaja", station},
             {"TERMINAL", "MAPA IN IME DATOTEKE TERMINALA",
              (program / "terminal" / "INVASCII.txt").string()},
             {"SERVISNE", "Pot arhiva ASCII", (program / "arhiv").string() + "/"}})
        if (result.ok()) result = settings.write(section, entry, value);
    if (result.ok() && !shared.empty()) result = settings.write("BAZA", "Imenik", shared);
    if (result.ok()) result = settings.save(program / "ZALTO.INI");
    return result.error;
}

// The demo company of `items` items in `first`, copied to `server` (its embedded databases
// removed), with the stations `first` (BLAGAJNA1) and `second` (BLAGAJNA2, a directory of its
// own) on it, and stocktake 1 opened with its template. An error, or "".
inline std::string makeTwoStations(const fs::path& first, const fs::path& second,
                                   const std::string& server, int items) {
    const ProgramRun demo = runProgram(first, "demo --items " + std::to_string(items));
    if (demo.status != 0) return demo.output;
    const ProgramRun copied = runProgram(first, "copy-to '" + server + "'");
    if (copied.status != 0) return copied.output;
    for (const fs::path& directory : {first, first.parent_path()})
        for (const char* file : {"dideroviv.db", "dideroviv.db-wal", "dideroviv.db-shm"})
            fs::remove(directory / file);
    fs::create_directories(second);
    writeWithoutTableFiles(first / "ZALTO.INI", second / "ZALTO.INI");
    std::string error = configure(first, server, "BLAGAJNA1", "");
    if (error.empty()) error = configure(second, server, "BLAGAJNA2", first.string());
    if (!error.empty()) return error;
    std::ofstream(first / "postaja.script") << std::string(kStart) + kOpenStocktake + kExit;
    const ProgramRun opened = runProgram(first, "script postaja.script");
    return opened.status == 0 ? "" : opened.output;
}

// Writes a capture file of `lines` lines over `items` in turn; the quantity each item gets.
inline std::map<std::string, Decimal> writeCapture(const fs::path& program,
                                                   const std::vector<std::string>& items,
                                                   int lines, int seed) {
    std::map<std::string, Decimal> given;
    std::ofstream out(program / "terminal" / "INVASCII.txt", std::ios::binary);
    const auto count = static_cast<int>(items.size());
    for (int i = 0; i < lines; ++i) {
        const std::string& code = items[static_cast<std::size_t>((i * 7 + seed) % count)];
        const std::string quantity =
            std::to_string((i + seed) % 9 + 1) + ((i + seed) % 2 == 0 ? ".5" : "");
        out << code << ';' << quantity << "\r\n";
        given[code] = given[code] + *Decimal::parse(quantity);
    }
    return given;
}

// The counts typed into the form of each item, one after the other, in the list of stocktake 1.
inline std::string countByHand(const std::map<std::string, Decimal>& counts) {
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

// The counts 0 + offset, 1 + offset, ... of `items`.
inline std::map<std::string, Decimal> handCounts(const std::vector<std::string>& items,
                                                 int offset) {
    std::map<std::string, Decimal> counts;
    for (std::size_t i = 0; i < items.size(); ++i)
        counts[items[i]] = Decimal(static_cast<std::int64_t>(i) + offset);
    return counts;
}

// Runs `script` on the station `program` in the background.
inline std::future<ProgramRun> startScript(const fs::path& program, const std::string& script) {
    std::ofstream(program / "postaja.script") << script;
    return std::async(std::launch::async,
                      [program] { return runProgram(program, "script postaja.script"); });
}

}  // namespace dv::stations
