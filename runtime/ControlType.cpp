#include "runtime/ControlType.h"

#include <array>
#include <utility>

namespace dv {
namespace {

constexpr std::array<std::pair<ControlType, std::string_view>, 20> kKeywords{{
    {ControlType::Prompt, "prompt"},   {ControlType::Entry, "entry"},
    {ControlType::Spin, "spin"},       {ControlType::TextBox, "text"},
    {ControlType::Combo, "combo"},     {ControlType::DropList, "droplist"},
    {ControlType::Check, "check"},     {ControlType::Option, "option"},
    {ControlType::Radio, "radio"},     {ControlType::Button, "button"},
    {ControlType::List, "list"},       {ControlType::Sheet, "sheet"},
    {ControlType::Tab, "tab"},         {ControlType::Group, "group"},
    {ControlType::String, "string"},   {ControlType::Image, "image"},
    {ControlType::MenuBar, "menubar"}, {ControlType::Menu, "menu"},
    {ControlType::Item, "item"},       {ControlType::Toolbar, "toolbar"},
}};

// Controls that may stand anywhere a window, group or tab holds controls.
bool isPlainControl(ControlType type) {
    switch (type) {
        case ControlType::Radio:
        case ControlType::Tab:
        case ControlType::Menu:
        case ControlType::Item:
        case ControlType::MenuBar:
        case ControlType::Toolbar:
            return false;
        default:
            return true;
    }
}

}  // namespace

std::string_view controlTypeKeyword(ControlType type) {
    for (const auto& [t, keyword] : kKeywords)
        if (t == type) return keyword;
    return "?";
}

std::optional<ControlType> controlTypeFromKeyword(std::string_view keyword) {
    for (const auto& [type, k] : kKeywords)
        if (k == keyword) return type;
    return std::nullopt;
}

bool isInputType(ControlType type) {
    switch (type) {
        case ControlType::Entry:
        case ControlType::Spin:
        case ControlType::TextBox:
        case ControlType::Combo:
        case ControlType::DropList:
        case ControlType::Check:
        case ControlType::Option:
            return true;
        default:
            return false;
    }
}

bool isContainerType(ControlType type) {
    switch (type) {
        case ControlType::Option:
        case ControlType::Sheet:
        case ControlType::Tab:
        case ControlType::Group:
        case ControlType::MenuBar:
        case ControlType::Menu:
        case ControlType::Toolbar:
            return true;
        default:
            return false;
    }
}

bool canContain(ControlType parent, ControlType child) {
    switch (parent) {
        case ControlType::Sheet:
            return child == ControlType::Tab;
        case ControlType::Option:
            return child == ControlType::Radio || isPlainControl(child);
        case ControlType::Tab:
        case ControlType::Group:
            return isPlainControl(child);
        case ControlType::MenuBar:
            return child == ControlType::Menu;
        case ControlType::Menu:
            return child == ControlType::Menu || child == ControlType::Item;
        case ControlType::Toolbar:
            return child == ControlType::Button || child == ControlType::Image ||
                   child == ControlType::String || child == ControlType::Check;
        default:
            return false;
    }
}

}  // namespace dv
