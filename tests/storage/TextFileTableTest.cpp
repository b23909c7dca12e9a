#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "StorageTestSupport.h"
#include "data/Dictionary.h"
#include "schema/Records.h"
#include "storage/TextFileTable.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void write(const fs::path& file, std::string_view content) {
    std::ofstream(file, std::ios::binary) << content;
}

class TextFile : public ::testing::Test {
  protected:
    TempDirectory directory;
    fs::path file = directory / "INVASCII.txt";
    INVASCIRecord record{};
    std::unique_ptr<TextFileTable> capture;

    void open(std::string_view content, AccessMode mode = AccessMode::ReadWrite) {
        write(file, content);
        capture = std::make_unique<TextFileTable>(*findTable("INVASCI"), file,
                                                  parseTextFileOptions(kCaptureFileOptions));
        capture->setRecord(&record);
        ASSERT_EQ(capture->open(mode), DriverCode::Ok) << capture->lastError().text;
    }

    // Every record from the start, as "code|quantity".
    std::vector<std::string> lines() {
        std::vector<std::string> read;
        EXPECT_EQ(capture->setToStart(kFileOrder), DriverCode::Ok);
        while (capture->next() == DriverCode::Ok)
            read.push_back(record.EANKODA.str() + "|" + record.KOLICINA.str());
        return read;
    }
};

TEST_F(TextFile, MissingFileIsNotFoundAndMadeOnRequest) {
    TextFileTable table(*findTable("INVASCI"), file, parseTextFileOptions(kCaptureFileOptions));
    table.setRecord(&record);
    EXPECT_EQ(table.open(AccessMode::ReadWrite), DriverCode::FileNotFound);
    ASSERT_EQ(table.create(), DriverCode::Ok);
    ASSERT_EQ(table.open(AccessMode::ReadWrite), DriverCode::Ok);
    EXPECT_EQ(table.records(), 0);
    EXPECT_EQ(table.next(), DriverCode::NoMoreRecords);
    EXPECT_EQ(table.beginTransaction(), DriverCode::NoTransactions);
}

TEST_F(TextFile, ReadsQuotedAndUnquotedFieldsInFileOrder) {
    open(
        "\xEF\xBB\xBF"
        "3830001;5\r\n"
        "\"3830002\";\"12,5\"\r\n"
        "\r\n"
        "  \"38;03\" ; \"say \"\"hi\"\"\"\r\n"
        "only code\r\n"
        "\"" +
        std::string(40, '9') +
        "\";1\r\n"
        "last;7");
    EXPECT_EQ(lines(),
              (std::vector<std::string>{"3830001|5", "3830002|12,5", "38;03|say \"hi\"",
                                        "only code|", std::string(32, '9') + "|1", "last|7"}));
    EXPECT_EQ(capture->records(), 6);
    ASSERT_EQ(capture->setToEnd(kFileOrder), DriverCode::Ok);
    ASSERT_EQ(capture->previous(), DriverCode::Ok);
    EXPECT_EQ(record.EANKODA.str(), "last");
    ASSERT_EQ(capture->previous(), DriverCode::Ok);
    EXPECT_EQ(record.KOLICINA.str(), "1");
}

TEST_F(TextFile, AddAppendsALineWithBothFieldsQuoted) {
    open("1;2\n3;4");
    record.EANKODA = "3830005";
    record.KOLICINA = "2";
    ASSERT_EQ(capture->add(), DriverCode::Ok);
    EXPECT_EQ(contentOf(file), "1;2\n3;4\n\"3830005\";\"2\"\n");
    TempDirectory other;
    write(other / "new.txt", "");
    TextFileTable empty(*findTable("INVASCI"), other / "new.txt",
                        parseTextFileOptions(kCaptureFileOptions));
    empty.setRecord(&record);
    ASSERT_EQ(empty.open(AccessMode::ReadWrite), DriverCode::Ok);
    ASSERT_EQ(empty.add(), DriverCode::Ok);
    EXPECT_EQ(contentOf(other / "new.txt"), "\"3830005\";\"2\"\r\n");
}

TEST_F(TextFile, ChangeAndDeleteReplaceTheFileWholeAndReadingGoesOn) {
    open("a;1\r\nb;2\r\nc;3\r\n");
    struct stat before {};
    ::stat(file.c_str(), &before);
    ASSERT_EQ(capture->setToStart(kFileOrder), DriverCode::Ok);
    ASSERT_EQ(capture->next(), DriverCode::Ok);
    ASSERT_EQ(capture->next(), DriverCode::Ok);
    record.KOLICINA = "20";
    ASSERT_EQ(capture->put(), DriverCode::Ok);
    EXPECT_EQ(contentOf(file), "a;1\r\n\"b\";\"20\"\r\nc;3\r\n");
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_NE(before.st_ino, after.st_ino);  // a new file took the old one's name
    ASSERT_EQ(capture->remove(), DriverCode::Ok);
    EXPECT_EQ(contentOf(file), "a;1\r\nc;3\r\n");
    ASSERT_EQ(capture->next(), DriverCode::Ok);
    EXPECT_EQ(record.EANKODA.str(), "c");
    // Deleting every record a pass reads empties the file and visits each once.
    int visited = 0;
    ASSERT_EQ(capture->setToStart(kFileOrder), DriverCode::Ok);
    while (capture->next() == DriverCode::Ok) {
        ++visited;
        ASSERT_EQ(capture->remove(), DriverCode::Ok);
    }
    EXPECT_EQ(visited, 2);
    EXPECT_EQ(contentOf(file), "");
    for (const auto& entry : fs::directory_iterator(directory.path()))
        EXPECT_EQ(entry.path().filename(), "INVASCII.txt");  // no temporary file left
}

TEST_F(TextFile, RecordChangedByAnotherProgramIsNotOverwritten) {
    open("a;1\r\nb;2\r\n");
    ASSERT_EQ(capture->setToStart(kFileOrder), DriverCode::Ok);
    ASSERT_EQ(capture->next(), DriverCode::Ok);
    const DriverPosition position = capture->position();
    write(file, "x;9\r\nb;2\r\n");
    record.KOLICINA = "5";
    EXPECT_EQ(capture->put(), DriverCode::ChangedByOther);
    EXPECT_EQ(capture->remove(), DriverCode::ChangedByOther);
    EXPECT_EQ(contentOf(file), "x;9\r\nb;2\r\n");
    ASSERT_EQ(capture->reget(position), DriverCode::Ok);
    EXPECT_EQ(record.EANKODA.str(), "x");
}

TEST_F(TextFile, CodePageFileStaysInItsCodePageAndUtf8InUtf8) {
    open(
        "Skladi\x9A\xE8"
        "e;1\r\n");  // "Skladišče" in code page 1250
    ASSERT_EQ(capture->setToStart(kFileOrder), DriverCode::Ok);
    ASSERT_EQ(capture->next(), DriverCode::Ok);
    EXPECT_EQ(record.EANKODA.str(), "Skladišče");
    record.KOLICINA = "ž";
    ASSERT_EQ(capture->put(), DriverCode::Ok);
    EXPECT_EQ(contentOf(file),
              "\"Skladi\x9A\xE8"
              "e\";\"\x9E\"\r\n");

    open("čšž;1\n");
    ASSERT_EQ(capture->setToStart(kFileOrder), DriverCode::Ok);
    ASSERT_EQ(capture->next(), DriverCode::Ok);
    EXPECT_EQ(static_cast<unsigned char>(record.EANKODA.raw()[0]), 0xE8);
    ASSERT_EQ(capture->put(), DriverCode::Ok);
    EXPECT_EQ(contentOf(file), "\"čšž\";\"1\"\n");
}

TEST_F(TextFile, ReadOnlyFileRefusesChangesAndPositionsFindTheirLines) {
    open("a;1\r\nb;2\r\nc;3\r\n", AccessMode::ReadOnly);
    ASSERT_EQ(capture->setToStart(kFileOrder), DriverCode::Ok);
    ASSERT_EQ(capture->next(), DriverCode::Ok);
    ASSERT_EQ(capture->next(), DriverCode::Ok);
    EXPECT_EQ(capture->put(), DriverCode::AccessDenied);
    EXPECT_EQ(capture->add(), DriverCode::AccessDenied);
    const DriverPosition position = capture->position();
    ASSERT_EQ(capture->next(), DriverCode::Ok);
    ASSERT_EQ(capture->reset(position), DriverCode::Ok);
    ASSERT_EQ(capture->previous(), DriverCode::Ok);
    EXPECT_EQ(record.EANKODA.str(), "b");
    EXPECT_EQ(capture->bytes(), 15);
    EXPECT_EQ(capture->get(0), DriverCode::DriverError);
}

}  // namespace
}  // namespace dv::test
