// The open and save-as dialogs. Paths cross to and from Qt as file-system names; titles and
// filters are the editor's own texts.
#include "ui/FileDialogs.h"

#include <QFile>
#include <QFileDialog>

#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

QString filterString(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& filter : filters) {
        QString patterns = fromWindows1252(filter.patterns);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        parts << QStringLiteral("%1 (%2)").arg(fromWindows1252(filter.description), patterns);
    }
    return parts.join(QStringLiteral(";;"));
}

QString pathText(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

} // namespace

std::vector<std::string> runOpenDialog(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, fromWindows1252(request.title), pathText(request.initialDirectory),
                       filterString(request.filters));
    dialog.setFileMode(!request.mustExist                            ? QFileDialog::AnyFile
                       : request.selection == FileSelection::Several ? QFileDialog::ExistingFiles
                                                                     : QFileDialog::ExistingFile);
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& file : dialog.selectedFiles()) {
            chosen.push_back(QFile::encodeName(file).toStdString());
        }
    }
    return chosen;
}

std::optional<std::string> runSaveDialog(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, fromWindows1252(request.title), pathText(request.initialDirectory),
                       filterString(request.filters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(fromWindows1252(request.defaultExtension));
    if (!request.initialName.empty()) {
        dialog.selectFile(pathText(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

} // namespace vexa::ui
