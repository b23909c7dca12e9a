#include "framework/PrintOptionsWindow.h"

#include <stdexcept>

#include "framework/FormVariable.h"
#include "framework/ProcedureByName.h"
#include "runtime/ProcedureScheduler.h"

namespace dv {
namespace {

constexpr std::string_view kTitleVariable = "GLO:NAZIVIZPISA";

// The scheduler of the calling procedure thread: the report runs beside its caller.
ProcedureScheduler& callersScheduler() {
    const ProcedureThread* thread = ProcedureThread::current();
    return thread != nullptr ? thread->scheduler() : programScheduler();
}

}  // namespace

PrintOptionsWindow::PrintOptionsWindow(std::string name) : WindowProcedure(std::move(name)) {
    if (layout().report.empty())
        throw std::invalid_argument("print options " + layout().name + " name no report");
    AddEndButton("?Preklici", RespCancelled);
}

void PrintOptionsWindow::presetOptions() {
    FormVariable::require(kTitleVariable).write(ExpressionValue::text(layout().title));
    for (const ControlLayout& option : layout().controls) {
        if (option.type != ControlType::Option) continue;
        const int number = layout().numberOf(option);
        const ControlLayout* first = nullptr;
        bool marked = false;
        const FormVariable variable = FormVariable::require(option.name);
        for (const ControlLayout& radio : layout().controls) {
            if (radio.type != ControlType::Radio || radio.parent != number) continue;
            if (first == nullptr) first = &radio;
            marked = marked || compareValues(variable.read(), ExpressionValue::text(radio.value)) ==
                                   std::strong_ordering::equal;
        }
        if (!marked && first != nullptr) variable.write(ExpressionValue::text(first->value));
    }
}

Level PrintOptionsWindow::SetUp() {
    presetOptions();
    if (const Level result = WindowProcedure::SetUp(); result != kLevelBenign) return result;
    keyboard_ = std::make_unique<FormKeyboard>(*window(), fields());
    AddComponent(*keyboard_);
    return kLevelBenign;
}

EventResult PrintOptionsWindow::OnAccepted(const Event& event) {
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
    callersScheduler().start(layout().report, procedureByName(layout().report));
    Finish(RespCompleted);
}

}  // namespace dv
