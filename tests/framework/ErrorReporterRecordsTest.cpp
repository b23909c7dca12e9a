#include <filesystem>
#include <fstream>

#include "ErrorReporterTestSupport.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

class TemporaryDirectory {
  public:
    TemporaryDirectory() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() /
                ("dv-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TemporaryDirectory() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

std::vector<std::string> readLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::uint16_t> historyIds(const ErrorReporter& reporter) {
    std::vector<std::uint16_t> ids;
    for (const auto& entry : reporter.history().entries()) ids.push_back(entry.id);
    return ids;
}

TEST_F(ErrorReporterTest, HistoryKeepsAtMostTheThreshold) {
    reporter.setSilent(true);
    reporter.setHistoryThreshold(3);
    for (std::uint16_t id : {2, 6, 12, 22}) reporter.raise(id);
    EXPECT_EQ(historyIds(reporter), (std::vector<std::uint16_t>{6, 12, 22}));

    reporter.setHistoryThreshold(-1);
    for (int i = 0; i < 10; ++i) reporter.raise(22);
    EXPECT_EQ(reporter.history().entries().size(), 13u);

    reporter.setHistoryThreshold(0);
    reporter.raise(2);
    EXPECT_EQ(reporter.history().entries().size(), 13u);
}

TEST_F(ErrorReporterTest, HistoryModeShowsOnlyTheViewLevelInTheHistoryWindow) {
    reporter.setHistoryThreshold(10);
    reporter.setHistoryViewLevel(levelNumber(MsgNotify));
    reporter.setHistoryResetOnView(true);
    EXPECT_EQ(reporter.raise(8), kLevelBenign);  // a question is not shown: its default, Yes
    ui.answer(kButtonOk);
    EXPECT_EQ(reporter.raise(22), kLevelNotify);
    EXPECT_TRUE(ui.boxes().empty());
    ASSERT_EQ(ui.lists().size(), 1u);
    const MessageListRequest& window = ui.lists()[0];
    EXPECT_EQ(window.caption, "Errors History");
    ASSERT_EQ(window.rows.size(), 2u);
    EXPECT_EQ(window.rows[0].text, "Are you sure you want to cancel?");
    EXPECT_EQ(window.rows[1].text, "There are no records available to process.");
    EXPECT_EQ(window.rows[1].category, "QLX");
    EXPECT_EQ(window.buttons, kButtonOk);
    EXPECT_TRUE(reporter.history().entries().empty());

    reporter.raise(8);
    ui.answer(kButtonHelp);
    reporter.showHistory();
    ASSERT_EQ(ui.lists().size(), 2u);
    EXPECT_EQ(ui.lists()[1].buttons, kButtonOk | kButtonHelp);
    EXPECT_EQ(ui.lists()[1].defaultButton, kButtonOk);
    EXPECT_EQ(ui.lists()[1].rows.size(), 1u);
}

TEST_F(ErrorReporterTest, LogLinesOnlyWhenLoggingIsOn) {
    TemporaryDirectory directory;
    reporter.standardErrorLog().setDirectory(directory.path());
    fs::path log = directory.path() / "QLXError.Log";
    reporter.setSilent(true);
    reporter.raise(22);
    EXPECT_FALSE(fs::exists(log));

    reporter.setLogErrors(true);
    setFixedToday(dayNumber(2025, 1, 31));
    setFixedNow(timeValue(9, 5, 7));
    reporter.quoteFile("ARTIKLI");
    reporter.raise(2);
    reporter.askWithButtons(35, kButtonYes | kButtonNo, kButtonNo);  // never logged
    EXPECT_THROW(reporter.raise(39), HaltRequested);
    setFixedToday(0);
    setFixedNow(0);
    std::vector<std::string> lines = readLines(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "31.01.2025@09:05:07 --> Could not get write access to ARTIKLI so trying read-only.");
    EXPECT_EQ(lines[1],
              "31.01.2025@09:05:07 --> Attempt to use file (ARTIKLI) before it was opened  "
              "Press OK to end this application");
}

TEST_F(ErrorReporterTest, LogFailureIsIgnored) {
    TemporaryDirectory directory;
    reporter.standardErrorLog().setDirectory(directory.path() / "missing");
    reporter.setLogErrors(true);
    ui.answer(kButtonOk);
    EXPECT_EQ(reporter.raise(22), kLevelNotify);
    EXPECT_EQ(ui.boxes().size(), 1u);
}

TEST(ErrorLog, LineFormatAndOpenCount) {
    EXPECT_EQ(errorLogLine(dayNumber(2024, 3, 5), timeValue(7, 8, 9, 50), "x"),
              "05.03.2024@07:08:09 --> x");

    fs::path directory = fs::temp_directory_path() / ("dv-log-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    {
        StandardErrorLog log(directory);
        EXPECT_EQ(log.write("closed"), kLogFailed);
        EXPECT_EQ(log.open(), kLogDone);
        EXPECT_EQ(log.open(), kLogDone);
        EXPECT_EQ(log.close(), kLogDone);
        EXPECT_EQ(log.write(std::string(1100, 'a')), kLogDone);  // still open once
        EXPECT_EQ(log.close(), kLogDone);
        EXPECT_EQ(log.write("after"), kLogFailed);
        EXPECT_EQ(log.close(), kLogFailed);
    }
    std::vector<std::string> lines = readLines(directory / "QLXError.Log");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), StandardErrorLog::kMaxLogLineLength);
    fs::remove_all(directory);
}

}  // namespace
}  // namespace dv::test
