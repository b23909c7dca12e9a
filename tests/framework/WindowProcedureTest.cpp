#include "FormTestSupport.h"
#include "framework/WindowPosition.h"
#include "runtime/LocalVariables.h"
#include "schema/Records.h"
#include "storage/RelationKeeper.h"

namespace dv::test {
namespace {

using Strings = std::vector<std::string>;

// Runs `form` (built on the procedure's thread) as the test form is called from a list: the
// table held open, a new numbered record for an insert, unit 1 read for the other requests.
template <typename Form>
Response callForm(Request request, const std::function<void(Form&)>& configure, Form** running,
                  ErrorReporter& errors, SettingsManager& settings) {
    RelationKeeper& keeper = *tableAccess().relations("SFENOTE");
    keeper.OpenAll();
    if (request == ReqInsert) {
        EXPECT_EQ(keeper.file().PrepareNew(), Level::Benign);
    } else {
        SFENOTE.Enota = 1;
        keeper.file().Fetch(keeper.file().primaryKey());
    }
    const Response response = callProcedure(
        [&] {
            Form form(errors, &settings);
            if (configure) configure(form);
            *running = &form;
            const Response result = form.Execute();
            *running = nullptr;
            return result;
        },
        request);
    keeper.CloseAll();
    return response;
}

// The test form with what its set-up saw when the record was prepared.
class ObservedForm : public TestUnitForm {
  public:
    ObservedForm(ErrorReporter& errors, SettingsManager* settings)
        : TestUnitForm(errors, settings), errors_(errors) {}

    std::string procedure;
    Request requestSeen = Request::Insert;
    bool windowOpen = true;
    bool refuse = false;

  protected:
    void FieldDefaultsHook() override {
        procedure = errors_.currentProcedure();
        requestSeen = CallerRequest;
        windowOpen = window() != nullptr;
        SFENOTE.Naziv = "Privzeto";
        if (refuse) setResponse(RespCancelled);
    }

  private:
    ErrorReporter& errors_;
};

class WindowProcedureTest : public FormTest {
  protected:
    template <typename Form = TestUnitForm>
    Form* startWith(Request request, std::function<void(Form&)> configure = {}) {
        static Form* running = nullptr;
        start([this, request, configure] {
            return callForm<Form>(request, configure, &running, errors, settings);
        });
        return running;
    }

    static std::vector<int> enabled(const FormToolbar& toolbar) {
        std::vector<int> buttons;
        for (int control = toolbar::First; control <= toolbar::Last; ++control)
            if (toolbar.enabled(control)) buttons.push_back(control);
        return buttons;
    }
};

TEST_F(WindowProcedureTest, SetUpRecordsTheNameAndTakesTheRequestBeforeTheRecordIsPrepared) {
    ObservedForm* form = startWith<ObservedForm>(ReqInsert);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->procedure, "TestUnitForm");
    EXPECT_EQ(form->requestSeen, Request::None);  // taken over and cleared
    EXPECT_FALSE(form->windowOpen);
    EXPECT_EQ(form->request(), ReqInsert);
    EXPECT_EQ(form->originalRequest(), ReqInsert);
    EXPECT_TRUE(form->inited());
    EXPECT_TRUE(form->filesOpened());
    EXPECT_EQ(control("SFENOTE:Naziv").value(), "Privzeto");
    // The defaults of the hook are no change of the record.
    press("Cancel");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_TRUE(frontEnd.boxes().empty());
    EXPECT_TRUE(units().empty());
}

TEST_F(WindowProcedureTest, AHookThatCancelsTheNewRecordKeepsTheWindowClosed) {
    startWith<ObservedForm>(ReqInsert, [](ObservedForm& form) { form.refuse = true; });
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_EQ(scheduler.desktop().focused(), nullptr);
}

TEST_F(WindowProcedureTest, TheToolbarFollowsTheRequest) {
    TestUnitForm* form = startWith(ReqInsert);
    ASSERT_NE(form, nullptr);
    FormToolbar& toolbar = *form->toolbar();
    EXPECT_EQ(enabled(toolbar), (std::vector<int>{3001, 3009, 3012}));
    EXPECT_EQ(toolbar.button(toolbar::Insert).tip, "Save record and add another");
    EXPECT_EQ(toolbar.button(toolbar::Down).tip, "Save record and add another");
    press("Cancel");
    ended();

    addUnit(1, "Center");
    form = startWith(ReqChange);
    FormToolbar& changing = *form->toolbar();
    EXPECT_EQ(enabled(changing),
              (std::vector<int>{3001, 3005, 3006, 3007, 3008, 3009, 3010, 3012}));
    EXPECT_EQ(changing.button(toolbar::Bottom).tip, "Save changes and go to last record");
    EXPECT_EQ(changing.button(toolbar::PageUp).tip, "Save changes and page up to record");
    EXPECT_EQ(changing.button(toolbar::Up).tip, "Save changes and go to previous record");
    EXPECT_EQ(changing.button(toolbar::Insert).tip, "Save this record and add a new one");
    press("Cancel");
    ended();

    form = startWith(ReqView);
    EXPECT_EQ(enabled(*form->toolbar()), (std::vector<int>{3012}));
    // A disabled button does nothing.
    pressToolbar(toolbar::Down);
    EXPECT_EQ(CallerVcrRequest, 0);
    EXPECT_TRUE(ended().empty());
    press("Cancel");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
}

TEST_F(WindowProcedureTest, ANavigationButtonStoresItsNumberAndActsAsOk) {
    addUnit(1, "Center");
    addUnit(2, "Skladišče");
    startWith(ReqChange);
    type("SFENOTE:Naziv", "Centrala");
    pressToolbar(toolbar::Down);
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_EQ(CallerVcrRequest, toolbar::Down);
    EXPECT_EQ(units(), (Strings{"1 Centrala M", "2 Skladišče M"}));

    // Nothing changed: nothing written, yet the list is to move on.
    CallerVcrRequest = 0;
    startWith(ReqChange);
    pressToolbar(toolbar::Top);
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_EQ(CallerVcrRequest, toolbar::Top);
}

TEST_F(WindowProcedureTest, ANavigationThatEndsCancelledLeavesNoNavigationBehind) {
    addUnit(1, "Center");
    startWith(ReqChange);
    type("SFENOTE:Naziv", "");
    frontEnd.answer(kButtonOk);
    pressToolbar(toolbar::Down);
    EXPECT_EQ(frontEnd.boxes().back().text, "\"Naziv\" podatek mora biti vnešen !");
    frontEnd.answer(kButtonNo);
    press("Cancel");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_EQ(CallerVcrRequest, 0);
}

TEST_F(WindowProcedureTest, CancelActionsSaveForTheUserOrWarnThatChangesWillBeLost) {
    addUnit(1, "Center");
    TestFormOptions saveSilently;
    saveSilently.cancelAction = kCancelOfferSave;
    startForm(ReqChange, saveSilently);
    type("SFENOTE:Naziv", "Centrala");
    press("Cancel");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    EXPECT_TRUE(frontEnd.boxes().empty());
    EXPECT_EQ(units(), (Strings{"1 Centrala M"}));

    TestFormOptions warn;
    warn.cancelAction = kCancelAsk;
    startForm(ReqChange, warn);
    type("SFENOTE:Naziv", "Drugo");
    frontEnd.answer(kButtonNo);
    press("Cancel");
    EXPECT_EQ(frontEnd.shown(),
              (Strings{"Changes will be lost!: Are you sure you want to cancel?"}));
    EXPECT_TRUE(ended().empty());
    frontEnd.answer(kButtonYes);
    press("Cancel");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_EQ(units(), (Strings{"1 Centrala M"}));

    TestFormOptions never;
    never.cancelAction = 0;
    startForm(ReqChange, never);
    type("SFENOTE:Naziv", "Drugo");
    press("Cancel");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
    EXPECT_EQ(frontEnd.boxes().size(), 2u);
}

TEST_F(WindowProcedureTest, TextThatDoesNotFitIsExplainedAndTheFieldGoesBackToItsValue) {
    startForm(ReqInsert);
    type("SFENOTE:PROMETZAKLJUCENDODATUMA", "1.2.2024");
    EXPECT_EQ(control("SFENOTE:PROMETZAKLJUCENDODATUMA").value(), "01.02.2024");
    EXPECT_EQ(SFENOTE.PROMETZAKLJUCENDODATUMA, dayNumber(2024, 2, 1));
    frontEnd.answer(kButtonOk);
    type("SFENOTE:PROMETZAKLJUCENDODATUMA", "31.2.2024");
    ASSERT_EQ(frontEnd.boxes().size(), 1u);
    EXPECT_EQ(frontEnd.boxes()[0].text.find("Datum"), 0u) << frontEnd.boxes()[0].text;
    EXPECT_EQ(control("SFENOTE:PROMETZAKLJUCENDODATUMA").value(), "01.02.2024");
    EXPECT_EQ(focusName(), "SFENOTE:PROMETZAKLJUCENDODATUMA");
    frontEnd.answer(kButtonNo);
    press("Cancel");
    EXPECT_EQ(frontEnd.boxes().back().caption, "Save Record");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCancelled}));
}

// A value the picture takes but the field cannot hold is refused, never shown as if it were kept.
TEST_F(WindowProcedureTest, AValueTooLargeForTheFieldIsRefusedAndTheFieldShowsWhatItHolds) {
    startForm(ReqInsert);
    const std::string before = control("SFENOTE:Enota").value();
    const auto unit = SFENOTE.Enota;
    control("SFENOTE:Enota").setPicture("@n6");
    frontEnd.answer(kButtonOk);
    type("SFENOTE:Enota", "70000");
    ASSERT_EQ(frontEnd.boxes().size(), 1u);
    EXPECT_EQ(frontEnd.boxes()[0].text, "Vrednosti \"70,000\" ni mogoče shraniti v to polje.");
    EXPECT_EQ(SFENOTE.Enota, unit);
    EXPECT_EQ(control("SFENOTE:Enota").value(), before);
    EXPECT_EQ(focusName(), "SFENOTE:Enota");
}

TEST_F(WindowProcedureTest, TheWindowOpensWhereItWasAndItsPlaceIsKept) {
    ASSERT_TRUE(settings.write("TestUnitForm", "XPos", "40").ok());
    ASSERT_TRUE(settings.write("TestUnitForm", "YPos", "25").ok());
    ASSERT_TRUE(settings.write("TestUnitForm", "Maximize", "Yes").ok());
    ASSERT_TRUE(settings.write("TestUnitForm", "Width", "900").ok());
    startForm(ReqInsert);
    EXPECT_EQ(window().geometry(), (WindowGeometry{40, 25, 0, 0, true}));  // not resizable
    window().setGeometry({70, 80, 300, 200, false});
    press("Cancel");
    ended();
    EXPECT_EQ(settings.readNumber("TestUnitForm", "XPos", 0), 70);
    EXPECT_EQ(settings.readNumber("TestUnitForm", "YPos", 0), 80);
    EXPECT_EQ(settings.readText("TestUnitForm", "Maximize", ""), "No");
    EXPECT_EQ(settings.readNumber("TestUnitForm", "Width", 0), 900);  // left as it was
    SettingsManager reread;
    ASSERT_TRUE(reread.open(root.path()).ok());
    EXPECT_EQ(reread.readNumber("TestUnitForm", "XPos", 0), 70);
}

// ---- a window procedure without a table

const WindowLayout& listLayout() {
    static const WindowLayout layout = parseLayout(R"(window Seznam " SEZNAM" resizable
  list ?Vrstice
    column "Naziv"
  entry ?Loc:Iskanje
  button ?Zapri "Zapri"
)",
                                                   "Seznam.layout");
    return layout;
}

// A component that records what it is given and answers as it is told.
class RecordingComponent : public WindowComponent {
  public:
    RecordingComponent(std::string name, std::vector<std::string>& log) : name_(name), log_(log) {}
    EventResult TakeEvent(const Event& event) override {
        log_.push_back(name_ + " " + std::string(eventKindName(event.kind)));
        if (event.kind == EventKind::Timer) stale = true;
        return event.kind == EventKind::NewSelection ? answerSelection : kEventGoOn;
    }
    bool NeedsRefresh() const override { return stale; }
    void Reset(bool force) override {
        log_.push_back(name_ + (force ? " reset all" : " reset"));
        stale = false;
    }
    void Kill() override { log_.push_back(name_ + " ended"); }

    EventResult answerSelection = kEventGoOn;
    bool stale = false;

  private:
    std::string name_;
    std::vector<std::string>& log_;
};

TEST_F(WindowProcedureTest, ComponentsSeeEveryEventInOrderAndAskForRefreshes) {
    std::vector<std::string> log;
    ASSERT_TRUE(settings.write("Seznam", "Width", "640").ok());
    ASSERT_TRUE(settings.write("Seznam", "Height", "-5").ok());
    bool closedAtEnd = false;
    start([&] {
        FixedText<20> search;
        LocalVariables locals;
        locals.add("Loc:Iskanje", search);
        search = "abc";
        WindowProcedure procedure("Seznam", listLayout(), errors, &settings);
        RecordingComponent first("first", log);
        RecordingComponent second("second", log);
        first.answerSelection = kEventDone;
        procedure.AddComponent(first);
        procedure.AddComponent(second);
        procedure.AddEndButton("Zapri", RespCompleted);
        const Response response = procedure.Execute();
        closedAtEnd = !procedure.window()->isOpen();
        return response;
    });
    EXPECT_EQ(window().caption(), " SEZNAM");  // no table: the caption stays
    EXPECT_EQ(window().minimumWidth(), Window::kNaturalSize);
    EXPECT_EQ(window().geometry().width, 640);
    EXPECT_EQ(window().geometry().height, 0);
    EXPECT_EQ(control("Loc:Iskanje").value(), "abc");
    EXPECT_EQ(log, (Strings{"first reset all", "second reset all", "first reset all",
                            "second reset all", "first OpenWindow", "second OpenWindow"}));
    log.clear();
    // The list has the focus; the first component finishes a new selection, the second never
    // sees it.
    control("Vrstice").setRows({{{"A"}}, {{"B"}}});
    ASSERT_TRUE(highlightRow(window(), control("Vrstice"), 2).ok());
    run();
    EXPECT_EQ(log, (Strings{"first NewSelection"}));
    log.clear();
    window().post(EventKind::Timer);
    run();
    EXPECT_EQ(log, (Strings{"first Timer", "second Timer", "first reset", "second reset"}));
    log.clear();
    press("Zapri");
    EXPECT_EQ(ended(), (std::vector<Response>{RespCompleted}));
    // The end button finishes its event; the close that follows reaches every component.
    EXPECT_EQ(log, (Strings{"first Selected", "second Selected", "first CloseWindow",
                            "second CloseWindow", "first ended", "second ended"}));
    EXPECT_TRUE(closedAtEnd);
    EXPECT_EQ(settings.readNumber("Seznam", "Width", 0), 640);
}

TEST(WindowPositionTest, MissingEntriesLeaveTheGeometryAndMalformedOnesCountAsZero) {
    TempDirectory directory;
    SettingsManager settings;
    ASSERT_TRUE(settings.open(directory.path()).ok());
    WindowDesktop desktop;
    Window window(listLayout(), desktop);
    window.setGeometry({5, 6, 7, 8, true});
    restoreWindowPosition(settings, "Seznam", window);
    EXPECT_EQ(window.geometry(), (WindowGeometry{5, 6, 7, 8, true}));
    ASSERT_TRUE(settings.write("seznam", "xpos", "nič").ok());
    ASSERT_TRUE(settings.write("Seznam", "Maximize", "yes").ok());
    restoreWindowPosition(settings, "Seznam", window);
    EXPECT_EQ(window.geometry(), (WindowGeometry{0, 6, 7, 8, true}));
}

}  // namespace
}  // namespace dv::test
