#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "StorageTestSupport.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

DatabaseOptions shortWait() {
    DatabaseOptions options;
    options.busyTimeoutMs = 200;
    return options;
}

void makePeople(const fs::path& directory, const std::vector<PersonRecord>& people) {
    SqliteDatabase db;
    auto table = openTable(db, peopleTable(), directory);
    addAll(*table, people);
}

TEST(SqliteAccess, ReadOnlyDirectoryOpensForReadingOnly) {
    TempDirectory root;
    fs::permissions(root.path(), fs::perms::all, fs::perm_options::replace);
    const fs::path data = root / "data";
    const fs::path empty = root / "empty";
    fs::create_directories(data);
    fs::create_directories(empty);
    makePeople(data, {person("A"), person("B")});
    fs::permissions(data / "dideroviv.db",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    for (const fs::path& directory : {data, empty})
        fs::permissions(directory, fs::perms::owner_read | fs::perms::owner_exec |
                                       fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
    const int failed = runWithoutPrivileges([&] {
        SqliteDatabase db(shortWait());
        PersonRecord buffer{};
        SqliteTable table(db, peopleTable(), data / "PEOPLE.TPS");
        table.setRecord(&buffer);
        if (table.open(AccessMode::ReadWrite) != DriverCode::AccessDenied) return 1;
        if (table.open(AccessMode::ReadOnly) != DriverCode::Ok) return 2;
        if (table.records() != 2) return 3;
        buffer = person("C");
        if (table.add() != DriverCode::AccessDenied) return 4;
        SqliteTable other(db, companyTable(), data / "OTHER.TPS");
        if (other.create() != DriverCode::AccessDenied) return 5;
        SqliteTable nowhere(db, peopleTable(), empty / "PEOPLE.TPS");
        if (nowhere.open(AccessMode::ReadWrite) != DriverCode::FileNotFound) return 6;
        if (nowhere.create() != DriverCode::AccessDenied) return 7;
        if (nowhere.lastError().text.find("read-only") == std::string::npos) return 8;
        return 0;
    });
    EXPECT_EQ(failed, 0);
}

TEST(SqliteAccess, DatabaseLockedByAnotherProgramIsRefusedAfterTheWait) {
    TempDirectory directory;
    makePeople(directory.path(), {person("A")});
    auto holder = std::make_unique<RawDatabase>(directory / "dideroviv.db");
    ASSERT_EQ(holder->exec("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; "
                           "UPDATE PEOPLE SET NUMBER=5"),
              SQLITE_OK);
    SqliteDatabase db(shortWait());
    SqliteTable table(db, peopleTable(), directory / "PEOPLE.TPS");
    const auto start = Clock::now();
    EXPECT_EQ(table.open(AccessMode::ReadWrite), DriverCode::AccessDenied);
    const auto waited = Clock::now() - start;
    EXPECT_NE(table.lastError().text.find("locked"), std::string::npos) << table.lastError().text;
    EXPECT_GE(waited, std::chrono::milliseconds(150));
    EXPECT_LT(waited, std::chrono::seconds(5));
    holder.reset();
    EXPECT_EQ(table.open(AccessMode::ReadWrite), DriverCode::Ok) << table.lastError().text;
    EXPECT_EQ(table.records(), 1);
}

TEST(SqliteAccess, WritingWhileAnotherProgramWritesReportsTheRecordHeld) {
    TempDirectory directory;
    SqliteDatabase db(shortWait());
    auto table = openTable(db, peopleTable(), directory.path());
    addAll(*table, {person("A")});
    RawDatabase other(directory / "dideroviv.db");
    ASSERT_EQ(other.exec("BEGIN IMMEDIATE"), SQLITE_OK);
    *static_cast<PersonRecord*>(table->record()) = person("B");
    EXPECT_EQ(table->add(), DriverCode::RecordHeld);
    EXPECT_NE(table->lastError().text.find("locked"), std::string::npos);
    EXPECT_EQ(table->beginTransaction(), DriverCode::RecordHeld);
    EXPECT_EQ(codesInOrder(*table, CodeKey), (std::vector<std::string>{"A"}));
    ASSERT_EQ(other.exec("ROLLBACK"), SQLITE_OK);
    *static_cast<PersonRecord*>(table->record()) = person("B");
    EXPECT_EQ(table->add(), DriverCode::Ok);
}

// The child adds, changes and deletes records of tables in two databases inside one
// transaction, says so through the pipe and waits to be killed.
[[noreturn]] void workUntilKilled(const fs::path& firm, int ready) {
    SqliteDatabase db;
    PersonRecord peopleBuffer{};
    PersonRecord companyBuffer{};
    SqliteTable people(db, peopleTable(), firm / "PEOPLE.TPS");
    SqliteTable company(db, companyTable(), firm / ".." / "COMPANY.TPS");
    people.setRecord(&peopleBuffer);
    company.setRecord(&companyBuffer);
    bool ok = people.open(AccessMode::ReadWrite) == DriverCode::Ok &&
              company.open(AccessMode::ReadWrite) == DriverCode::Ok;
    // A tiny page cache makes SQLite write the unfinished transaction into the WAL file.
    ok = ok && sqlite3_exec(db.handle(), "PRAGMA d1.cache_size=5; PRAGMA d2.cache_size=5", nullptr,
                            nullptr, nullptr) == SQLITE_OK;
    ok = ok && people.beginTransaction() == DriverCode::Ok;
    for (int i = 0; ok && i < 3000; ++i) {
        peopleBuffer = person("N" + std::to_string(i), "new", i);
        ok = people.add() == DriverCode::Ok;
    }
    peopleBuffer = person("A");
    ok = ok && people.get(CodeKey) == DriverCode::Ok;
    peopleBuffer.Name = "changed";
    ok = ok && people.put() == DriverCode::Ok;
    peopleBuffer = person("B");
    ok = ok && people.get(CodeKey) == DriverCode::Ok && people.remove() == DriverCode::Ok;
    for (int i = 0; ok && i < 500; ++i) {
        companyBuffer = person("K" + std::to_string(i));
        ok = company.add() == DriverCode::Ok;
    }
    const char signal = ok ? 'y' : 'n';
    if (::write(ready, &signal, 1) != 1) ::_exit(2);
    while (true) ::pause();
}

TEST(SqliteAccess, ProcessKilledInTheMiddleOfATransactionLeavesEveryTableAsBefore) {
    TempDirectory root;
    const fs::path firm = root / "firm";
    fs::create_directory(firm);
    {
        SqliteDatabase db;
        auto people = openTable(db, peopleTable(), firm);
        addAll(*people, {person("A", "Ana"), person("B", "Bor")});
        PersonRecord companyBuffer{};
        auto company = openTable(db, companyTable(), root.path(), &companyBuffer);
        addAll(*company, {person("C")});
    }
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeEnds[0]);
        workUntilKilled(firm, pipeEnds[1]);
    }
    ::close(pipeEnds[1]);
    char signal = 0;
    ASSERT_EQ(::read(pipeEnds[0], &signal, 1), 1);
    ::close(pipeEnds[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(signal, 'y') << "the child could not do its work";
    EXPECT_GT(fs::file_size(firm / "dideroviv.db-wal"), 0u);

    SqliteDatabase db;
    auto people = openTable(db, peopleTable(), firm);
    EXPECT_EQ(codesInOrder(*people, CodeKey), (std::vector<std::string>{"A", "B"}));
    auto& buffer = *static_cast<PersonRecord*>(people->record());
    buffer = person("A");
    ASSERT_EQ(people->get(CodeKey), DriverCode::Ok);
    EXPECT_EQ(buffer.Name.str(), "Ana");
    PersonRecord companyBuffer{};
    auto company = openTable(db, companyTable(), root.path(), &companyBuffer);
    EXPECT_EQ(codesInOrder(*company, CodeKey), (std::vector<std::string>{"C"}));
}

}  // namespace
}  // namespace dv::test
