#pragma once

#include <span>
#include <string_view>

namespace dv {

// What a menu item or toolbar button of the main frame does.
enum class MainAction {
    StartProcedure,  // starts its procedure on a thread of its own
    Exit,            // closes the frame and so ends the program
    Backup,          // runs the suite's backup program
    PrinterSetUp,    // the system's printer set-up dialog
    Recommendation,  // the advice to rebuild the stock first; starts nothing
};

// One menu item or toolbar button of the frame, by its control name in the layout "Main".
struct MainCommand {
    std::string_view control;
    MainAction action;
    std::string_view procedure;  // for StartProcedure
};

// Every command of the frame's menu bar and toolbar.
std::span<const MainCommand> mainCommands();

// The command of a control (name with or without "?", any letter case); nullptr for none.
const MainCommand* findMainCommand(std::string_view control);

}  // namespace dv
