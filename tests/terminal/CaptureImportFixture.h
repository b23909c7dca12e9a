#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "masterdata/FormScriptFixture.h"
#include "runtime/Date.h"
#include "runtime/Decimal.h"
#include "runtime/TimeOfDay.h"
#include "schema/ProgramGlobals.h"
#include "schema/Records.h"
#include "support/RawRows.h"
#include "terminal/CaptureImportBatch.h"

namespace dv::test {

// The program on fresh tables in the test's process, with the capture file INVASCII.txt and the
// archive folder "arhiv/" in the test's directory, stocktake 7 of unit 1 (retail) selected, and
// the clock at 15.03.2024 09:05. Helpers put items, stocktakes and template lines in as they are
// and write the capture file byte for byte.
class CaptureImportFixture : public FormScriptFixture {
  protected:
    static constexpr DayNumber kToday = 81527;  // 15.03.2024
    static constexpr const char* kArchive = "ARHINV_240315_0905";

    CaptureImportFixture()
        : capture(directory.path() / "INVASCII.txt"), archive(directory.path() / "arhiv") {
        setFixedToday(kToday);
        setFixedNow(timeValue(9, 5));
        clearProgramGlobals();
        setTableFileName("INVASCI", capture.string());
        std::filesystem::create_directory(archive);
        GLO.POTARHIVZAJEMAASCII = archive.string() + "/";
        select(7, 1, "M");
        for (const char* name : {"KnjizenjeINVASCI", "OknoKnjizenjeASCII", "IzborGlaveInventure"})
            procedures.add(name, procedureByName(name));
        // The tables are made on their first open; the comparisons read them from the start.
        for (const char* table : {"INVENDET", "INVTPS", "ARTIKLI", "INVENTUR"}) {
            FileManager& file = tables->file(table);
            EXPECT_EQ(file.Open(), kLevelBenign);
            EXPECT_EQ(file.UseFile(), kLevelBenign);
            (void)file.Close();
        }
        addStocktake(7, 1, "M");
    }
    ~CaptureImportFixture() override {
        setFixedToday(0);
        setFixedNow(0);
    }

    static void select(int number, int unit, const std::string& saleType) {
        GLO.DIDEROVIV = static_cast<std::uint16_t>(number);
        GLO.ENOTAINV = static_cast<std::int16_t>(unit);
        GLO.VRSTAINV = saleType;
    }

    void addItem(const std::string& ean, const std::string& shortName,
                 const std::string& secondName = "") {
        addRawRow(*tables, "ARTIKLI", [&] {
            ARTIKLI.EAN = ean;
            ARTIKLI.KRATEKNAZIV = shortName;
            ARTIKLI.DRUGIDELNAZIVA = secondName;
            ARTIKLI.SKUPINA = 4;
        });
    }

    void addStocktake(int number, int unit, const std::string& saleType, DayNumber closed = 0) {
        addRawRow(*tables, "INVENTUR", [&] {
            INVENTUR.StevInventure = static_cast<std::uint16_t>(number);
            INVENTUR.Enota = static_cast<std::uint16_t>(unit);
            INVENTUR.VRSTAPRODAJE = saleType;
            INVENTUR.DATUMINVENTURE = kToday;
            INVENTUR.DATUMZAKLJUCKA = closed;
        });
    }

    // A template line of stocktake `number` of unit 1, retail, with its book and counted
    // quantities and count-entered flag.
    void addLine(int number, const std::string& ean, const char* book, const char* counted,
                 int entered) {
        addRawRow(*tables, "INVENDET", [&] {
            INVENDET.StevInventure = static_cast<std::uint16_t>(number);
            INVENDET.Enota = 1;
            INVENDET.VrstaProdaje = "M";
            INVENDET.EAN = ean;
            INVENDET.Skupina = 4;
            INVENDET.Naziv = "Izdelek " + ean;
            INVENDET.RacZaloga = *Decimal::parse(book);
            INVENDET.PopisanaZaloga = *Decimal::parse(counted);
            INVENDET.NarejenVnos = static_cast<std::uint16_t>(entered);
        });
    }

    static void writeFile(const std::filesystem::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string readFile(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // The names of the files in the archive folder, sorted.
    std::vector<std::string> archived() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(archive))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // The rows of a read-only statement, "\n"-joined, columns "|".
    std::string sql(const std::string& statement) {
        std::string why;
        const auto result = query.run(statement, why);
        EXPECT_TRUE(result.has_value()) << why;
        return result.value_or("");
    }
    std::string templateRows() {
        return sql(
            "SELECT STEVINVENTURE, EAN, SKUPINA, NAZIV, RACZALOGA, POPISANAZALOGA, NAREJENVNOS "
            "FROM INVENDET ORDER BY STEVINVENTURE, EAN");
    }
    std::string archiveRows() {
        return sql(
            "SELECT ZAPIS, STEVINVENTURE, ENOTA, VRSTAPRODAJE, EANKODA, KOLICINA, "
            "USPESNOKNJIZENJE, JENIVARTIKLIH FROM INVTPS ORDER BY ZAPIS");
    }
    // Both tables the import writes, and the capture file (its size and a hash of its bytes),
    // for before/after comparisons.
    std::string state() {
        const std::string file = std::filesystem::exists(capture) ? readFile(capture) : "";
        return sql("SELECT COUNT(*), COALESCE(SUM(POPISANAZALOGA), 0), "
                   "COALESCE(SUM(NAREJENVNOS), 0), COALESCE(SUM(RACZALOGA), 0) FROM INVENDET") +
               "\n" +
               sql("SELECT COUNT(*), COALESCE(SUM(KOLICINA), 0), "
                   "COALESCE(SUM(USPESNOKNJIZENJE), 0) FROM INVTPS") +
               "\n" + std::to_string(std::hash<std::string>{}(templateRows() + archiveRows())) +
               "\nfile: " +
               (std::filesystem::exists(capture)
                    ? std::to_string(file.size()) + " " + std::to_string(std::hash<std::string>{}(file))
                    : "(none)");
    }

    // Registers "Uvoz": the import as the start button runs it, with `hooks`.
    void importWith(CaptureImportHooks hooks) {
        procedures.add("Uvoz", [hooks] { return runCaptureImport("KnjizenjeINVASCI", hooks); });
    }

    const std::filesystem::path capture;
    const std::filesystem::path archive;
};

}  // namespace dv::test
