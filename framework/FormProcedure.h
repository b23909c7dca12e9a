#pragma once

#include <memory>
#include <string_view>

#include "framework/FormKeyboard.h"
#include "framework/FormToolbar.h"
#include "framework/ReqFldClass.h"
#include "framework/WindowProcedure.h"

namespace dv {

// The caption and text every form's required-field message is built from.
inline constexpr std::string_view kRequiredTitle = " INFORMACIJA";
inline constexpr std::string_view kRequiredTemplate = "@PROMPT podatek mora biti vnešen !";

// A data-entry form: a window procedure with the history key Ctrl+', the form toolbar, the
// required-field checker (set up when the window opens, consulted when OK is accepted; a required
// field left empty keeps the form open, with that field focused) and the keyboard aids (Enter as
// the next-field key, F6 for the calendar on date fields).
//
// A program's form says in its layout what it edits (`table=` on the window line), its required
// fields (`required`, with `label=` where the prompt before the field does not name it well) and
// its first field (`first=`, else the first input control); ?OK saves, ?Cancel or ?Preklici
// cancels. A form adds its own handling by overriding the event handlers.
class FormProcedure : public WindowProcedure {
  public:
    // The form `name` over the table its layout names, with the program's error reporter and
    // settings file.
    explicit FormProcedure(std::string name);
    FormProcedure(std::string name, const WindowLayout& layout, ErrorReporter& errors,
                  SettingsManager* settings = nullptr);
    ~FormProcedure() override;

    ReqFldClass& required() { return required_; }
    FormToolbar& formToolbar() { return toolbar_; }

    Level SetUp() override;
    EventResult OnAccepted(const Event& event) override;

  protected:
    // Called once the checker has listed the window's required controls.
    virtual void RegisterRequired() {}

  private:
    void bindFromLayout();

    std::unique_ptr<RelationKeeper> ownKeeper_;
    ReqFldClass required_;
    FormToolbar toolbar_;
    std::unique_ptr<FormKeyboard> keyboard_;
};

}  // namespace dv
