#include "runtime/Control.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "runtime/PictureFormat.h"
#include "runtime/Window.h"

namespace dv {

Control::Control(Window& window, int number, const ControlLayout& declared, Control* parent)
    : window_(window),
      number_(number),
      declared_(declared),
      parent_(parent),
      text_(declared.text),
      tip_(declared.tip),
      message_(declared.message),
      picture_(declared.picture),
      required_(declared.required),
      enabled_(!declared.disabled),
      hidden_(declared.hidden),
      readOnly_(declared.readOnly),
      foreground_(declared.foreground),
      background_(declared.background) {
    if (declared.type == ControlType::Check) value_ = declared.falseValue;
}

void Control::setValue(std::string value) {
    value_ = std::move(value);
    changedByUser_ = false;
}

bool Control::isEnabled() const {
    return enabled_ && (parent_ == nullptr || parent_->isEnabled());
}

bool Control::isVisible() const {
    if (hidden_) return false;
    if (parent_ == nullptr) return true;
    if (parent_->type() == ControlType::Tab) {
        const Control* sheet = parent_->parent();
        if (sheet && sheet->chosenTab() != parent_) return false;
    }
    return parent_->isVisible();
}

bool Control::canFocus() const {
    switch (type()) {
        case ControlType::Entry:
        case ControlType::Spin:
        case ControlType::TextBox:
        case ControlType::Combo:
        case ControlType::DropList:
        case ControlType::Check:
        case ControlType::Button:
        case ControlType::List:
        case ControlType::Radio:
            break;
        default:
            return false;
    }
    if (parent_ && (parent_->type() == ControlType::Toolbar)) return false;
    return isVisible() && isEnabled();
}

void Control::alert(KeyCode key) {
    if (!alerted(key)) alerts_.push_back(key);
}

void Control::unalert(KeyCode key) {
    std::erase(alerts_, key);
}

bool Control::alerted(KeyCode key) const {
    return std::find(alerts_.begin(), alerts_.end(), key) != alerts_.end();
}

bool Control::chosen() const {
    return type() == ControlType::Radio && parent_ && parent_->value() == radioValue_;
}

std::vector<Control*> Control::members() const {
    return window_.childrenOf(*this);
}

Control* Control::chosenTab() const {
    if (type() != ControlType::Sheet) return nullptr;
    const auto tabs = members();
    const std::size_t index = static_cast<std::size_t>(std::atoi(value_.c_str()));
    return index >= 1 && index <= tabs.size() ? tabs[index - 1] : nullptr;
}

void Control::chooseTab(Control& tab) {
    const auto tabs = members();
    auto it = std::find(tabs.begin(), tabs.end(), &tab);
    if (it == tabs.end())
        throw std::invalid_argument(tab.describe() + " is not a tab of " + describe());
    setValue(std::to_string(it - tabs.begin() + 1));
}

void Control::setRows(std::vector<ListRow> rows) {
    rows_ = std::move(rows);
    marks_.assign(rows_.size(), false);
    highlight(highlighted_);
}

bool Control::marked(int row) const {
    return row >= 1 && row <= static_cast<int>(marks_.size()) &&
           marks_[static_cast<std::size_t>(row - 1)];
}

void Control::setMarks(std::vector<bool> marks) {
    marks.resize(rows_.size(), false);
    marks_ = std::move(marks);
}

ListRow& Control::row(int number) {
    if (number < 1 || number > rowCount())
        throw std::out_of_range(describe() + " has no row " + std::to_string(number));
    return rows_[static_cast<std::size_t>(number - 1)];
}

const ListCell& Control::cell(int rowNumber, int column) const {
    if (rowNumber < 1 || rowNumber > rowCount())
        throw std::out_of_range(describe() + " has no row " + std::to_string(rowNumber));
    const ListRow& r = rows_[static_cast<std::size_t>(rowNumber - 1)];
    if (column < 1 || column > static_cast<int>(r.size()))
        throw std::out_of_range(describe() + " row " + std::to_string(rowNumber) +
                                " has no column " + std::to_string(column));
    return r[static_cast<std::size_t>(column - 1)];
}

void Control::highlight(int row) {
    if (rows_.empty())
        highlighted_ = 0;
    else
        highlighted_ = std::clamp(row, 1, rowCount());
}

namespace {

// The value read back through the picture and shown again; nothing when it does not fit.
std::optional<std::string> throughPicture(const std::string& value, const Picture& picture,
                                          InputError& error) {
    switch (picture.kind()) {
        case PictureKind::number: {
            auto read = deformat(value, picture);
            error = read.error;
            if (!read.ok()) return std::nullopt;
            return format(read.value, picture);
        }
        case PictureKind::date: {
            auto read = deformatDate(value, picture);
            error = read.error;
            if (!read.ok()) return std::nullopt;
            return formatDate(read.value, picture);
        }
        case PictureKind::time: {
            auto read = deformatTime(value, picture);
            error = read.error;
            if (!read.ok()) return std::nullopt;
            return formatTime(read.value, picture);
        }
        case PictureKind::text:
        case PictureKind::pattern:
            error = InputError::none;
            return formatText(value, picture);
    }
    return std::nullopt;
}

bool usesPicture(ControlType type) {
    return type == ControlType::Entry || type == ControlType::Spin || type == ControlType::Combo;
}

}  // namespace

std::string Control::pictureProblem() const {
    if (picture_.empty() || !usesPicture(type())) return {};
    const auto picture = Picture::parse(picture_);
    if (!picture) return {};
    InputError error = InputError::none;
    if (throughPicture(value_, *picture, error)) return {};
    return inputErrorMessage(error, *picture);
}

void Control::reformat() {
    if (picture_.empty() || !usesPicture(type())) return;
    const auto picture = Picture::parse(picture_);
    if (!picture) return;
    InputError error = InputError::none;
    if (auto shown = throughPicture(value_, *picture, error)) value_ = std::move(*shown);
}

std::string Control::displayText() const {
    if (isInputType(type())) return value_;
    if (type() == ControlType::Sheet) {
        const Control* tab = chosenTab();
        return tab ? tab->text() : std::string();
    }
    if (type() == ControlType::List) {
        if (highlighted_ == 0) return {};
        std::string shown;
        for (const ListCell& c : rows_[static_cast<std::size_t>(highlighted_ - 1)]) {
            if (!shown.empty()) shown += '|';
            shown += c.text;
        }
        return shown;
    }
    return text_;
}

std::string Control::describe() const {
    if (!name().empty()) return "?" + name();
    std::string shown(controlTypeKeyword(type()));
    if (!text_.empty()) shown += " \"" + text_ + "\"";
    return shown;
}

}  // namespace dv
