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

// One column of a list: its heading and the picture its cells are shown in; where the layout
// says so, the field of the list's table it shows and the key a click on its heading sorts by.
struct ListColumn {
    std::string heading;
    std::string picture;
    bool rightAligned = false;
    bool centred = false;
    std::string field;  // "SFENOTE:Enota" (or without the prefix); empty: bound by the code
    std::string key;    // the key it sorts by; empty: the column does not sort
};

// What a list window's main list declares besides its columns; every entry may be empty.
struct ListBinding {
    std::string table;    // the table it shows (name or prefix)
    std::string order;    // the key of its first order; empty: the first sorting column's key
    std::string filter;   // an expression every row shown must satisfy
    std::string locator;  // the control of its incremental locator
    std::string query;    // the entry of the query line
    std::string form;     // the procedure its insert, change, delete and view buttons call
    std::string print;    // the procedure its print button calls (the print options)
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
    bool multiple = false;             // a list whose rows can be marked (multiple selection)
    bool link = false;                 // a string that is pressed as a button is (a web link)
    std::string value;                 // a radio: the value it gives its option group
    std::string trueValue = "1";       // a check box: its value when checked
    std::string falseValue = "0";      // and when clear
    std::vector<std::string> choices;  // a drop list or combo
    std::vector<ListColumn> columns;   // a list
    ListBinding binding;               // a list: its table, orders and the procedures it calls
    std::string icon;                  // a button's or image's picture file
    std::string label;  // a required field's name in its message, when not its prompt's text
    std::string call;   // a button: the procedure it calls on the window's thread
    int key = 0;        // a button: the key that presses it from anywhere in the window
    bool radiosFromRule = false;  // an option whose radios are the codes of its field's rule
    Colour foreground = kDefaultColour;
    Colour background = kDefaultColour;
    Colour hover = kDefaultColour;  // a link: its text colour while the pointer is over it
    int parent = 0;  // the number of the control that holds it, 0 for the window itself
    int line = 0;    // its line in the layout file
};

}  // namespace dv
