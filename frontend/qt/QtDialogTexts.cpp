#include "frontend/qt/QtDialogs.h"

namespace dv {

QString messageBoxText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1Char('|'), QLatin1Char('\n'));
    return shown;
}

QString windowTitleText(const std::string& caption) {
    QString title = QString::fromStdString(caption);
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return title;
}

}  // namespace dv
