#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "framework/FormKeyboard.h"
#include "framework/WindowProcedure.h"

namespace dv {

// The maker's addresses the About window links to.
inline constexpr std::string_view kMakerWebAddress = "https://www.dideroviv.si";
inline constexpr std::string_view kMakerMailAddress = "podpora@dideroviv.si";
inline constexpr std::string_view kMakerMailSubject = "Izdelovalcu programa MP ...";

// The "mailto:" address of a message to `address` with `subject`, the subject percent-encoded
// (UTF-8) so that any mail program reads it whole.
std::string mailAddress(std::string_view address, std::string_view subject);

// The About window " O PROGRAMU": the program's version, the links to the maker (each asks
// first), and "FURS test", which starts the fiscal-register console in its echo mode. Enter moves
// to the next field and F6 opens the calendar, as in the forms.
class VerzijaPrograma : public WindowProcedure {
  public:
    explicit VerzijaPrograma(std::string name);

    Level SetUp() override;
    EventResult OnAccepted(const Event& event) override;

  private:
    void visitWebPage();
    void writeToMaker();

    SettingsManager& settings_;
    std::unique_ptr<FormKeyboard> keyboard_;
};

}  // namespace dv
