#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/ControlLayout.h"

namespace dv {

// A layout that cannot be read; the message names the file and line.
class LayoutError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A window as its layout file declares it. Controls are in field order; a control's number is
// its position in that order, from 1.
struct WindowLayout {
    std::string name;     // the window's name, as the procedure that opens it is named
    std::string caption;  // the title bar text
    bool frame = false;   // the application frame that holds the other windows
    bool resizable = false;
    std::string font;
    std::string icon;
    std::string wallpaper;  // a picture tiled over the client area
    int timer = 0;          // hundredths of a second between timer events, 0 for none
    std::string table;      // a form's primary table (name or prefix)
    std::string first;      // the control focused first, when not the first input control
    // The kind of procedure the layout alone defines ("list", "form", "print"); empty when the
    // procedure is written in code.
    std::string procedure;
    std::string report;  // print options: the report they start
    std::string title;   // print options: the report's title, preset each time they open
    std::string source;  // the file it was read from, for messages
    std::vector<ControlLayout> controls;

    // The control of that name ("?OK" or "OK", letter case ignored), nullptr when none.
    const ControlLayout* find(std::string_view name) const;
    int numberOf(const ControlLayout& declared) const {
        return static_cast<int>(&declared - controls.data()) + 1;
    }
};

// Control names compare without regard to letter case and with or without the leading "?".
bool sameControlName(std::string_view a, std::string_view b);

// Reads a layout. `source` names the text in error messages. Throws LayoutError with the line
// number and the reason when the text is malformed.
WindowLayout parseLayout(std::string_view text, std::string_view source);

}  // namespace dv
