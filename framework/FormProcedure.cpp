#include "framework/FormProcedure.h"

namespace dv {

FormProcedure::FormProcedure(std::string name, const WindowLayout& layout, ErrorReporter& errors,
                             SettingsManager* settings)
    : WindowProcedure(std::move(name), layout, errors, settings) {
    historyKey = keys::CtrlApostrophe;
    AttachToolbar(toolbar_);
}

int FormProcedure::SetUp() {
    if (const int result = WindowProcedure::SetUp(); result != 0) return result;
    required_.Init(*window(), kRequiredTitle, kRequiredTemplate, 0, fields());
    RegisterRequired();
    keyboard_ = std::make_unique<FormKeyboard>(*window(), fields());
    AddComponent(*keyboard_);
    return 0;
}

int FormProcedure::OnAccepted(const Event& event) {
    if (okControl() != 0 && event.control == okControl() && required_.Check(false) != 0)
        return kEventDone;
    return WindowProcedure::OnAccepted(event);
}

}  // namespace dv
