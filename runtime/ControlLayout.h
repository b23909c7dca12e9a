#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/ControlType.h"

namespace dv {

// Colours are 32-bit values with red in the lowest byte, then green, then blue; kDefaultColour
// leaves the colour to the front end.
using Colour = std::int32_t;
inline constexpr Colour kDefaultColour = -1;

// One column of a list: its heading and the picture its cells are shown in.
struct ListColumn {
    std::string heading;
    std::string picture;
    bool rightAligned = false;
    bool centred = false;
};

// A control as its window's layout declares it: what it is, what it shows and how it starts.
struct ControlLayout {
    ControlType type = ControlType::String;
    std::string name;     // without the leading "?"; may be empty
    std::string text;     // caption of a prompt, button, check, radio, tab, menu, item or string
    std::string tip;      // tool tip
    std::string message;  // status bar message
    std::string picture;  // display picture of the value
    bool required = false;
    bool disabled = false;
    bool hidden = false;
    bool readOnly = false;
    bool skip = false;                 // Tab passes it over
    bool isDefault = false;            // the button that Enter presses
    bool paged = false;                // a list whose rows are a page: the procedure scrolls it
    std::string value;                 // a radio: the value it gives its option group
    std::string trueValue = "1";       // a check box: its value when checked
    std::string falseValue = "0";      // and when clear
    std::vector<std::string> choices;  // a drop list or combo
    std::vector<ListColumn> columns;   // a list
    std::string icon;                  // a button's or image's picture file
    Colour foreground = kDefaultColour;
    Colour background = kDefaultColour;
    int parent = 0;  // the number of the control that holds it, 0 for the window itself
    int line = 0;    // its line in the layout file
};

}  // namespace dv
