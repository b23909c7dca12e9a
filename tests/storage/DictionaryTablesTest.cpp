#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <tuple>

#include "StorageTestSupport.h"
#include "data/Dictionary.h"
#include "data/FieldAccess.h"
#include "data/RecordBuffers.h"
#include "schema/Records.h"
#include "storage/TableDrivers.h"
#include "storage/TextFileTable.h"

namespace dv::test {
namespace {

// A record buffer of any table, aligned for its members.
class RecordStorage {
  public:
    explicit RecordStorage(const TableDef& table)
        : words_((table.recordStructSize + sizeof(std::max_align_t) - 1) /
                 sizeof(std::max_align_t)) {}
    void* data() { return words_.data(); }

  private:
    std::vector<std::max_align_t> words_;
};

// A value for every element of every field, different per field and element.
std::int64_t numberFor(const FieldDef& field, int index, int element) {
    const std::int64_t seed = index * 37 + element * 5 + 1;
    switch (field.type) {
        case FieldType::Byte:
            return seed % 256;
        case FieldType::Short:
            return -(seed % 32768);
        case FieldType::UShort:
            return 65535 - seed;
        case FieldType::Long:
            return -seed * 1000;
        case FieldType::ULong:
            return 4000000000LL + seed;
        case FieldType::Date:
            return 80000 + seed;
        default:
            break;
    }
    std::int64_t limit = 1;
    for (int d = 0; d < field.digits; ++d) limit *= 10;
    return -(seed * 997 % limit);
}

std::string textFor(int index, int element) {
    return "F" + std::to_string(index) + "E" + std::to_string(element) + "\xE8\x8A";  // "čŠ"
}

template <typename Each>
void forEachElement(const TableDef& table, Each each) {
    for (std::size_t f = 0; f < table.fields.size(); ++f) {
        const FieldDef& field = table.fields[f];
        if (field.type == FieldType::Group) continue;
        for (int e = 0; e < field.dim; ++e) each(field, static_cast<int>(f), e);
    }
}

void fill(const TableDef& table, void* record) {
    forEachElement(table, [&](const FieldDef& field, int index, int element) {
        if (textWidth(field) > 0)
            writeText(record, field, textFor(index, element), element);
        else if (field.type == FieldType::Decimal)
            writeDecimalUnits(record, field, numberFor(field, index, element), element);
        else
            writeInteger(record, field, numberFor(field, index, element), element);
    });
}

void expectFilled(const TableDef& table, const void* record) {
    forEachElement(table, [&](const FieldDef& field, int index, int element) {
        SCOPED_TRACE(std::string(table.name) + ":" + std::string(field.name) + "[" +
                     std::to_string(element) + "]");
        if (textWidth(field) > 0) {
            const std::string expected = textFor(index, element).substr(0, textWidth(field));
            EXPECT_EQ(trimTrailingBlanks(readText(record, field, element)), expected);
        } else if (field.type == FieldType::Decimal) {
            EXPECT_EQ(readDecimalUnits(record, field, element), numberFor(field, index, element));
        } else {
            EXPECT_EQ(readInteger(record, field, element), numberFor(field, index, element));
        }
    });
}

TEST(DictionaryTables, EveryTableKeepsEveryFieldAndReadsInEveryKeyOrder) {
    TempDirectory directory;
    SqliteDatabase db;
    for (const TableDef& table : dictionary()) {
        SCOPED_TRACE(std::string(table.name));
        RecordStorage storage(table);
        auto driver = makeTableDriver(db, table, directory / (std::string(table.name) + ".TPS"));
        driver->setRecord(storage.data());
        if (isTextFileTable(table)) {
            EXPECT_NE(dynamic_cast<TextFileTable*>(driver.get()), nullptr);
            continue;
        }
        ASSERT_EQ(driver->create(), DriverCode::Ok) << driver->lastError().text;
        ASSERT_EQ(driver->open(AccessMode::ReadWrite), DriverCode::Ok) << driver->lastError().text;
        fill(table, storage.data());
        ASSERT_EQ(driver->add(), DriverCode::Ok) << driver->lastError().text;
        const bool hasUniqueKey = std::any_of(table.keys.begin(), table.keys.end(),
                                              [](const KeyDef& k) { return k.unique; });
        EXPECT_EQ(driver->add(), hasUniqueKey ? DriverCode::DuplicateKey : DriverCode::Ok);
        clearRecord(table, storage.data());
        ASSERT_EQ(driver->setToStart(kFileOrder), DriverCode::Ok);
        ASSERT_EQ(driver->next(), DriverCode::Ok);
        expectFilled(table, storage.data());
        for (std::size_t k = 0; k < table.keys.size(); ++k) {
            const int key = static_cast<int>(k);
            ASSERT_EQ(driver->get(key), DriverCode::Ok) << table.keys[k].name;
            ASSERT_EQ(driver->setToStart(key), DriverCode::Ok);
            ASSERT_EQ(driver->next(), DriverCode::Ok) << table.keys[k].name;
            ASSERT_EQ(driver->setToEnd(key), DriverCode::Ok);
            ASSERT_EQ(driver->previous(), DriverCode::Ok) << table.keys[k].name;
        }
        expectFilled(table, storage.data());
    }
}

TEST(DictionaryTables, StocktakeLinesByNumberAndByNameWithinAStocktake) {
    TempDirectory directory;
    SqliteDatabase db;
    const TableDef& table = *findTable("INVENDET");
    SqliteTable lines(db, table, directory / "INVENDET.TPS");
    ASSERT_EQ(lines.create(), DriverCode::Ok);
    ASSERT_EQ(lines.open(AccessMode::ReadWrite), DriverCode::Ok);
    const int byNumber = table.findKey("STEVSIFRAKLJUC");
    const int byName = table.findKey("STEVNAZIVKLJUC");
    ASSERT_GE(byNumber, 0);
    ASSERT_GE(byName, 0);
    struct Line {
        int stocktake;
        const char* ean;
        const char* name;
    };
    for (const Line& line :
         {Line{2, "0003", "Čokolada"}, Line{1, "0002", "cvetača"}, Line{1, "0001", "Čaj"},
          Line{1, "0004", "banana"}, Line{1, "0005", "CVET"}}) {
        clearRecord(table, &INVENDET);
        INVENDET.StevInventure = static_cast<std::uint16_t>(line.stocktake);
        INVENDET.Enota = 3;
        INVENDET.VrstaProdaje = "M";
        INVENDET.EAN = line.ean;
        INVENDET.Naziv = line.name;
        INVENDET.PopisanaZaloga = Decimal::parse("12.5").value();
        ASSERT_EQ(lines.add(), DriverCode::Ok) << lines.lastError().text;
    }
    clearRecord(table, &INVENDET);
    INVENDET.StevInventure = 1;
    INVENDET.Enota = 3;
    INVENDET.VrstaProdaje = "M";
    INVENDET.EAN = "0002";
    ASSERT_EQ(lines.get(byNumber), DriverCode::Ok);
    EXPECT_EQ(INVENDET.Naziv.str(), "cvetača");
    EXPECT_EQ(INVENDET.PopisanaZaloga.units(), 12500);

    INVENDET.Naziv.clear();
    ASSERT_EQ(lines.set(byName), DriverCode::Ok);
    std::vector<std::string> names;
    while (lines.next() == DriverCode::Ok && INVENDET.StevInventure == 1)
        names.push_back(INVENDET.Naziv.str());
    EXPECT_EQ(names, (std::vector<std::string>{"banana", "CVET", "cvetača", "Čaj"}));
}

TEST(DictionaryTables, DocumentLinesFollowTheirUnitDocumentAndLineNumber) {
    TempDirectory directory;
    SqliteDatabase db;
    const TableDef& table = *findTable("DOKPROME");
    SqliteTable lines(db, table, directory / "DOKPROME.TPS");
    ASSERT_EQ(lines.create(), DriverCode::Ok);
    ASSERT_EQ(lines.open(AccessMode::ReadWrite), DriverCode::Ok);
    std::vector<std::tuple<int, int, int>> added;
    for (int i = 0; i < 200; ++i) {
        clearRecord(table, &DOKPROME);
        DOKPROME.VRSTAPRODAJE = "M";
        DOKPROME.OZNAKADOKUMENTA = "P";
        DOKPROME.ENOTA = static_cast<std::uint16_t>(i % 3);
        DOKPROME.STEVILKADOKUMENTA = (i * 7) % 11;
        DOKPROME.POSTAVKADOKUMENTA = static_cast<std::uint16_t>(i);
        ASSERT_EQ(lines.add(), DriverCode::Ok) << lines.lastError().text;
        added.emplace_back(DOKPROME.ENOTA, DOKPROME.STEVILKADOKUMENTA, DOKPROME.POSTAVKADOKUMENTA);
    }
    std::sort(added.begin(), added.end());
    const int key = table.findKey("ENOTADOKUMENTPOSTAVKAKLJUC");
    ASSERT_EQ(lines.setToStart(key), DriverCode::Ok);
    std::vector<std::tuple<int, int, int>> read;
    while (lines.next() == DriverCode::Ok)
        read.emplace_back(DOKPROME.ENOTA, DOKPROME.STEVILKADOKUMENTA, DOKPROME.POSTAVKADOKUMENTA);
    EXPECT_EQ(read, added);
}

}  // namespace
}  // namespace dv::test
