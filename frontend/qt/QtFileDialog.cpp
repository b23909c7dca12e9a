#include <QFileDialog>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "data/ProgramDirectory.h"
#include "frontend/qt/DialogAnswerHook.h"
#include "frontend/qt/QtDialogs.h"

namespace dv {
namespace {

QStringList splitFilter(const std::string& filter) {
    QStringList parts;
    std::string::size_type begin = 0;
    while (begin <= filter.size()) {
        const std::string::size_type end = std::min(filter.find('|', begin), filter.size());
        parts << QString::fromStdString(filter.substr(begin, end - begin)).trimmed();
        begin = end + 1;
    }
    // A filter may end in a "|" of its own: no description follows it.
    if (parts.size() % 2 == 1 && parts.last().isEmpty()) parts.removeLast();
    return parts;
}

// "*.txt;*.csv" → "*.txt *.csv"; nothing given means every file.
QString qtPatterns(const QString& patterns) {
    const QStringList each = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QStringList trimmed;
    for (const QString& pattern : each)
        if (!pattern.trimmed().isEmpty()) trimmed << pattern.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("*") : trimmed.join(QLatin1Char(' '));
}

bool isDirectory(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// Where the dialog starts: a folder, or a file (selected) in its folder.
void setStartPath(QFileDialog& dialog, const std::string& stored) {
    if (stored.empty()) return;
    const std::filesystem::path path = hostPath(stored);
    if (isDirectory(path)) {
        dialog.setDirectory(QString::fromStdString(path.string()));
        return;
    }
    if (path.has_parent_path() && isDirectory(path.parent_path()))
        dialog.setDirectory(QString::fromStdString(path.parent_path().string()));
    if (path.has_filename()) dialog.selectFile(QString::fromStdString(path.filename().string()));
}

}  // namespace

QString qtFileFilter(const std::string& filter) {
    if (filter.empty()) return {};
    const QStringList parts = splitFilter(filter);
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString patterns = qtPatterns(i + 1 < parts.size() ? parts[i + 1] : QString());
        const QString description = parts[i].isEmpty() ? patterns : parts[i];
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

std::unique_ptr<QFileDialog> buildFileDialog(const FileDialogRequest& request, QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, windowTitleText(request.caption));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    if (request.directory) {
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
    } else if (request.save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
    } else {
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.directory && !request.filter.empty())
        dialog->setNameFilters(qtFileFilter(request.filter).split(QStringLiteral(";;")));
    setStartPath(*dialog, request.path);
    return dialog;
}

std::optional<std::string> showFileDialog(const FileDialogRequest& request, QWidget* parent) {
    if (const std::optional<int> answer = hookedDialogAnswer(kDialogFileDialog)) {
        if (*answer != 1 || request.path.empty()) return std::nullopt;
        return hostPath(request.path);
    }
    const std::unique_ptr<QFileDialog> dialog = buildFileDialog(request, parent);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.first().toStdString();
}

}  // namespace dv
