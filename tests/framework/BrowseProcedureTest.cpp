#include <set>

#include "FormTestSupport.h"
#include "framework/BrowseProcedure.h"
#include "runtime/ProcedureRegistry.h"
#include "schema/Records.h"
#include "storage/ViewFields.h"

namespace dv::test {
namespace {

const WindowLayout& unitListLayout() {
    static const WindowLayout layout = parseLayout(R"(window TestUnitList " ENOTE"
  list ?Seznam paged
    column "Šifra" picture=@n3
    column "Naziv"
    column "Tip"
  string ?Lokator ""
  string ?Stanje ""
  button ?Izpis "Izpis"
  button ?Izberi "&Izberi"
  button ?Dodaj "&Dodaj"
  button ?Spremeni "&Spremeni"
  button ?Brisi "&Briši"
  button ?Zapri "Zapri"
)",
                                                   "TestUnitList.layout");
    return layout;
}

// A list of units in which the units of `guarded` may be viewed but not changed or deleted.
class TestUnitList final : public BrowseProcedure {
  public:
    TestUnitList(ErrorReporter& errors, SettingsManager* settings, std::set<int> guarded,
                 std::string form)
        : BrowseProcedure("TestUnitList", unitListLayout(), errors, settings, "SFENOTE", "Seznam"),
          guarded_(std::move(guarded)),
          form_(std::move(form)) {
        AddCallButton("Izpis", "TestListPrint", keys::F(5));
        AddEndButton("Zapri", RespCancelled);
    }

  protected:
    void DefineList() override {
        const TableDef& table = file().table();
        const int byCode = table.findKey("ENOTAKLJUC");
        list().DefineOrder(byCode);
        list().AttachLocator(LocatorKind::Incremental, "Lokator");
        AddColumn(1, "Enota", byCode);
        AddColumn(2, "Naziv", table.findKey("NAZIVKLJUC"));
        AddColumn(3, "TIP");
        list().SetControls({"Dodaj", "Spremeni", "Brisi", "", "Izberi", "", "", "", ""});
        list().options().itemsToFill = 4;
        list().options().selectWholeRecord = true;
        SetForm(form_);
    }
    bool MayAsk(Request request) const override {
        return request == ReqInsert || request == ReqView || !guardedRow();
    }
    void ShowHighlighted() override {
        window()->control("Stanje").setText(guardedRow() ? "zaščiten" : "");
    }

  private:
    bool guardedRow() const {
        const void* record = highlightedRecord();
        if (record == nullptr) return false;
        const TableDef& table = file().table();
        const auto unit = readFieldValue(table, table.findField("Enota"), record).toNumber();
        return guarded_.contains(static_cast<int>(unit.unitsAt(0)));
    }

    std::set<int> guarded_;
    std::string form_;
};

struct FormCall {
    Request request;
    int unit;
    friend bool operator==(const FormCall&, const FormCall&) = default;
};

class BrowseProcedureTest : public FormTest {
  protected:
    BrowseProcedureTest() {
        programProcedures().add("TestListForm", [this] {
            calls.push_back({CallerRequest, SFENOTE.Enota});
            TestUnitForm form(errors, &settings);
            return form.Execute();
        });
        programProcedures().add("TestListPrint", [this] {
            printed.push_back(SFENOTE.Enota);
            // A report reads the table into the same buffer.
            SFENOTE.Enota = 999;
            return Response::None;
        });
    }
    ~BrowseProcedureTest() override {
        programProcedures().remove("TestListForm");
        programProcedures().remove("TestListPrint");
    }

    // Starts the list; it calls `form` for its buttons.
    void open(std::set<int> guarded = {}, std::string form = "TestListForm") {
        start([this, guarded, form] {
            const Response response = TestUnitList(errors, &settings, guarded, form).Execute();
            openAfterwards = tableAccess().file("SFENOTE").openCount();
            return response;
        });
    }

    Control& shown() { return control("Seznam"); }
    std::vector<std::string> column(int number) {
        std::vector<std::string> texts;
        for (int row = 1; row <= shown().rowCount(); ++row)
            texts.push_back(shown().cell(row, number).text);
        return texts;
    }
    std::string highlighted() { return shown().cell(shown().highlighted(), 2).text; }
    bool enabled(const char* name) { return control(name).isEnabled(); }
    void header(int column) {
        const InputResult result = pressColumnHeader(window(), shown(), column);
        ASSERT_TRUE(result.ok()) << result.refusal;
        run();
    }

    std::vector<FormCall> calls;
    std::vector<int> printed;
    int openAfterwards = -1;
};

TEST_F(BrowseProcedureTest, AFormThatIsNotPartOfTheProgramIsReportedAndAddsNoRecord) {
    addUnit(1, "Center");
    open({}, "UpdateNobody");
    frontEnd.answer(kButtonOk);
    press("Dodaj");
    frontEnd.answer(kButtonOk);
    key(keys::Enter);
    ASSERT_EQ(frontEnd.boxes().size(), 2u);
    EXPECT_EQ(frontEnd.boxes()[0].text, "The Procedure UpdateNobody has not been defined.");
    EXPECT_EQ(units(), std::vector<std::string>{"1 Center M"}) << "no numbered empty record";
    EXPECT_EQ(column(2), std::vector<std::string>{"Center"});
    press("Zapri");
    EXPECT_EQ(ended(), std::vector<Response>{RespCancelled});
}

TEST_F(BrowseProcedureTest, ARefusedRequestIsReachedByNoButtonKeyClickOrFormToolbar) {
    addUnit(1, "Center");
    addUnit(2, "Bežigrad");
    open({1});
    EXPECT_EQ(control("Stanje").text(), "zaščiten");
    EXPECT_FALSE(enabled("Spremeni"));
    EXPECT_FALSE(enabled("Brisi"));
    EXPECT_TRUE(enabled("Dodaj"));

    key(keys::Delete);
    key(keys::CtrlEnter);
    EXPECT_EQ(window().caption(), "Vpogled podatkov") << "a guarded record opens read-only";
    press("Cancel");
    key(keys::Enter);
    EXPECT_EQ(window().caption(), "Vpogled podatkov");
    press("Cancel");
    // Presses queued before the highlight came to the guarded record are dropped.
    window().post(EventKind::Accepted, control("Brisi"));
    window().post(EventKind::Accepted, control("Spremeni"));
    run();
    EXPECT_EQ(window().caption(), " ENOTE");
    EXPECT_EQ(calls, (std::vector<FormCall>{{ReqView, 1}, {ReqView, 1}}));
    calls.clear();
    EXPECT_EQ(units(), (std::vector<std::string>{"1 Center M", "2 Bežigrad M"}));

    key(keys::Down);
    EXPECT_EQ(control("Stanje").text(), "");
    EXPECT_TRUE(enabled("Spremeni"));
    EXPECT_TRUE(enabled("Brisi"));
    press("Spremeni");
    pressToolbar(toolbar::Up);
    EXPECT_EQ(window().caption(), "Vpogled podatkov") << "the form's toolbar moved on to unit 1";
    press("Cancel");
    EXPECT_FALSE(enabled("Spremeni"));
    EXPECT_EQ(calls, (std::vector<FormCall>{{ReqChange, 2}, {ReqView, 1}}));
    press("Zapri");
    EXPECT_EQ(ended(), std::vector<Response>{RespCancelled});
    EXPECT_TRUE(frontEnd.boxes().empty());
}

TEST_F(BrowseProcedureTest, ACallButtonAndItsKeyCallTheProcedureAndTheRowStaysInTheBuffer) {
    addUnit(1, "Center");
    addUnit(2, "Bežigrad");
    open();
    press("Izpis");
    key(keys::Down);
    key(keys::F(5));
    EXPECT_EQ(printed, (std::vector<int>{1, 2}));
    EXPECT_EQ(SFENOTE.Enota, 2) << "the highlighted record is back in the buffer";
    EXPECT_EQ(focusName(), "Seznam");
    press("Zapri");
    EXPECT_EQ(ended(), std::vector<Response>{RespCancelled});
}

TEST_F(BrowseProcedureTest, TheListOpensSortedByTheColumnItWasLeftSortedBy) {
    addUnit(1, "Center");
    addUnit(2, "Bežigrad");
    addUnit(3, "Aleja");
    open();
    header(2);
    EXPECT_EQ(highlighted(), "Center") << "the highlighted record stays";
    press("Zapri");
    open();
    EXPECT_EQ(column(2), (std::vector<std::string>{"Aleja", "Bežigrad", "Center"}));
    EXPECT_EQ(highlighted(), "Aleja") << "at the top of that order";
    press("Zapri");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled, RespCancelled}));
    EXPECT_EQ(openAfterwards, 0) << "the list closes its table";
}

}  // namespace
}  // namespace dv::test
