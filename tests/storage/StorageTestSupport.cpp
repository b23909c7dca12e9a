#include "StorageTestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>

#include "data/FieldAccess.h"
#include "runtime/TextCase.h"
#include "storage/SlovenianCollation.h"

namespace dv::test {
namespace fs = std::filesystem;

TempDirectory::TempDirectory() {
    std::string pattern = (fs::temp_directory_path() / "dv-storage-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

namespace {

constexpr FieldDef field(std::string_view name, FieldType type, std::uint16_t size,
                         std::size_t memberOffset, std::uint8_t digits = 0, std::uint8_t places = 0,
                         std::uint16_t dim = 1) {
    return FieldDef{name, type, size, digits, places, dim, 0, 0, memberOffset};
}

#define PEOPLE_FIELDS(Record)                                                   \
    field("Code", FieldType::String, 8, offsetof(Record, Code)),                \
        field("Name", FieldType::String, 20, offsetof(Record, Name)),           \
        field("Number", FieldType::Long, 4, offsetof(Record, Number)),          \
        field("Amount", FieldType::Decimal, 5, offsetof(Record, Amount), 9, 3), \
        field("Day", FieldType::Date, 4, offsetof(Record, Day)),                \
        field("Counts", FieldType::UShort, 2, offsetof(Record, Counts), 0, 0, 3)

const std::array peopleFields{PEOPLE_FIELDS(PersonRecord)};
const std::array peopleFieldsV2{
    PEOPLE_FIELDS(PersonRecordV2),
    field("Note", FieldType::String, 10, offsetof(PersonRecordV2, Note))};
std::array peopleFieldsIncompatible{PEOPLE_FIELDS(PersonRecord)};

const std::array codeComponents{KeyComponent{0, true}};
const std::array nameComponents{KeyComponent{1, true}};
const std::array numberComponents{KeyComponent{2, true}, KeyComponent{4, false}};
const std::array noteComponents{KeyComponent{6, true}};

const std::array peopleKeys{
    KeyDef{"CODEKEY", codeComponents, true, true, false, -1, "PO SIFRI"},
    KeyDef{"NAMEKEY", nameComponents, false, false, true, -1, " PO IMENU"},
    KeyDef{"NUMBERKEY", numberComponents, false, false, false, -1, "PO STEVILKI"},
};
const std::array peopleKeysV2{
    peopleKeys[0],
    peopleKeys[1],
    peopleKeys[2],
    KeyDef{"NOTEKEY", noteComponents, false, false, false, -1, "PO OPOMBI"},
};

const TableFile peopleFile{"PEOPLE", "Glo:PEOPLE", "PEOPLE.TPS", 1};
const TableFile peopleFileV2{"PEOPLE", "Glo:PEOPLE", "PEOPLE.TPS", 2};
const TableFile companyFile{"COMPANY", "Glo:COMPANY", "..\\COMPANY.TPS", 1};

PersonRecord peopleBuffer;
PersonRecordV2 peopleBufferV2;
PersonRecord companyBuffer;

TableDef makePeople(std::string_view name, const TableFile* file, std::span<const FieldDef> fields,
                    std::span<const KeyDef> keys, std::size_t size, void* buffer) {
    return TableDef{name, name, file, 0, size, fields, keys, {}, {}, buffer};
}

}  // namespace

const TableDef& peopleTable() {
    static const TableDef table = makePeople("PEOPLE", &peopleFile, peopleFields, peopleKeys,
                                             sizeof(PersonRecord), &peopleBuffer);
    return table;
}

const TableDef& peopleTableV2() {
    static const TableDef table = makePeople("PEOPLE", &peopleFileV2, peopleFieldsV2, peopleKeysV2,
                                             sizeof(PersonRecordV2), &peopleBufferV2);
    return table;
}

const TableDef& peopleTableIncompatible() {
    peopleFieldsIncompatible[3].places = 2;
    static const TableDef table = makePeople("PEOPLE", &peopleFileV2, peopleFieldsIncompatible,
                                             peopleKeys, sizeof(PersonRecord), &peopleBuffer);
    return table;
}

const TableDef& companyTable() {
    static const TableDef table = makePeople("COMPANY", &companyFile, peopleFields, peopleKeys,
                                             sizeof(PersonRecord), &companyBuffer);
    return table;
}

PersonRecord person(std::string_view code, std::string_view name, int number, int day) {
    PersonRecord record{};
    record.Code = code;
    record.Name = name;
    record.Number = number;
    record.Day = day;
    return record;
}

std::unique_ptr<SqliteTable> openTable(SqlConnection& db, const TableDef& table,
                                       const fs::path& directory, void* buffer) {
    auto driver = std::make_unique<SqliteTable>(db, table, directory / table.file->builtInName);
    if (buffer != nullptr) driver->setRecord(buffer);
    DriverCode code = driver->open(AccessMode::ReadWrite);
    if (code == DriverCode::FileNotFound) {
        EXPECT_EQ(driver->create(), DriverCode::Ok) << driver->lastError().text;
        code = driver->open(AccessMode::ReadWrite);
    }
    EXPECT_EQ(code, DriverCode::Ok) << driver->lastError().text;
    return driver;
}

void addAll(SqliteTable& driver, const std::vector<PersonRecord>& people) {
    for (const PersonRecord& record : people) {
        *static_cast<PersonRecord*>(driver.record()) = record;
        ASSERT_EQ(driver.add(), DriverCode::Ok) << driver.lastError().text;
    }
}

std::vector<std::string> readCodes(SqliteTable& driver, bool forward) {
    std::vector<std::string> codes;
    while ((forward ? driver.next() : driver.previous()) == DriverCode::Ok)
        codes.push_back(static_cast<PersonRecord*>(driver.record())->Code.str());
    EXPECT_EQ(driver.lastError().code, DriverCode::NoMoreRecords) << driver.lastError().text;
    return codes;
}

std::vector<std::string> codesInOrder(SqliteTable& driver, int key, bool forward) {
    EXPECT_EQ(forward ? driver.setToStart(key) : driver.setToEnd(key), DriverCode::Ok);
    return readCodes(driver, forward);
}

RawDatabase::RawDatabase(const fs::path& file) {
    sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db_, 2000);
    registerSlovenianCollation(db_);
}

RawDatabase::~RawDatabase() {
    sqlite3_close(db_);
}

int RawDatabase::exec(const std::string& sql) {
    return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
}

std::string RawDatabase::scalar(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    std::string result;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) != nullptr)
        result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    return result;
}

int runWithoutPrivileges(const std::function<int()>& work) {
    if (::geteuid() != 0) return work();
    const pid_t child = ::fork();
    if (child == 0) {
        const int dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0 ? work() : 99;
        ::_exit(dropped);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

}  // namespace dv::test
