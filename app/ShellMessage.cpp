#include "app/ShellMessage.h"

namespace dv {

void showShellMessage(std::string_view caption, std::string text, MessageIcon icon) {
    MessageBoxRequest box;
    box.caption = caption;
    box.text = std::move(text);
    box.icon = icon;
    currentFrontEnd().messageBox(box);
}

bool askShellQuestion(std::string_view caption, std::string text) {
    MessageBoxRequest box;
    box.caption = caption;
    box.text = std::move(text);
    box.icon = MessageIcon::Question;
    box.buttons = kButtonYes | kButtonNo;
    box.defaultButton = kButtonYes;
    return currentFrontEnd().messageBox(box) == kButtonYes;
}

}  // namespace dv
