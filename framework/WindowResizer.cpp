#include "framework/WindowResizer.h"

namespace dv {

ResizeStrategy resizeStrategy(ControlType type) {
    switch (type) {
        case ControlType::List:
        case ControlType::TextBox:
        case ControlType::Sheet:
        case ControlType::Tab:
        case ControlType::Group:
            return {false, false, true, true};
        case ControlType::Entry:
        case ControlType::Combo:
        case ControlType::DropList:
            return {false, false, true, false};
        case ControlType::Button:
            return {true, true, false, false};
        default:
            return {};
    }
}

void WindowResizer::attach(Window& window, const WindowGeometry& opened) {
    window_ = &window;
    initial_ = opened;
    if (!window.isResizable()) return;
    window.setMinimumSize(opened.width > 0 ? opened.width : Window::kNaturalSize,
                          opened.height > 0 ? opened.height : Window::kNaturalSize);
}

void WindowResizer::end() {
    window_ = nullptr;
}

}  // namespace dv
