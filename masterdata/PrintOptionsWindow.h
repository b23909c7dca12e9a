#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "framework/FormKeyboard.h"
#include "framework/WindowProcedure.h"
#include "runtime/ProcedureThread.h"

namespace dv {

// The window of a printout's options. Its controls edit program-wide variables (the title of
// the printout GLO:NAZIVIZPISA, an order GLO:SORT, ...), which the report reads when it runs.
// Each time the window opens the title is set afresh to the printout's own title, whatever was
// typed the last time. "&Tiskaj [F5]" (?Tiskaj, also the key F5) takes the options as shown,
// starts the report on a thread of its own and closes the window; "Prekliči" (?Preklici)
// closes it. Enter moves to the next field, as in every data-entry window.
//
//   PrintOptionsWindow window("OknoIzpisaEnote", "Šifrant skladišč blaga - izdelkov",
//                             "IzpisSifrantEnote", IzpisSifrantEnote);
//   return window.Execute();
class PrintOptionsWindow : public WindowProcedure {
  public:
    PrintOptionsWindow(std::string name, std::string_view title, std::string report,
                       ProcedureBody body);

    int SetUp() override;
    int OnEvent(const Event& event) override;
    int OnAccepted(const Event& event) override;

  private:
    void print();

    std::string title_;
    std::string report_;
    ProcedureBody body_;
    std::unique_ptr<FormKeyboard> keyboard_;
};

}  // namespace dv
