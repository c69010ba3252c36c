#include "gui/open_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace corvane {

QStringList QtNameFilters(const OpenFileRequest& request) {
    QStringList filters;
    for (const OpenFileFilter& f : request.filters) {
        QStringList patterns;
        for (const QString& p :
             QString::fromStdString(f.patterns).split(';', Qt::SkipEmptyParts)) {
            if (p == "*.*") {
                patterns << "*";
                continue;
            }
            patterns << p.toLower() << p.toUpper();
        }
        patterns.removeDuplicates();
        filters << QString::fromStdString(f.name) + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

std::optional<OpenFileChoice> RunOpenDialog(const OpenFileRequest& request, QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters = QtNameFilters(request);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    }
    dialog.setDirectory(request.initialDirectory.empty()
                            ? QDir::currentPath()
                            : QString::fromStdString(request.initialDirectory));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().first();
    QDir::setCurrent(QFileInfo(path).absolutePath());
    OpenFileChoice choice;
    choice.path = path.toStdString();
    choice.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.filterIndex < 1) {
        choice.filterIndex = request.filterIndex;
    }
    return choice;
}

}  // namespace corvane
