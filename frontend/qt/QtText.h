#pragma once

#include <QColor>
#include <QString>
#include <optional>
#include <string>

#include "runtime/ControlLayout.h"

namespace dv {

// The model's texts are UTF-8; Qt's are QString.
inline QString toQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string fromQString(const QString& text) {
    return text.toUtf8().toStdString();
}

// A model colour (red in the lowest byte, then green, then blue) as Qt's; nothing for the
// front end's own colour.
inline std::optional<QColor> toQColor(Colour colour) {
    if (colour == kDefaultColour) return std::nullopt;
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace dv
