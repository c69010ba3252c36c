#include "gui/open_dialog.h"

#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>
#include <algorithm>

#include "gui/desktop_geometry.h"

namespace corvane {

namespace {

// Once the dialog shows (its children laid out), its file list gets a date column as
// wide as a date is written here, and the dialog grows until every column is in view.
class ShowAllColumns : public QObject {
public:
    explicit ShowAllColumns(QFileDialog& dialog) : QObject(&dialog), dialog_(dialog) {
        dialog.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && event->type() == QEvent::Show) {
            Fit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Fit() {
        auto* list = dialog_.findChild<QTreeView*>("treeView");
        if (list == nullptr) {
            return;
        }
        QHeaderView* header = list->header();
        constexpr int kDateColumn = 3;
        // The file list writes dates in the short form of the system's language; this
        // one has the widest digits of a year, a month and a day in most fonts.
        const QString date = QLocale::system().toString(
            QDateTime(QDate(2000, 10, 28), QTime(20, 58, 58)), QLocale::ShortFormat);
        const int itemMargin = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        const int dateWidth = list->fontMetrics().horizontalAdvance(date) + 2 * itemMargin;
        header->resizeSection(kDateColumn, std::max(header->sectionSize(kDateColumn), dateWidth));
        const int needed = header->length() + list->verticalScrollBar()->sizeHint().width() +
                           2 * list->frameWidth();
        const int missing = needed - list->width();
        if (missing > 0) {
            const QRect area = AvailableArea(dialog_);
            dialog_.resize(std::min(dialog_.width() + missing, area.width()), dialog_.height());
            // Grown to the right: back onto the screen when that took it past the edge.
            const int beyond = dialog_.frameGeometry().right() - area.right();
            if (beyond > 0) {
                dialog_.move(std::max(area.left(), dialog_.x() - beyond), dialog_.y());
            }
        }
    }

    QFileDialog& dialog_;
};

}  // namespace

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
    new ShowAllColumns(dialog);
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
