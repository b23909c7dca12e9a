#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime/LayoutTokenizer.h"
#include "runtime/Window.h"

namespace dv {

// Whether a text the user sees matches the text a script gives: "&" marks of the shortcut
// letter are ignored ("&&" stays one "&"), and so is a trailing ":" of a prompt.
bool sameShownText(std::string_view shown, std::string_view script);

// The control a script names in a window: ?NAME by its name (letter case ignored); a text in
// quotes by the text of a button, link, tab, check box, radio or menu item, or by the prompt in
// front of an input control. Shown controls win over hidden ones; when several shown controls
// match, or none, the result is nullptr and `problem` says why.
Control* findScriptControl(const Window& window, const LayoutToken& reference,
                           std::string& problem);

// The control of one of `types` with that text, lying inside `container` (anywhere in the
// window when nullptr); same rules as above.
Control* findControlByText(const Window& window, std::string_view text,
                           std::initializer_list<ControlType> types, const Control* container,
                           std::string& problem);

// A text in double quotes as a script writes it (\" and \\ inside).
std::string scriptQuoted(std::string_view text);

}  // namespace dv
