#include "masterdata/PrintOptionsWindow.h"

#include "framework/ProgramServices.h"
#include "runtime/LayoutResources.h"
#include "runtime/ProcedureScheduler.h"
#include "schema/ProgramGlobals.h"

namespace dv {
namespace {

constexpr KeyCode kPrintKey = keys::F(5);

// The scheduler of the calling procedure thread: the report runs beside its caller.
ProcedureScheduler& callersScheduler() {
    const ProcedureThread* thread = ProcedureThread::current();
    return thread != nullptr ? thread->scheduler() : programScheduler();
}

}  // namespace

PrintOptionsWindow::PrintOptionsWindow(std::string name, std::string_view title, std::string report,
                                       ProcedureBody body)
    : WindowProcedure(name, windowLayout(name), programErrors(), &programSettings()),
      title_(title),
      report_(std::move(report)),
      body_(std::move(body)) {
    AddEndButton("?Preklici", RespCancelled);
}

int PrintOptionsWindow::SetUp() {
    GLO.NAZIVIZPISA = title_;
    if (const int result = WindowProcedure::SetUp(); result != 0) return result;
    window()->alert(kPrintKey);
    keyboard_ = std::make_unique<FormKeyboard>(*window(), fields());
    AddComponent(*keyboard_);
    return 0;
}

int PrintOptionsWindow::OnEvent(const Event& event) {
    if (event.kind == EventKind::AlertKey && event.key == kPrintKey) {
        print();
        return kEventDone;
    }
    return WindowProcedure::OnEvent(event);
}

int PrintOptionsWindow::OnAccepted(const Event& event) {
    if (event.control == number("?Tiskaj")) {
        print();
        return kEventDone;
    }
    return WindowProcedure::OnAccepted(event);
}

// The options as shown become the variables (a field still being typed in counts), and the
// report runs beside the window's caller once the window has closed.
void PrintOptionsWindow::print() {
    fields()->updateAll();
    callersScheduler().start(report_, body_);
    Finish(RespCompleted);
}

}  // namespace dv
