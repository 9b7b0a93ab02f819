#include "platform/linux/QtFileDialogs.h"

#include <QFile>
#include <QFileDialog>

namespace velmor::platform {
namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<std::string> chosen(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(path).toStdString();
}

}  // namespace

QStringList nameFilters(std::string_view filter) {
    const QStringList parts = fromUtf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (!patterns.isEmpty()) {
            filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                           QLatin1Char(')');
        }
    }
    return filters;
}

std::optional<std::string> QtFileDialogs::fileDialog(const FileRequest& request, bool save) {
    QFileDialog dialog(owner_, fromUtf8(request.title), fromUtf8(request.folder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(request.filterIndex - 1, filters.front()));
    }
    if (!request.fileName.empty()) {
        dialog.selectFile(fromUtf8(request.fileName));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return chosen(dialog.selectedFiles().value(0));
}

std::optional<std::string> QtFileDialogs::openFile(const FileRequest& request) {
    return fileDialog(request, false);
}

std::optional<std::string> QtFileDialogs::saveFile(const FileRequest& request) {
    return fileDialog(request, true);
}

std::optional<std::string> QtFileDialogs::browseFolder(std::string_view title) {
    return chosen(QFileDialog::getExistingDirectory(
        owner_, fromUtf8(title), QString(),
        QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog));
}

}  // namespace velmor::platform
