#include "framework/FormProcedure.h"

#include <stdexcept>

#include "framework/ProcedureLayout.h"
#include "framework/ProgramServices.h"
#include "storage/RelationKeeper.h"
#include "storage/TableAccess.h"

namespace dv {
namespace {

bool isInput(ControlType type) {
    switch (type) {
        case ControlType::Entry:
        case ControlType::Spin:
        case ControlType::Check:
        case ControlType::Option:
        case ControlType::Combo:
        case ControlType::DropList:
        case ControlType::TextBox:
            return true;
        default:
            return false;
    }
}

// The control a form opens on: the one its layout names, else its first input control.
std::string firstFieldOf(const WindowLayout& layout) {
    if (!layout.first.empty()) return layout.first;
    for (const ControlLayout& control : layout.controls)
        if (isInput(control.type) && !control.name.empty()) return control.name;
    return {};
}

}  // namespace

FormProcedure::FormProcedure(std::string name)
    : FormProcedure(name, procedureLayout(name), programErrors(), &programSettings()) {
    bindFromLayout();
}

// The form's own relation keeper is the primary table's until the window's end has given its
// table back: a form ended early (the program shut down under it) releases it here.
FormProcedure::~FormProcedure() {
    ReleaseUnlessEnded();
}

void FormProcedure::bindFromLayout() {
    const WindowLayout& declared = layout();
    if (declared.table.empty())
        throw std::invalid_argument("form " + declared.name + " names no table");
    // A table that takes part in no relation is kept by a keeper of the form's own.
    RelationKeeper* keeper = tableAccess().relations(declared.table);
    if (keeper == nullptr) {
        ownKeeper_ = std::make_unique<RelationKeeper>(tableAccess().file(declared.table));
        keeper = ownKeeper_.get();
    }
    setPrimary(*keeper);
    if (const std::string first = firstFieldOf(declared); !first.empty()) setFirstField(first);
    if (declared.find("?OK") != nullptr) setOkControl("?OK");
    for (std::string_view cancel : {"?Cancel", "?Preklici"})
        if (declared.find(cancel) != nullptr) AddEndButton(cancel, RespCancelled);
}

FormProcedure::FormProcedure(std::string name, const WindowLayout& layout, ErrorReporter& errors,
                             SettingsManager* settings)
    : WindowProcedure(std::move(name), layout, errors, settings) {
    historyKey = keys::CtrlApostrophe;
    AttachToolbar(toolbar_);
}

Level FormProcedure::SetUp() {
    if (const Level result = WindowProcedure::SetUp(); result != kLevelBenign) return result;
    required_.Init(*window(), kRequiredTitle, kRequiredTemplate, 0, fields());
    RegisterRequired();
    keyboard_ = std::make_unique<FormKeyboard>(*window(), fields());
    AddComponent(*keyboard_);
    return kLevelBenign;
}

EventResult FormProcedure::OnAccepted(const Event& event) {
    if (okControl() != 0 && event.control == okControl() && required_.Check(false) != 0)
        return kEventDone;
    return WindowProcedure::OnAccepted(event);
}

}  // namespace dv
