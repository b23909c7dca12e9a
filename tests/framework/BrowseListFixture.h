#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BrowseTestSupport.h"
#include "runtime/WindowInput.h"

namespace dv::test {

constexpr int kPrimaryKey = 0;  // stocktake, unit, kind, EAN
constexpr int kNameKey = 2;     // stocktake, unit, kind, name (no case)
enum Field : int { Stocktake = 0, Unit = 1, Kind = 2, Ean = 3, Group = 4, Name = 5, Done = 11 };

inline std::string numbered(const char* prefix, int n) {
    return prefix + std::string(n < 10 ? "0" : "") + std::to_string(n);
}

class BrowseListTest : public ::testing::Test {
  public:
    struct Call {
        Request request;
        std::string name;
        int stocktake;
    };

  protected:
    void SetUp() override { ASSERT_EQ(lines.Open(), kLevelBenign); }
    void TearDown() override {
        list.reset();
        view.Close();
        lines.Close();
    }

    void addProducts(int stocktake, int count, const char* prefix = "Izdelek ") {
        for (int n = 1; n <= count; ++n)
            ASSERT_TRUE(addLine(lines, {stocktake, numbered("1", n) + std::to_string(stocktake),
                                        numbered(prefix, n), n}));
    }

    // The list of one stocktake's lines, by name (order 1, incremental locator) and by EAN
    // (order 2), five rows a page.
    void open(Request request, int stocktake = 1,
              const std::function<void(BrowseList&)>& more = {}) {
        list.reset();
        host = std::make_unique<TestBrowseHost>(browseLayout(), request);
        if (!view.opened()) {
            ASSERT_EQ(view.Open(), kLevelBenign);
        }
        list = std::make_unique<BrowseList>();
        list->SetUp(*host, view, "Seznam");
        const auto range = [stocktake] {
            return std::vector<RangeField>{
                {Stocktake, fixedValue(ExpressionValue::number(stocktake)), {}},
                {Unit, fixedValue(ExpressionValue::number(1)), {}},
                {Kind, fixedValue(ExpressionValue::text("M")), {}}};
        };
        list->DefineOrder(kNameKey);
        list->LimitOrder(LimitType::SingleValue, range());
        list->AttachLocator(LocatorKind::Incremental, "Lokator");
        list->DefineOrder(kPrimaryKey);
        list->LimitOrder(LimitType::SingleValue, range());
        const TableDef& table = lines.table();
        list->MapColumn(table, Ean, 1);
        list->MapColumn(table, Name, 2);
        list->MapColumn(table, Group, 3);
        list->SetControls({"Dodaj", "Spremeni", "Brisi", "Poglej", "Izberi", "", "", "", ""});
        list->SetSheet("Zavihki");
        list->SetAskProcedure([this] { return form(); });
        list->options().itemsToFill = 5;
        if (more) more(*list);
        list->Init();
    }

    // The form: records how it was called, saves or deletes as asked, and leaves the toolbar
    // navigation queued for it.
    Response form() {
        const Request request = CallerRequest;
        CallerRequest = Request::None;
        calls.push_back({request, INVENDET.Naziv.str(), INVENDET.StevInventure});
        Response response = RespCancelled;
        if (request == ReqInsert) {
            INVENDET.EAN = "9" + std::to_string(calls.size());
            INVENDET.Naziv = numbered("Nov ", static_cast<int>(calls.size()));
            response = lines.Insert() == kLevelBenign ? RespCompleted : RespCancelled;
        } else if (request == ReqChange) {
            INVENDET.Skupina = static_cast<std::uint16_t>(INVENDET.Skupina + 100);
            response = lines.Update() == kLevelBenign ? RespCompleted : RespCancelled;
        } else if (request == ReqDelete) {
            response = lines.Remove() == kLevelBenign ? RespCompleted : RespCancelled;
        }
        if (!navigation.empty()) {
            CallerVcrRequest = navigation.front();
            navigation.pop_front();
        }
        return response;
    }

    Window& window() { return host->window(); }
    Control& shown() { return window().control("Seznam"); }
    void key(KeyCode code) {
        pressKey(window(), code);
        pump(window(), *list);
    }
    void press(const char* button) {
        ASSERT_TRUE(pressControl(window(), window().control(button)).ok()) << button;
        pump(window(), *list);
    }
    std::vector<std::string> names() { return columnTexts(shown(), 2); }
    std::string highlightedName() { return shown().cell(shown().highlighted(), 2).text; }
    bool enabled(const char* button) { return window().control(button).isEnabled(); }
    bool visible(const char* button) { return window().control(button).isVisible(); }

    BrowseTables tables;
    FileManager& lines = tables.file("INVENDET");
    ViewManager view{lines};
    std::unique_ptr<TestBrowseHost> host;
    std::unique_ptr<BrowseList> list;
    std::vector<Call> calls;
    std::deque<std::int32_t> navigation;
};

inline std::vector<std::string> products(int from, int to) {
    std::vector<std::string> names;
    for (int n = from; n <= to; ++n) names.push_back(numbered("Izdelek ", n));
    return names;
}

}  // namespace dv::test
