#pragma once

#include <optional>
#include <string_view>

namespace dv {

// The kinds of control a window holds.
enum class ControlType {
    Prompt,    // the label in front of an input control
    Entry,     // one line of typed text
    Spin,      // a number typed or stepped
    TextBox,   // several lines of typed text
    Combo,     // typed text with a list of choices
    DropList,  // one of a list of choices
    Check,     // a check box
    Option,    // an option group: one of its radios is chosen
    Radio,     // one choice of an option group
    Button,
    List,    // rows and columns, one row highlighted
    Sheet,   // a set of tabs, one shown at a time
    Tab,     // one page of a sheet
    Group,   // a frame around other controls
    String,  // a text shown, not typed
    Image,
    MenuBar,  // the menus of a frame
    Menu,     // a menu of the menu bar, or a submenu
    Item,     // an item of a menu
    Toolbar,  // the buttons of a frame's toolbar
};

// The layout keyword of a type ("entry", "droplist", ...), and back (nullopt when unknown).
std::string_view controlTypeKeyword(ControlType type);
std::optional<ControlType> controlTypeFromKeyword(std::string_view keyword);

// Controls into which the user types or from which the user chooses a value.
bool isInputType(ControlType type);
// Controls that may hold others, and which kinds they may hold.
bool isContainerType(ControlType type);
bool canContain(ControlType parent, ControlType child);

}  // namespace dv
