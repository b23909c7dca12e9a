#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "PostingModel.h"
#include "storage/SqliteDatabase.h"
#include "support/TestEngine.h"

namespace dv::test {
namespace {

// A posting that does not complete leaves every table as it was and the stocktake open; posted
// again, it gives what an undisturbed posting gives (the model of the randomized test).
class PostingSafety : public PostingFixture {
  protected:
    PostingSafety() : rows(randomRows(2000, 7)) {
        addStocktake(21, 5, "M");
        writeRows(*this, key, rows);
    }

    void expectUntouched(const std::string& before) {
        EXPECT_EQ(dumpTables(), before);
        EXPECT_EQ(sql("SELECT DATUMZAKLJUCKA FROM INVENTUR"), "0");
    }

    void expectSaidSo() {
        EXPECT_EQ(lastMessage(),
                  " Knjiženje inventurnih razlik za inventuro št. 21 ni bilo izvedeno.|| "
                  "Dokumenti, postavke in zaloge so ostali nespremenjeni,| inventura ostaja "
                  "odprta.|");
    }

    void expectPostedAfterwards() {
        messages.clear();
        ASSERT_TRUE(post(key)) << lastMessage();
        expectModel(*this, rows);
        EXPECT_EQ(sql("SELECT COUNT(*), MIN(ID), MAX(ID) FROM DOKUMENT"), "2|1|2");
        EXPECT_EQ(sql("SELECT DATUMZAKLJUCKA, DOKUMENTMANJKOV FROM INVENTUR"), "81527|21");
    }

    const StocktakeKey key{21, 5, "M"};
    const std::vector<ModelRow> rows;
};

TEST_F(PostingSafety, CancelInTheMiddleKeepsNothing) {
    const std::string before = dumpTables();
    EXPECT_FALSE(post(key, dayNumber(2024, 3, 10), 1000));
    expectUntouched(before);
    expectSaidSo();
    expectPostedAfterwards();
}

TEST_F(PostingSafety, AProgramKilledInTheMiddleKeepsNothing) {
    const std::string before = dumpTables();
    // The connection is closed before the fork, so that only the child holds one while it
    // posts; it is killed with the transaction open, half the template posted.
    tables.reset();
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const std::unique_ptr<TableAccess> made = testTableAccess(&errors);
        TableAccess& access = *made;
        StocktakePosting posting(key, dayNumber(2024, 3, 10), "", [](const MessageBoxRequest&) {});
        TableGuard guard;
        if (!posting.Open() || !posting.Start() ||
            guard.open(access.file("INVENDET")) != kLevelBenign)
            _exit(3);
        StocktakeLines lines(access.file("INVENDET"), key);
        if (lines.restart() != kLevelBenign) _exit(4);
        for (int done = 0; lines.next() == ReadResult::Record && done < 1000; ++done)
            if (!posting.PostRow()) _exit(5);
        raise(SIGKILL);
        _exit(6);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended with " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    tables = testTableAccess(&errors);
    expectUntouched(before);
    expectPostedAfterwards();
}

// Sets the page limit of every database of the connection (0: as many pages as they have now,
// plus `extra`).
void limitPages(TableAccess& access, int extra) {
    sqlite3* db = access.sqliteDatabase()->handle();
    std::vector<std::string> schemas;
    sqlite3_exec(
        db, "PRAGMA database_list",
        [](void* names, int, char** values, char**) {
            static_cast<std::vector<std::string>*>(names)->push_back(values[1]);
            return 0;
        },
        &schemas, nullptr);
    for (const std::string& schema : schemas) {
        std::string pages;
        sqlite3_exec(
            db, ("PRAGMA \"" + schema + "\".page_count").c_str(),
            [](void* out, int, char** values, char**) {
                *static_cast<std::string*>(out) = values[0];
                return 0;
            },
            &pages, nullptr);
        const long limit = extra < 0 ? 1073741823 : std::stol(pages) + extra;
        sqlite3_exec(db, ("PRAGMA \"" + schema + "\".max_page_count = " + std::to_string(limit)).c_str(),
                     nullptr, nullptr, nullptr);
    }
}

TEST_F(PostingSafety, AFullDiskHalfwayKeepsNothingAndSaysSo) {
    DV_EMBEDDED_ONLY("the full disk is a page limit of the database file; on the server a lost connection fails the posting halfway");
    const std::string before = dumpTables();
    limitPages(*tables, 8);
    EXPECT_FALSE(post(key));
    ASSERT_GE(messages.size(), 2u);
    // The failed write is reported as the posting has always reported it, then the outcome.
    const std::string failure = messages[messages.size() - 2].text;
    EXPECT_TRUE(failure.find("Postavke dokumenta") != std::string::npos ||
                failure.find("ažuriranju zaloge") != std::string::npos)
        << failure;
    expectSaidSo();
    limitPages(*tables, -1);
    expectUntouched(before);
    expectPostedAfterwards();
}

// The server goes away halfway through the stock updates: the posting says that the
// connection was lost and that nothing was posted; the transaction ended with the connection,
// so that every table is as it was, and the next posting (on a connection made anew) does all.
TEST_F(PostingSafety, AConnectionLostHalfwayKeepsNothingAndSaysSo) {
    if (!testsOnServer()) GTEST_SKIP() << "a server's connection";
    const std::string before = dumpTables();
    const std::string schema = serverSchema(*tables, directory.path());
    cutConnectionAfter(schema, "zaloga", 300);
    EXPECT_FALSE(post(key));
    serverConnectionsKeep(schema, "zaloga");
    ASSERT_GE(messages.size(), 2u);
    std::string said;
    for (const auto& message : messages) said += message.text + "\n";
    EXPECT_NE(said.find("Povezava s strežnikom zbirke podatkov je bila prekinjena"), std::string::npos)
        << said;
    expectSaidSo();
    expectUntouched(before);
    expectPostedAfterwards();
}

}  // namespace
}  // namespace dv::test
