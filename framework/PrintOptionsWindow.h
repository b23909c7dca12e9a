#pragma once

#include <memory>
#include <string>

#include "framework/FormKeyboard.h"
#include "framework/WindowProcedure.h"

namespace dv {

// The window of a printout's options. Its controls edit program-wide variables (the title of
// the printout GLO:NAZIVIZPISA, an order GLO:SORT, ...), which the report reads when it runs.
// Its layout names the report (`report=`) and the report's title (`title=`): each time the
// window opens the title is set afresh, whatever was typed the last time, and an option group
// whose variable holds a value none of its radios gives starts at its first radio, so that one
// choice is always marked. "&Tiskaj [F5]" (?Tiskaj, with `key=F5`) takes the options as shown,
// starts the report on a thread of its own and closes the window; "Prekliči" (?Preklici)
// closes it. Enter moves to the next field, as in every data-entry window.
//
//   window OknoIzpisaEnote "  IZPIS ŠIFRANTA ..." procedure=print report=IzpisSifrantEnote
//   title="Šifrant ..."
class PrintOptionsWindow : public WindowProcedure {
  public:
    explicit PrintOptionsWindow(std::string name);

    Level SetUp() override;
    EventResult OnAccepted(const Event& event) override;

  private:
    void presetOptions();
    void print();

    std::unique_ptr<FormKeyboard> keyboard_;
};

}  // namespace dv
