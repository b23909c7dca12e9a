#include "FormTestSupport.h"

#include <sqlite3.h>

#include "data/ProgramDirectory.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"
#include "runtime/ErrorState.h"
#include "runtime/TextCase.h"
#include "schema/Records.h"

namespace dv::test {
namespace fs = std::filesystem;

// ---- FormFrontEnd

FormFrontEnd::~FormFrontEnd() {
    setCurrentFrontEnd(previous_);
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " message box answer(s) not used";
    EXPECT_TRUE(dates_.empty()) << dates_.size() << " date answer(s) not used";
}

MessageButtons FormFrontEnd::messageBox(const MessageBoxRequest& request) {
    boxes_.push_back(request);
    if (answers_.empty() && answerOkByDefault && (request.buttons & kButtonOk) != 0)
        return kButtonOk;
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box: " << request.caption << ": " << request.text;
        return request.defaultButton;
    }
    const MessageButtons pressed = answers_.front();
    answers_.pop_front();
    EXPECT_NE(request.buttons & pressed, 0u)
        << "answer " << pressed << " is not a button of " << request.caption;
    return pressed;
}

std::optional<DayNumber> FormFrontEnd::pickDate(const DatePickerRequest& request) {
    pickers_.push_back(request);
    if (dates_.empty()) {
        ADD_FAILURE() << "unexpected date picker " << request.caption;
        return std::nullopt;
    }
    const std::optional<DayNumber> day = dates_.front();
    dates_.pop_front();
    return day;
}

std::vector<std::string> FormFrontEnd::shown() const {
    std::vector<std::string> out;
    for (const MessageBoxRequest& box : boxes_) out.push_back(box.caption + ": " + box.text);
    return out;
}

// ---- FormTest

FormTest::FormTest() {
    const fs::path data = root.path() / "data";
    fs::create_directory(data);
    for (const TableFile& table : tableFiles()) {
        const fs::path name = hostPath(lowerSlovenian(table.builtInName));
        setTableFileName(table.table, (data / name).lexically_normal().string());
    }
    clearAllRecordBuffers();
    clearLastError();
    CallerRequest = Request::None;
    CallerResponse = Response::None;
    CallerVcrRequest = 0;
    previousHalt_ = setHaltHandler([](int code, std::string_view message) {
        throw ProgramHalted{code, std::string(message)};
    });
    EXPECT_TRUE(settings.open(root.path()).ok());
    access_ = std::make_unique<TableAccess>(&errors);
    scheduler.desktop().setImmediateTimers(true);
}

FormTest::~FormTest() {
    scheduler.shutdown();
    access_.reset();
    setHaltHandler(previousHalt_);
    resetTableFileNames();
    clearAllRecordBuffers();
    clearLastError();
    CallerVcrRequest = 0;
}

void FormTest::start(std::function<Response()> body) {
    scheduler.start("Test", std::move(body));
    run();
}

void FormTest::startForm(Request request, const TestFormOptions& options) {
    start(
        [this, request, options] { return callTestUnitForm(request, errors, &settings, options); });
}

void FormTest::run() {
    ASSERT_TRUE(scheduler.runUntilIdle());
}

Window& FormTest::window() {
    Window* focused = scheduler.desktop().focused();
    if (focused == nullptr) throw std::logic_error("no window is open");
    return *focused;
}

std::string FormTest::focusName() {
    const Control* focus = window().focused();
    return focus ? focus->name() : std::string();
}

void FormTest::type(std::string_view name, const std::string& text) {
    Control& target = control(name);
    InputResult result = focusControl(window(), target);
    ASSERT_TRUE(result.ok()) << result.refusal;
    result = typeInto(window(), target, text);
    ASSERT_TRUE(result.ok()) << result.refusal;
    pressKey(window(), keys::Tab);
    run();
}

void FormTest::press(std::string_view name) {
    const InputResult result = pressControl(window(), control(name));
    ASSERT_TRUE(result.ok()) << result.refusal;
    run();
}

void FormTest::key(KeyCode pressed) {
    const InputResult result = pressKey(window(), pressed);
    ASSERT_TRUE(result.ok()) << result.refusal;
    run();
}

void FormTest::closeBox() {
    clickCloseBox(window());
    run();
}

void FormTest::pressToolbar(int control) {
    window().post(EventKind::Accepted, control);
    run();
}

std::vector<Response> FormTest::ended() {
    std::vector<Response> responses;
    for (const ProcedureEnd& end : scheduler.takeEnded()) {
        EXPECT_FALSE(end.failed) << end.failure;
        responses.push_back(end.response);
    }
    return responses;
}

void FormTest::addUnit(int code, std::string_view name, std::string_view kind) {
    FileManager& file = access_->file("SFENOTE");
    ASSERT_EQ(file.Open(), kLevelBenign);
    ASSERT_EQ(file.UseFile(), kLevelBenign);
    clearRecord(file.table(), &SFENOTE);
    SFENOTE.Enota = static_cast<std::uint16_t>(code);
    SFENOTE.Naziv = name;
    SFENOTE.TIP = kind;
    EXPECT_EQ(file.driver()->add(), DriverCode::Ok) << file.driver()->lastError().text;
    file.Close();
    clearRecord(file.table(), &SFENOTE);
}

std::vector<std::string> FormTest::units() {
    std::vector<std::string> rows;
    const fs::path database = root.path() / "data" / DatabaseOptions{}.fileName;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, "SELECT ENOTA, NAZIV, TIP FROM SFENOTE ORDER BY ENOTA", -1, &query,
                       nullptr);
    while (query != nullptr && sqlite3_step(query) == SQLITE_ROW) {
        std::string row = std::to_string(sqlite3_column_int(query, 0));
        for (int column : {1, 2}) {
            const unsigned char* text = sqlite3_column_text(query, column);
            row += " " + std::string(text ? reinterpret_cast<const char*>(text) : "");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    return rows;
}

}  // namespace dv::test
