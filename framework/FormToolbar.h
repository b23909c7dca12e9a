#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "runtime/ProcedureCall.h"

namespace dv {

// The navigation buttons of the program-wide toolbar, by their fixed control numbers. A front
// end that shows them passes a press on to the focused window as an Accepted event of that
// number.
namespace toolbar {
inline constexpr int Insert = 3001;
inline constexpr int Change = 3002;
inline constexpr int Delete = 3003;
inline constexpr int Select = 3004;
inline constexpr int Bottom = 3005;  // last record
inline constexpr int Top = 3006;     // first record
inline constexpr int PageDown = 3007;
inline constexpr int PageUp = 3008;
inline constexpr int Down = 3009;  // next record
inline constexpr int Up = 3010;    // previous record
inline constexpr int Locate = 3011;
inline constexpr int History = 3012;
inline constexpr int Help = 3013;   // presses F1
inline constexpr int First = 3000;  // the lowest number the toolbar may use
inline constexpr int Last = Help;
}  // namespace toolbar

// The toolbar as it stands while a form has the focus: which buttons work and their tips. An
// insert form lets the user save and add another (3001, 3009); a change form saves and moves
// through the list (3005 to 3010) or saves and adds (3001); other forms disable the navigation.
// The history button works when the form has a history key, help when the window has help.
class FormToolbar {
  public:
    struct Button {
        bool enabled = false;
        std::string tip;
    };

    FormToolbar() = default;

    // Sets the buttons for a form called with `request`.
    void setUpForForm(Request request, bool hasHistoryKey, bool hasHelp);
    // Every button disabled (the form lost the toolbar).
    void disableAll();

    static bool isToolbarControl(int control) {
        return control >= toolbar::First && control <= toolbar::Last;
    }
    // A navigation button: it stores its number in the navigation request and acts as OK.
    static bool isNavigation(int control);
    const Button& button(int control) const;
    bool enabled(int control) const { return isToolbarControl(control) && button(control).enabled; }

  private:
    void set(int control, bool enabled, std::string tip = {});

    std::array<Button, toolbar::Last - toolbar::First + 1> buttons_{};
};

}  // namespace dv
