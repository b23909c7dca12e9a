#include "framework/ReqFldClass.h"

#include <cctype>
#include <stdexcept>

#include "framework/FormFields.h"
#include "runtime/FrontEnd.h"
#include "runtime/PictureFormat.h"

namespace dv {
namespace {

// Most characters kept of each text.
constexpr std::size_t kTitleLength = 255;
constexpr std::size_t kTemplateLength = 1024;
constexpr std::size_t kEntryTextLength = 80;
constexpr std::size_t kFieldNameLength = 40;
constexpr std::size_t kInitPromptLength = 40;

// The first `count` characters of UTF-8 text.
std::string firstCharacters(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t kept = 0; at < text.size() && kept < count; ++kept) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    }
    return std::string(text.substr(0, at));
}

bool isCheckedInput(ControlType type) {
    switch (type) {
        case ControlType::Entry:
        case ControlType::Option:
        case ControlType::Combo:
        case ControlType::Spin:
        case ControlType::DropList:
        case ControlType::TextBox:
            return true;
        default:
            return false;
    }
}

// Replaces the first occurrence of `placeholder`.
void replaceFirst(std::string& text, std::string_view placeholder, std::string_view by) {
    const std::size_t at = text.find(placeholder);
    if (at != std::string::npos) text.replace(at, placeholder.size(), by);
}

// Numeric and date pictures ("@N3B", "d17") count a zero value as empty.
bool countsZeroAsEmpty(std::string_view picture) {
    if (picture.starts_with('@')) picture.remove_prefix(1);
    if (picture.empty()) return false;
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(picture[0])));
    return kind == 'N' || kind == 'D';
}

// Whether the value read through the picture is zero; text that does not fit counts as a value.
bool isZero(const std::string& text, std::string_view pictureText) {
    const auto picture = Picture::parse(pictureText);
    if (!picture) return false;
    if (picture->kind() == PictureKind::date) {
        const auto day = deformatDate(text, *picture);
        return day.ok() && day.value == 0;
    }
    const auto number = deformat(text, *picture);
    return number.ok() && number.value.isZero();
}

// Compared as the runtime compares texts (the shorter padded with blanks): greater than a single
// blank when the first character that is not a blank comes after it.
bool greaterThanBlank(std::string_view text) {
    for (char c : text)
        if (c != ' ') return static_cast<unsigned char>(c) > ' ';
    return false;
}

bool holdsText(std::string_view text) {
    return text.find_first_not_of(" \r\n") != std::string_view::npos;
}

void notInitialized() {
    MessageBoxRequest box;
    box.caption = "Error";
    box.text = "ReqFldClass not initialized.";
    currentFrontEnd().messageBox(box);
}

}  // namespace

std::string barePrompt(std::string_view prompt) {
    std::string bare;
    for (char c : prompt)
        if (c != '&' && c != ':') bare += c;
    return bare;
}

void ReqFldClass::Init(Window& window, std::string_view title, std::string_view messageTemplate,
                       std::uint8_t flag, const FormFields* fields) {
    window_ = &window;
    fields_ = fields;
    title_ = firstCharacters(title, kTitleLength);
    template_ = firstCharacters(messageTemplate, kTemplateLength);
    flag_ = flag;
    entries_.clear();
    overrides_.clear();
    current_ = 0;
    std::string prompt;
    for (const auto& control : window.controls()) {
        if (control->type() == ControlType::Prompt) {
            prompt = firstCharacters(barePrompt(control->text()), kInitPromptLength);
        } else if (isCheckedInput(control->type()) && control->required()) {
            // A layout names the field itself where the prompt before it does not say it well.
            const std::string& label = control->declared().label;
            entries_[control->number()] =
                Entry{label.empty() ? prompt : firstCharacters(barePrompt(label), kEntryTextLength),
                      firstCharacters(control->message(), kEntryTextLength),
                      firstCharacters(control->tip(), kEntryTextLength),
                      firstCharacters(control->name(), kFieldNameLength)};
        }
    }
}

bool ReqFldClass::ready() const {
    if (window_ != nullptr) return true;
    notInitialized();
    return false;
}

void ReqFldClass::Register(std::string_view control, bool force, std::string_view field,
                           std::string_view message, std::string_view tip,
                           std::string_view prompt) {
    if (!ready()) return;
    const int number = window_->control(control).number();
    if (!force && !entries_.contains(number)) return;
    entries_[number] =
        Entry{firstCharacters(barePrompt(prompt), kEntryTextLength),
              firstCharacters(message, kEntryTextLength), firstCharacters(tip, kEntryTextLength),
              firstCharacters(field, kFieldNameLength)};
}

void ReqFldClass::SetOverride(std::string_view control, std::string_view caption,
                              std::string_view text) {
    if (!ready()) return;
    overrides_[window_->control(control).number()] =
        Override{firstCharacters(caption, kTitleLength), firstCharacters(text, kTemplateLength)};
}

int ReqFldClass::Check(bool skipDisabled) {
    if (!ready()) return 0;
    if (fields_ != nullptr) fields_->updateAll();
    for (const auto& [number, entry] : entries_) {
        if (number < 1 || number > window_->controlCount()) continue;
        Control& control = window_->control(number);
        const bool textBox = control.type() == ControlType::TextBox;
        if (!control.isVisible() || (skipDisabled && !control.isEnabled()) || control.readOnly() ||
            (!control.required() && !textBox))
            continue;
        if (filled(control)) continue;
        current_ = number;
        window_->select(control);
        ShowMessage();
        return number;
    }
    return 0;
}

bool ReqFldClass::filled(Control& control) const {
    if (control.type() == ControlType::TextBox) {
        if (holdsText(control.value())) return true;
        control.setValue("");
        if (fields_ != nullptr) fields_->update(control);
        return false;
    }
    if (countsZeroAsEmpty(control.picture())) return !isZero(control.value(), control.picture());
    return greaterThanBlank(control.value());
}

void ReqFldClass::ShowMessage() {
    if (!ready() || current_ == 0) return;
    const Override shown = messageFor(current_);
    MessageBoxRequest box;
    box.caption = shown.caption;
    box.text = shown.text;
    box.icon = MessageIcon::Information;
    box.buttons = kButtonOk;
    box.defaultButton = kButtonOk;
    currentFrontEnd().messageBox(box);
}

ReqFldClass::Override ReqFldClass::messageFor(int control) const {
    if (auto it = overrides_.find(control); it != overrides_.end()) return it->second;
    const auto it = entries_.find(control);
    if (it == entries_.end()) return {title_, template_};
    const Entry& entry = it->second;
    std::string text = template_;
    replaceFirst(text, "@PROMPT", "\"" + entry.prompt + "\"");
    replaceFirst(text, "@MSG", entry.message);
    replaceFirst(text, "@TIP", entry.tip);
    replaceFirst(text, "@FIELD", "\"" + entry.field + "\"");
    return {title_, text};
}

}  // namespace dv
