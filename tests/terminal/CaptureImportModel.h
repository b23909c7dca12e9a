#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "CaptureImportFixture.h"

namespace dv::test {

// A capture file of `lines` lines over 600 codes of 13 digits, each code coming back every 600
// lines: codes 0-299 are items with a template line (book 1, not counted), 300-449 items the
// template lacks, 450-599 unknown. Quantities 0.5 to 2.5, written with a decimal comma or point.
// What one undisturbed import of it gives: the template and a summary of the archive per code.
struct CaptureModel {
    static constexpr int kCodes = 600;

    explicit CaptureModel(int lines) {
        file = "EAN;KOLICINA\r\n";
        for (int i = 0; i < lines; ++i) {
            const int c = (i * 7) % kCodes;
            const int tenths = (i % 5 + 1) * 5;
            file += "\"" + code(c) + "\";\"" + std::to_string(tenths / 10) + (i % 2 ? "," : ".") +
                    std::to_string(tenths % 10) + "\"\r\n";
            Code& seen = codes[c];
            ++seen.lines;
            seen.tenths += tenths;
        }
    }

    static std::string code(int c) {
        char text[16];
        std::snprintf(text, sizeof text, "38300000%05d", c);
        return text;
    }

    // Items 0-449 and the template lines of 0-299 of stocktake 7, written in one transaction.
    static void addCompany(TableAccess& tables) {
        FileManager& items = tables.file("ARTIKLI");
        FileManager& lines = tables.file("INVENDET");
        ASSERT_EQ(items.Open(), kLevelBenign);
        ASSERT_EQ(lines.Open(), kLevelBenign);
        ASSERT_EQ(items.UseFile(), kLevelBenign);
        ASSERT_EQ(lines.UseFile(), kLevelBenign);
        ASSERT_EQ(tables.beginTransaction(), DriverCode::Ok);
        for (int c = 0; c < 450; ++c) {
            clearRecord(items.table(), items.buffer());
            ARTIKLI.EAN = code(c);
            ARTIKLI.KRATEKNAZIV = "Izdelek " + std::to_string(c);
            ASSERT_EQ(items.driver()->add(), DriverCode::Ok);
            if (c >= 300) continue;
            clearRecord(lines.table(), lines.buffer());
            INVENDET.StevInventure = 7;
            INVENDET.Enota = 1;
            INVENDET.VrstaProdaje = "M";
            INVENDET.EAN = code(c);
            INVENDET.RacZaloga = Decimal(1);
            ASSERT_EQ(lines.driver()->add(), DriverCode::Ok);
        }
        ASSERT_EQ(tables.commit(), DriverCode::Ok);
        (void)items.Close();
        (void)lines.Close();
    }

    // EAN, book, counted, count entered, in code order, as the template holds them.
    std::string templateRows() const {
        std::string rows;
        for (int c = 0; c < 450; ++c) {
            const auto seen = codes.find(c);
            if (c >= 300 && seen == codes.end()) continue;
            const int tenths = seen == codes.end() ? 0 : seen->second.tenths;
            rows += (rows.empty() ? "" : "\n") + code(c) + "|" + (c < 300 ? "1000" : "0") + "|" +
                    std::to_string(tenths * 100) + "|" + (seen == codes.end() ? "0" : "1");
        }
        return rows;
    }
    static constexpr const char* kTemplateQuery =
        "SELECT EAN, RACZALOGA, POPISANAZALOGA, NAREJENVNOS FROM INVENDET ORDER BY EAN";

    // Per code: lines archived, the highest counter, the quantities in hundredths, found.
    std::string archiveSummary() const {
        std::string rows;
        for (const auto& [c, seen] : codes) {
            const int counter = c < 300 ? seen.lines : c < 450 ? seen.lines - 1 : 0;
            rows += (rows.empty() ? "" : "\n") + code(c) + "|" + std::to_string(seen.lines) + "|" +
                    std::to_string(counter) + "|" + std::to_string(seen.tenths * 10) + "|" +
                    (c < 450 ? "1" : "0");
        }
        return rows;
    }
    static constexpr const char* kArchiveQuery =
        "SELECT EANKODA, COUNT(*), MAX(USPESNOKNJIZENJE), SUM(KOLICINA), MIN(JENIVARTIKLIH) "
        "FROM INVTPS GROUP BY EANKODA ORDER BY EANKODA";

    struct Code {
        int lines = 0;
        int tenths = 0;
    };
    std::string file;
    std::map<int, Code> codes;
};

}  // namespace dv::test
