#include <gtest/gtest.h>

#include "runtime/ProcedureCall.h"
#include "runtime/ProcedureRegistry.h"
#include "runtime/ProcedureScheduler.h"
#include "runtime/WindowInput.h"

namespace dv {
namespace {

const WindowLayout& listLayout() {
    static const WindowLayout layout =
        parseLayout("window Seznam \"Seznam\"\n  button ?Change \"&Spremeni\"\n", "Seznam");
    return layout;
}
const WindowLayout& formLayout() {
    static const WindowLayout layout =
        parseLayout("window Obrazec \"Obrazec\"\n  entry ?Naziv\n  button ?OK \"OK\"\n", "Obrazec");
    return layout;
}

// A form: remembers the request it was called with, ends with Completed on OK and Cancelled
// when closed.
Response formProcedure(Request& seenRequest, const ProcedureThread*& seenThread) {
    seenRequest = CallerRequest;
    seenThread = ProcedureThread::current();
    Window window(formLayout());
    while (true) {
        Event event = window.nextEvent();
        if (event.kind == EventKind::CloseWindow) return RespCancelled;
        if (event.kind == EventKind::Accepted && event.control == window.control("OK").number())
            return RespCompleted;
    }
}

TEST(ProcedureCall, ACalledFormRunsOnTheCallersThreadAndReturnsItsResponse) {
    ProcedureScheduler scheduler;
    Request seenRequest = Request::None;
    const ProcedureThread* formThread = nullptr;
    const ProcedureThread* listThread = nullptr;
    std::vector<Response> responses;
    scheduler.start("Seznam", [&] {
        listThread = ProcedureThread::current();
        Window window(listLayout());
        while (true) {
            Event event = window.nextEvent();
            if (event.kind == EventKind::CloseWindow) return RespCompleted;
            if (event.kind == EventKind::Accepted) {
                responses.push_back(callProcedure(
                    [&] { return formProcedure(seenRequest, formThread); }, ReqChange));
                responses.push_back(CallerResponse);
            }
        }
    });
    scheduler.runUntilIdle();
    WindowDesktop& desktop = scheduler.desktop();
    ASSERT_EQ(desktop.focused()->name(), "Seznam");

    pressControl(*desktop.focused(), desktop.focused()->control("Change"));
    scheduler.runUntilIdle();
    Window* form = desktop.focused();
    ASSERT_EQ(form->name(), "Obrazec");
    EXPECT_EQ(desktop.windows().size(), 2u);
    EXPECT_EQ(seenRequest, ReqChange);
    EXPECT_EQ(formThread, listThread);
    EXPECT_EQ(form->owner(), listThread);
    EXPECT_EQ(scheduler.liveCount(), 1u);

    pressControl(*form, form->control("OK"));
    scheduler.runUntilIdle();
    EXPECT_EQ(responses, (std::vector<Response>{RespCompleted, RespCompleted}));
    EXPECT_EQ(desktop.focused()->name(), "Seznam");

    pressControl(*desktop.focused(), desktop.focused()->control("Change"));
    scheduler.runUntilIdle();
    clickCloseBox(*desktop.focused());
    scheduler.runUntilIdle();
    EXPECT_EQ(responses,
              (std::vector<Response>{RespCompleted, RespCompleted, RespCancelled, RespCancelled}));
    clickCloseBox(*desktop.focused());
    scheduler.runUntilIdle();
    EXPECT_TRUE(desktop.windows().empty());
    EXPECT_EQ(scheduler.liveCount(), 0u);
}

TEST(ProcedureRegistry, FindsProceduresByNameWhateverTheCase) {
    ProcedureRegistry registry;
    registry.add("BrowseSFENOTE", [] { return RespCompleted; });
    registry.add("UpdateSFENOTE", [] { return RespCancelled; });
    ASSERT_NE(registry.find("browsesfenote"), nullptr);
    EXPECT_EQ((*registry.find("BROWSESFENOTE"))(), RespCompleted);
    registry.add("browseSFENOTE", [] { return Response::None; });  // replaces
    EXPECT_EQ((*registry.find("BrowseSFENOTE"))(), Response::None);
    EXPECT_EQ(registry.names(), (std::vector<std::string>{"browseSFENOTE", "UpdateSFENOTE"}));
    registry.remove("UPDATESFENOTE");
    EXPECT_EQ(registry.find("UpdateSFENOTE"), nullptr);
    EXPECT_EQ(registry.find(""), nullptr);
}

}  // namespace
}  // namespace dv
