#include "frontend/headless/ScriptReference.h"

#include <algorithm>
#include <vector>

namespace dv {
namespace {

std::string withoutShortcutMarks(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') plain += text[++i];
            continue;
        }
        plain += text[i];
    }
    return plain;
}

std::string_view withoutTrailingColon(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.back() == ':') text.remove_suffix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool liesIn(const Control& control, const Control* container) {
    if (container == nullptr) return true;
    for (const Control* p = control.parent(); p; p = p->parent())
        if (p == container) return true;
    return false;
}

// The input control a prompt stands for: the next input control in field order.
Control* promptTarget(const Window& window, const Control& prompt) {
    for (int n = prompt.number() + 1; n <= window.controlCount(); ++n) {
        Control& candidate = window.control(n);
        if (candidate.type() == ControlType::Prompt) return nullptr;
        if (isInputType(candidate.type())) return &candidate;
    }
    return nullptr;
}

// Picks the one shown control among the matches.
Control* pickOne(std::vector<Control*> matches, std::string_view text, std::string& problem) {
    if (matches.empty()) {
        problem = "no control shows the text " + scriptQuoted(text);
        return nullptr;
    }
    std::vector<Control*> shown;
    std::copy_if(matches.begin(), matches.end(), std::back_inserter(shown),
                 [](const Control* c) { return c->isVisible(); });
    if (shown.size() > 1) {
        problem =
            std::to_string(shown.size()) + " shown controls have the text " + scriptQuoted(text);
        return nullptr;
    }
    return shown.empty() ? matches.front() : shown.front();
}

}  // namespace

bool sameShownText(std::string_view shown, std::string_view script) {
    const std::string a = withoutShortcutMarks(shown);
    const std::string b = withoutShortcutMarks(script);
    return a == b || withoutTrailingColon(a) == withoutTrailingColon(b);
}

Control* findControlByText(const Window& window, std::string_view text,
                           std::initializer_list<ControlType> types, const Control* container,
                           std::string& problem) {
    std::vector<Control*> matches;
    for (const auto& control : window.controls()) {
        if (!liesIn(*control, container)) continue;
        if (std::find(types.begin(), types.end(), control->type()) == types.end()) continue;
        if (sameShownText(control->text(), text)) matches.push_back(control.get());
    }
    return pickOne(std::move(matches), text, problem);
}

Control* findScriptControl(const Window& window, const LayoutToken& reference,
                           std::string& problem) {
    if (!reference.quoted) {
        Control* control = window.find(reference.text);
        if (control == nullptr) problem = "the window has no control " + reference.text;
        return control;
    }
    std::vector<Control*> matches;
    for (const auto& control : window.controls()) {
        if (!sameShownText(control->text(), reference.text)) continue;
        switch (control->type()) {
            case ControlType::Button:
            case ControlType::Tab:
            case ControlType::Check:
            case ControlType::Radio:
            case ControlType::Item:
                matches.push_back(control.get());
                break;
            case ControlType::String:
                if (control->declared().link) matches.push_back(control.get());
                break;
            case ControlType::Prompt:
                if (Control* target = promptTarget(window, *control)) matches.push_back(target);
                break;
            default:
                break;
        }
    }
    return pickOne(std::move(matches), reference.text, problem);
}

std::string scriptQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace dv
