#include <gtest/gtest.h>

#include "StorageTestSupport.h"
#include "runtime/CodePage1250.h"

namespace dv::test {
namespace {

class SqliteText : public ::testing::Test {
  protected:
    TempDirectory directory;
    SqliteDatabase db;
    std::unique_ptr<SqliteTable> people = openTable(db, peopleTable(), directory.path());
    PersonRecord& buffer = *static_cast<PersonRecord*>(people->record());

    std::vector<std::string> namesInOrder(bool forward = true) {
        std::vector<std::string> names;
        EXPECT_EQ(forward ? people->setToStart(NameKey) : people->setToEnd(NameKey),
                  DriverCode::Ok);
        while ((forward ? people->next() : people->previous()) == DriverCode::Ok)
            names.push_back(buffer.Name.str());
        return names;
    }
};

TEST_F(SqliteText, NamesFollowTheSlovenianAlphabetWithoutRegardToCase) {
    const std::vector<std::string> names{"Žan",  "zala", "šola", "Sonja",  "čebula",
                                         "Cvet", "cilj", "Ana",  "Danica", "Čarli"};
    for (std::size_t i = 0; i < names.size(); ++i)
        addAll(*people, {person("N" + std::to_string(i), names[i])});
    EXPECT_EQ(namesInOrder(), (std::vector<std::string>{"Ana", "cilj", "Cvet", "Čarli", "čebula",
                                                        "Danica", "Sonja", "šola", "zala", "Žan"}));
    EXPECT_EQ(namesInOrder(false).front(), "Žan");
}

TEST_F(SqliteText, NameKeyFindsAndPlacesWithoutRegardToCase) {
    addAll(*people, {person("A", "čebula"), person("B", "Cvet"), person("C", "ČEBULA"),
                     person("D", "Danica")});
    buffer.Name = "ČeBuLa";
    ASSERT_EQ(people->get(NameKey), DriverCode::Ok);
    EXPECT_EQ(buffer.Code.str(), "A");  // the first of the equal names, in the order added
    buffer.Name = "ČE";
    ASSERT_EQ(people->set(NameKey), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    EXPECT_EQ(buffer.Code.str(), "A");
    ASSERT_EQ(people->next(), DriverCode::Ok);
    EXPECT_EQ(buffer.Code.str(), "C");
    // Codes compare exactly.
    addAll(*people, {person("abc")});
    buffer = person("ABC");
    EXPECT_EQ(people->get(CodeKey), DriverCode::NoMoreRecords);
    buffer = person("abc");
    EXPECT_EQ(people->get(CodeKey), DriverCode::Ok);
}

TEST_F(SqliteText, CodePageTextIsStoredAsUtf8AndReadBackUnchanged) {
    PersonRecord record = person("Š1");
    record.Name.setRaw(utf8ToCp1250("Škofja Loka čšž ČŠŽ"));
    addAll(*people, {record});
    const std::string storedRaw(record.Name.raw());
    RawDatabase raw(directory / "dideroviv.db");
    EXPECT_EQ(raw.scalar("SELECT NAME FROM PEOPLE"), "Škofja Loka čšž ČŠŽ");
    EXPECT_EQ(raw.scalar("SELECT CODE FROM PEOPLE"), "Š1");
    buffer = PersonRecord{};
    ASSERT_EQ(people->setToStart(kFileOrder), DriverCode::Ok);
    ASSERT_EQ(people->next(), DriverCode::Ok);
    EXPECT_EQ(std::string(buffer.Name.raw()), storedRaw);
    EXPECT_EQ(static_cast<unsigned char>(buffer.Code.raw()[0]), 0x8A);  // Š in code page 1250
    // Text written by another program with characters the code page lacks reads as '?'.
    ASSERT_EQ(raw.exec("UPDATE PEOPLE SET NAME='Ωmega'"), SQLITE_OK);
    ASSERT_EQ(people->reget(people->position()), DriverCode::Ok);
    EXPECT_EQ(buffer.Name.str(), "?mega");
}

}  // namespace
}  // namespace dv::test
