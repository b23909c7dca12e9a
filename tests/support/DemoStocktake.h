#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/Decimal.h"
#include "schema/Records.h"
#include "support/DemoTestSupport.h"
#include "support/PdfFiles.h"

namespace dv::test {

// A whole stocktake on the demo company as a user takes it, through the program's own menus and
// windows: stocktake 1 of the first shop is opened and its template prepared, the count sheet
// printed, two items counted by hand (one short, one over), the terminal's capture file of the
// shop imported, the differences printed, the differences posted, then both documents and the
// stock report printed, every printout saved as PDF in the program directory. The fixture makes
// the demo company, chooses the two hand counts and reads the stock and the capture file before;
// checkOutcome() checks what the whole path left behind.
class DemoStocktakeTest : public ::testing::Test {
  protected:
    struct Counted {
        std::string code;
        Decimal book;
        Decimal counted;
    };

    // The printouts, as the path saves them in the program directory.
    static constexpr std::array<const char*, 5> kPdfFiles = {
        "predloga.pdf", "razlike.pdf", "manjki.pdf", "viski.pdf", "zaloga.pdf"};

    void SetUp() override {
        // A small catalogue keeps the printouts short; the path is the same.
        ASSERT_EQ(runProgram(program, "demo --items 400").status, 0);
        chooseHandCounts();
        readBefore();
    }

    // Two stock rows of the first shop that the terminal's capture leaves for counting by hand.
    void chooseHandCounts() {
        const std::string capture = fileBytes(program / "terminal" / "INVASCII.txt");
        CompanyData data(program);
        data.forEach("ZALOGA", [&] {
            if (ZALOGA.ENOTA != 1 || counts.size() == 2 || ZALOGA.ZALOGA < Decimal(3)) return;
            const std::string code = ZALOGA.EAN.str();
            if (capture.find("\n" + code + ";") != std::string::npos) return;
            // The first is counted two short, the second three over.
            counts.push_back(
                {code, ZALOGA.ZALOGA, ZALOGA.ZALOGA + Decimal(counts.empty() ? -2 : 3)});
        });
        ASSERT_EQ(counts.size(), 2u);
    }

    // The counts of the capture file by code: the first scan of an uncounted line sets its count,
    // later scans add to it.
    static std::map<std::string, Decimal> captured(const std::string& capture) {
        std::map<std::string, Decimal> sums;
        std::istringstream in(capture);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::size_t semicolon = line.find(';');
            if (line.empty() || line[0] < '0' || line[0] > '9' || semicolon == std::string::npos)
                continue;
            std::string quantity = line.substr(semicolon + 1);
            for (char& c : quantity)
                if (c == ',') c = '.';
            sums[line.substr(0, semicolon)] += *Decimal::parse(quantity);
        }
        return sums;
    }

    static bool isPdf(const std::filesystem::path& file) {
        const std::string bytes = fileBytes(file);
        return bytes.starts_with("%PDF-") && bytes.find("%%EOF") != std::string::npos;
    }

    // The first shop's stock and the capture file's counts before the path.
    void readBefore() {
        CompanyData data(program);
        rowsBefore = data.forEach("ZALOGA", [&] {
            if (ZALOGA.ENOTA == 1) stockBefore[ZALOGA.EAN.str()] = ZALOGA.ZALOGA;
        });
        scanned = captured(fileBytes(capture));
        ASSERT_GT(scanned.size(), 100u);
    }

    // A quantity of three places as the printouts show it ("47,000").
    static std::string shownQuantity(const Decimal& quantity) {
        std::string text = quantity.toString(3);
        for (char& c : text)
            if (c == '.') c = ',';
        return text;
    }

    // The line of a printout's text that holds `code`; empty when none does.
    static std::string lineWith(const std::string& text, const std::string& code) {
        const std::size_t at = text.find(code);
        if (at == std::string::npos) return {};
        const std::size_t begin = text.rfind('\n', at);
        const std::size_t end = text.find('\n', at);
        return text.substr(begin == std::string::npos ? 0 : begin + 1,
                           end == std::string::npos ? std::string::npos : end - begin - 1);
    }

    // Every printout is a PDF with pages, its title, and the lines of the two items counted by
    // hand as each printout shows them: the count sheet their book stock, the differences both
    // quantities, the shortage document only the first with its two missing, the surplus
    // document only the second with its three over, the stock report the counts.
    void checkPrintouts() {
        std::map<std::string, std::string> text;
        for (const char* pdf : kPdfFiles) {
            EXPECT_TRUE(isPdf(program / pdf)) << pdf;
            EXPECT_GT(pdfPageCount(program / pdf), 0) << pdf;
            text[pdf] = pdfText(program / pdf);
        }
        EXPECT_NE(text["predloga.pdf"].find("PREDLOGA INVENTURE ŠT. 1"), std::string::npos);
        EXPECT_NE(text["razlike.pdf"].find("IZPIS INVENTURNIH RAZLIK INVENTURE ŠT. 1"),
                  std::string::npos);
        EXPECT_NE(text["manjki.pdf"].find("Dokument inventurnih manjkov"), std::string::npos);
        EXPECT_NE(text["viski.pdf"].find("Dokument inventurnih viškov"), std::string::npos);
        EXPECT_NE(text["zaloga.pdf"].find("STANJE ZALOG PO KONČANI INVENTURI"), std::string::npos);
        for (const Counted& count : counts) {
            const std::string book = shownQuantity(count.book);
            const std::string counted = shownQuantity(count.counted);
            EXPECT_NE(lineWith(text["predloga.pdf"], count.code).find(book), std::string::npos);
            const std::string difference = lineWith(text["razlike.pdf"], count.code);
            EXPECT_NE(difference.find(book), std::string::npos) << difference;
            EXPECT_NE(difference.find(counted), std::string::npos) << difference;
            EXPECT_NE(lineWith(text["zaloga.pdf"], count.code).find(counted), std::string::npos);
        }
        EXPECT_NE(lineWith(text["manjki.pdf"], counts[0].code).find("2,000"), std::string::npos);
        EXPECT_EQ(lineWith(text["manjki.pdf"], counts[1].code), "");
        EXPECT_NE(lineWith(text["viski.pdf"], counts[1].code).find("3,000"), std::string::npos);
        EXPECT_EQ(lineWith(text["viski.pdf"], counts[0].code), "");
    }

    // The stock, the documents, the archive and the printouts after the path.
    void checkOutcome() {
        checkPrintouts();

        CompanyData data(program);
        std::map<std::string, Decimal> stockAfter;
        EXPECT_EQ(data.forEach("ZALOGA",
                               [&] {
                                   if (ZALOGA.ENOTA == 1)
                                       stockAfter[ZALOGA.EAN.str()] = ZALOGA.ZALOGA;
                               }),
                  rowsBefore);
        // The scanned items stand at the sum of their scans, the two counted by hand at their
        // counts; every other stock row of the shop is as the books had it (the demo's template
        // starts each count at the book quantity). The code of no item changed nothing.
        std::map<std::string, Decimal> expected = stockBefore;
        for (const auto& [code, quantity] : scanned)
            if (expected.count(code)) expected[code] = quantity;
        for (const Counted& count : counts) expected[count.code] = count.counted;
        EXPECT_EQ(stockAfter, expected);
        EXPECT_FALSE(std::filesystem::exists(capture))
            << "the capture file is archived and removed";
        int archiveCopies = 0;
        for (const auto& entry : std::filesystem::directory_iterator(program / "arhiv"))
            archiveCopies += entry.path().filename().string().starts_with("ARHINV_") ? 1 : 0;
        EXPECT_EQ(archiveCopies, 1);

        int documents = 0, lines = 0;
        data.forEach("DOKUMENT", [&] { ++documents; });
        std::set<std::string> posted;
        data.forEach("DOKPROME", [&] {
            ++lines;
            posted.insert(DOKPROME.EAN.str());
        });
        EXPECT_EQ(documents, 2) << "one shortage and one surplus document";
        std::set<std::string> differing;
        for (const auto& [code, quantity] : expected)
            if (quantity != stockBefore[code]) differing.insert(code);
        EXPECT_EQ(lines, static_cast<int>(differing.size()));
        EXPECT_EQ(posted, differing);
        EXPECT_TRUE(posted.count(counts[0].code) && posted.count(counts[1].code));
        int closed = 0;
        data.forEach("INVENTUR", [&] { closed += INVENTUR.DATUMZAKLJUCKA > 0 ? 1 : 0; });
        EXPECT_EQ(closed, 1);
    }

    DemoFolders folders;
    std::filesystem::path program = folders.program();
    std::filesystem::path capture = program / "terminal" / "INVASCII.txt";
    std::vector<Counted> counts;
    std::map<std::string, Decimal> stockBefore;
    int rowsBefore = 0;
    std::map<std::string, Decimal> scanned;
};

}  // namespace dv::test
