#include "framework/FormFields.h"

#include "runtime/ControlType.h"
#include "runtime/PictureFormat.h"

namespace dv {
namespace {

// The control's picture, when it shows its value through one.
std::optional<Picture> pictureOf(const Control& control) {
    const ControlType type = control.type();
    if (control.picture().empty() ||
        (type != ControlType::Entry && type != ControlType::Spin && type != ControlType::Combo))
        return std::nullopt;
    return Picture::parse(control.picture());
}

}  // namespace

std::string controlText(const Control& control, const ExpressionValue& value) {
    const std::optional<Picture> picture = pictureOf(control);
    if (!picture) return value.toText();
    switch (picture->kind()) {
        case PictureKind::number:
            return format(value.toNumber(), *picture);
        case PictureKind::date:
            return formatDate(static_cast<DayNumber>(value.toNumber().unitsAt(0)), *picture);
        case PictureKind::time:
            return formatTime(static_cast<TimeValue>(value.toNumber().unitsAt(0)), *picture);
        case PictureKind::pattern:
            if (value.isNumber()) return format(value.toNumber(), *picture);
            return formatText(value.toText(), *picture);
        case PictureKind::text:
            break;
    }
    return formatText(value.toText(), *picture);
}

std::optional<ExpressionValue> controlValue(const Control& control, ValueKind kind) {
    const std::optional<Picture> picture = pictureOf(control);
    const std::string& text = control.value();
    if (!picture) return ExpressionValue::text(text);
    switch (picture->kind()) {
        case PictureKind::number: {
            auto read = deformat(text, *picture);
            if (!read.ok()) return std::nullopt;
            return ExpressionValue::number(read.value);
        }
        case PictureKind::date: {
            auto read = deformatDate(text, *picture);
            if (!read.ok()) return std::nullopt;
            return ExpressionValue::number(Decimal(read.value));
        }
        case PictureKind::time: {
            auto read = deformatTime(text, *picture);
            if (!read.ok()) return std::nullopt;
            return ExpressionValue::number(Decimal(read.value));
        }
        case PictureKind::pattern:
            if (kind == ValueKind::Number) {
                auto read = deformat(text, *picture);
                if (!read.ok()) return std::nullopt;
                return ExpressionValue::number(read.value);
            }
            break;
        case PictureKind::text:
            break;
    }
    return ExpressionValue::text(text);
}

FormFields::FormFields(Window& window) : window_(window) {
    for (const auto& control : window.controls()) {
        if (!isInputType(control->type()) || control->name().empty()) continue;
        if (auto variable = FormVariable::find(control->name()))
            bound_.emplace(control->number(), *variable);
    }
}

const FormVariable* FormFields::variableOf(const Control& control) const {
    if (&control.window() != &window_) return nullptr;
    auto it = bound_.find(control.number());
    return it == bound_.end() ? nullptr : &it->second;
}

void FormFields::display() const {
    for (const auto& [number, variable] : bound_) {
        Control& control = window_.control(number);
        if (!control.changedByUser()) display(control);
    }
}

void FormFields::display(Control& control) const {
    if (const FormVariable* variable = variableOf(control))
        control.setValue(controlText(control, variable->read()));
}

bool FormFields::update(const Control& control) const {
    const FormVariable* variable = variableOf(control);
    if (variable == nullptr) return false;
    const auto value = controlValue(control, variable->kind());
    return value && variable->write(*value);
}

void FormFields::updateAll() const {
    for (const auto& [number, variable] : bound_) update(window_.control(number));
}

void FormFields::updateChanged() const {
    for (const auto& [number, variable] : bound_)
        if (window_.control(number).changedByUser()) update(window_.control(number));
}

}  // namespace dv
