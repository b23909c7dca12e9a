#include "framework/SettingsWindow.h"

#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"

namespace dv {

SettingsWindow::SettingsWindow(std::string name, std::vector<SettingsEntry> entries,
                               SettingsReader readBack, std::string_view okControl,
                               std::string_view cancelControl)
    : FormProcedure(name, procedureLayout(name), programErrors(), &programSettings()),
      entries_(std::move(entries)),
      readBack_(readBack) {
    setOkControl(okControl);
    AddEndButton(cancelControl, RespCancelled);
}

EventResult SettingsWindow::OnCompleted(const Event&) {
    const FileResult written = writeSettingsEntries(programSettings(), entries_);
    if (!written.ok()) {
        reportSettingsNotSaved(written);
        return kEventDone;
    }
    Finish(RespCompleted);
    return kEventDone;
}

EventResult SettingsWindow::OnClose(const Event& event) {
    const EventResult result = FormProcedure::OnClose(event);
    if (result == kEventGoOn && response() != RespCompleted && readBack_ != nullptr)
        readBack_(programSettings());
    return result;
}

}  // namespace dv
