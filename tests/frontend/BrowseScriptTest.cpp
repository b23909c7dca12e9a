#include <gtest/gtest.h>

#include <memory>

#include "TempDirectory.h"
#include "data/RecordBuffers.h"
#include "data/TableFileNames.h"
#include "data/TableFiles.h"
#include "framework/BrowseColumns.h"
#include "framework/BrowseList.h"
#include "frontend/headless/HeadlessFrontEnd.h"
#include "frontend/headless/ScriptRunner.h"
#include "runtime/TextCase.h"
#include "schema/Records.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

// Records the messages raised; no script here expects one.
class QuietRaiser : public MessageRaiser {
  public:
    QuietRaiser() : previous_(setCurrentMessageRaiser(this)) {}
    ~QuietRaiser() override { setCurrentMessageRaiser(previous_); }
    void quoteFile(std::string_view) override {}
    void quoteField(std::string_view) override {}
    void captureErrorState() override {}
    Level raise(std::uint16_t id) override {
        ids.push_back(id);
        return kLevelNotify;
    }
    Level raiseWithText(std::uint16_t id, std::string_view) override { return raise(id); }
    std::vector<std::uint16_t> ids;

  private:
    MessageRaiser* previous_;
};

const WindowLayout& listLayout() {
    static const WindowLayout layout = parseLayout(R"(window PregledPopisa "Pregled popisa"
  list ?Seznam paged
    column "EAN"
    column "Naziv"
  prompt "Išči:"
  entry ?Isci
  string ?Lokator
  button ?Dodaj "&Dodaj"
  button ?Spremeni "&Spremeni"
  button ?Brisi "&Briši"
  button ?Zapri "Zapri"
)",
                                                   "PregledPopisa.layout");
    return layout;
}

const WindowLayout& formLayout() {
    static const WindowLayout layout = parseLayout(R"(window UpdatePopis "Vrstica popisa"
  prompt "&Naziv:"
  entry ?Naziv
  button ?OK "&V redu" default
  button ?Preklici "&Prekliči"
)",
                                                   "UpdatePopis.layout");
    return layout;
}

// The window procedure around the list, as the program's browse windows are built.
class ListWindow : public BrowseHost {
  public:
    ListWindow() : window_(listLayout()), request_(CallerRequest) { CallerRequest = Request::None; }
    Window& window() override { return window_; }
    Request request() const override { return request_; }
    void finish(Response response) override {
        response_ = response;
        window_.post(EventKind::CloseWindow);
    }
    Response response() const override { return response_; }

  private:
    Window window_;
    Request request_;
    Response response_ = RespCancelled;
};

Response formProcedure(FileManager& lines) {
    const Request request = CallerRequest;
    CallerRequest = Request::None;
    Window window(formLayout());
    window.setCaption(request == ReqInsert ? "Dodajanje zapisa" : "Spreminjanje zapisa");
    window.control("Naziv").setValue(INVENDET.Naziv.str());
    for (;;) {
        const Event event = window.nextEvent();
        if (event.kind == EventKind::CloseWindow) return RespCancelled;
        if (event.kind == EventKind::Accepted &&
            event.control == window.control("Preklici").number())
            return RespCancelled;
        if (event.kind != EventKind::Accepted || event.control != window.control("OK").number())
            continue;
        INVENDET.Naziv = window.control("Naziv").value();
        if (request == ReqInsert) INVENDET.EAN = "9" + INVENDET.Naziv.str().substr(0, 3);
        const Level saved = request == ReqInsert ? lines.Insert() : lines.Update();
        if (saved == kLevelBenign) return RespCompleted;
    }
}

Response listProcedure(FileManager& lines) {
    ViewManager view(lines);
    if (view.Open() != kLevelBenign) return RespCancelled;
    ListWindow host;
    BrowseList list;
    list.SetUp(host, view, "Seznam");
    list.DefineOrder(2);  // by name within the stocktake
    list.LimitOrder(LimitType::SingleValue, {{0, fixedValue(ExpressionValue::number(1)), {}},
                                             {1, fixedValue(ExpressionValue::number(1)), {}},
                                             {2, fixedValue(ExpressionValue::text("M")), {}}});
    list.AttachLocator(LocatorKind::Incremental, "Lokator");
    list.DefineOrder(0);  // by EAN within the stocktake
    list.LimitOrder(LimitType::SingleValue, {{0, fixedValue(ExpressionValue::number(1)), {}},
                                             {1, fixedValue(ExpressionValue::number(1)), {}},
                                             {2, fixedValue(ExpressionValue::text("M")), {}}});
    list.AttachLocator(LocatorKind::Entry, "Isci");
    list.MapColumn(lines.table(), 3, 1);
    list.MapColumn(lines.table(), 5, 2);
    list.SetControls({"Dodaj", "Spremeni", "Brisi", "", "", "", "", "", ""});
    list.SetAskProcedure([&lines] { return formProcedure(lines); });
    list.options().itemsToFill = 4;
    BrowseColumns columns(list, nullptr, {});
    columns.AddColumn(1, &lines.table(), 3, 0);
    columns.AddColumn(2, &lines.table(), 5, 2);
    list.Init();
    Window& window = host.window();
    for (;;) {
        const Event event = window.nextEvent();
        if (event.kind == EventKind::CloseWindow ||
            (event.kind == EventKind::Accepted &&
             event.control == window.control("Zapri").number()))
            break;
        if (event.kind == EventKind::Accepted && event.control == window.control("Isci").number() &&
            list.currentOrder() != 2)
            list.ChooseOrder(2);
        list.TakeEvent(event);
    }
    list.Kill();
    view.Close();
    return host.response();
}

class BrowseScriptTest : public ::testing::Test {
  protected:
    BrowseScriptTest() : frontEnd(scheduler), runner(scheduler, frontEnd, procedures) {
        std::filesystem::create_directories(directory.path() / "data");
        for (const TableFile& table : tableFiles())
            setTableFileName(table.table, (directory.path() / "data" /
                                           std::string(lowerSlovenian(table.builtInName)))
                                              .string());
        clearAllRecordBuffers();
        access = std::make_unique<TableAccess>(&raiser);
        FileManager& lines = access->file("INVENDET");
        FileManager* shared = &lines;
        lines.Open();
        for (const auto& [ean, name] : {std::pair{"100", "Jabolka"},
                                        {"200", "Banane"},
                                        {"300", "Ananas"},
                                        {"400", "Hruške"},
                                        {"500", "Češnje"},
                                        {"600", "Cvetača"}}) {
            clearRecord(lines.table(), &INVENDET);
            INVENDET.StevInventure = 1;
            INVENDET.Enota = 1;
            INVENDET.VrstaProdaje = "M";
            INVENDET.EAN = ean;
            INVENDET.Naziv = name;
            EXPECT_EQ(lines.Insert(), Level::Benign);
        }
        lines.Close();
        procedures.add("PregledPopisa", [shared] { return listProcedure(*shared); });
    }
    ~BrowseScriptTest() override {
        scheduler.shutdown();
        access.reset();
        resetTableFileNames();
    }

    test::TempDirectory directory;
    QuietRaiser raiser;
    std::unique_ptr<TableAccess> access;
    ProcedureScheduler scheduler;
    HeadlessFrontEnd frontEnd;
    ProcedureRegistry procedures;
    ScriptRunner runner;
};

TEST_F(BrowseScriptTest, AScriptScrollsLocatesAndEditsThroughTheList) {
    const auto failure = runner.run(parseScript(R"(
start PregledPopisa
window "Pregled popisa"
expect ?Seznam rows 4
expect ?Seznam cell 1 2 "Ananas"
expect ?Seznam cell 3 2 "Cvetača"
focus ?Seznam
key End
expect ?Seznam rows 4
expect ?Seznam cell 4 2 "Jabolka"
expect ?Seznam text "100|Jabolka"
key Home
key C
key Shift+V
expect ?Lokator text "cV"
expect ?Seznam text "600|Cvetača"
key Backspace
expect ?Seznam text "600|Cvetača"
key Backspace
key H
expect ?Seznam text "400|Hruške"
row ?Seznam 1
expect ?Seznam text "600|Cvetača"
key Up
expect ?Seznam cell 1 2 "Banane"
expect ?Seznam text "200|Banane"
type ?Isci "5"
expect ?Seznam text "500|Češnje"
key Insert
window "Dodajanje zapisa"
type ?Naziv "Banane zelene"
press ?OK
window "Pregled popisa"
expect ?Seznam text "9Ban|Banane zelene"
expect ?Seznam focused
key Ctrl+Enter
window "Spreminjanje zapisa"
type ?Naziv "Banane zrele"
press ?OK
expect ?Seznam text "9Ban|Banane zrele"
press ?Zapri
idle
)"));
    ASSERT_FALSE(failure) << failure->report();
    EXPECT_TRUE(raiser.ids.empty());
}

}  // namespace
}  // namespace dv
