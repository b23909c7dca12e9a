#pragma once

#include <string>
#include <string_view>

#include "runtime/FrontEnd.h"

namespace dv {

// Captions of the application shell's own messages.
inline constexpr std::string_view kWarningCaption = " OPOZORILO";
inline constexpr std::string_view kRecommendationCaption = " PRIPOROČILO";
inline constexpr std::string_view kQuestionCaption = " VPRAŠANJE";

// Shows a message of the shell with a single OK button and waits until it is closed. In the
// text a "|" is a line break.
void showShellMessage(std::string_view caption, std::string text,
                      MessageIcon icon = MessageIcon::Exclamation);

// Asks a Yes/No question (Yes the default); whether the answer was Yes.
bool askShellQuestion(std::string_view caption, std::string text);

}  // namespace dv
