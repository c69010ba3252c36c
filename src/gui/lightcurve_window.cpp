#include "gui/lightcurve_window.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/alcdef_dialog.h"
#include "gui/lightcurve_controls.h"
#include "gui/phased_view.h"
#include "gui/record_panel.h"
#include "gui/spectrum_view.h"
#include "gui/time_view.h"
#include "lightcurve/points_csv.h"
#include "platform/output_file.h"

namespace corvane {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// One name for a file however it was reached.
std::string FullPath(const std::string& path) {
    const QFileInfo info(Q(path));
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.absoluteFilePath() : canonical).toStdString();
}

QString PeriodText(const PeriodResult& r) {
    if (!r.found) {
        return "No period: " + Q(r.reason) + ".";
    }
    QString text = QString("Best period %1").arg(r.hours, 0, 'f', 5);
    if (r.sigmaHours) {
        text += QString(" ± %1").arg(*r.sigmaHours, 0, 'f', 5);
    }
    text += QString(" h, amplitude %1 mag, rms %2 mag (order %3)")
                .arg(r.amplitude, 0, 'f', 3)
                .arg(r.rms, 0, 'f', 4)
                .arg(r.order);
    for (const SpectrumValue& alias : r.aliases) {
        text += QString("; %1 h: rms %2").arg(alias.hours, 0, 'f', 4).arg(alias.rms, 0, 'f', 4);
    }
    return text;
}

}  // namespace

LightcurveWindow::LightcurveWindow(QWidget* owner, std::function<void()> listFilesOpened)
    : QWidget(owner, Qt::Window), listFilesOpened_(std::move(listFilesOpened)) {
    setWindowTitle("Lightcurve");
    setAttribute(Qt::WA_DeleteOnClose);
    worker_ = new PeriodWorker(this);

    auto* add = new QPushButton("Add list files...");
    auto* alcdef = new QPushButton("Export ALCDEF...");
    auto* csv = new QPushButton("Export CSV...");
    auto* picture = new QPushButton("Save picture...");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, alcdef, csv, picture}) {
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    controls_ = new LightcurveControls;
    panel_ = new RecordPanel;
    auto* side = new QVBoxLayout;
    side->addWidget(controls_);
    side->addWidget(panel_, 1);
    auto* sideWidget = new QWidget;
    sideWidget->setLayout(side);
    sideWidget->setFixedWidth(320);
    side->setContentsMargins(0, 0, 0, 0);

    times_ = new TimeView;
    spectrum_ = new SpectrumView;
    phased_ = new PhasedView;
    views_ = new QTabWidget;
    views_->addTab(times_, "Lightcurve");
    views_->addTab(spectrum_, "Period spectrum");
    views_->addTab(phased_, "Phased");
    result_ = new QLabel;
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* main = new QVBoxLayout;
    main->addLayout(buttons);
    main->addWidget(views_, 1);
    main->addWidget(result_);
    auto* body = new QHBoxLayout;
    body->addWidget(sideWidget);
    body->addLayout(main, 1);

    counts_ = new QLabel;
    note_ = new QLabel;
    note_->setWordWrap(true);
    progress_ = new QProgressBar;
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(160);
    progress_->hide();
    auto* status = new QHBoxLayout;
    status->addWidget(counts_);
    status->addWidget(note_, 1);
    status->addWidget(progress_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(status);
    resize(1120, 720);

    connect(add, &QPushButton::clicked, this, [this] { AddListFilesCommand(); });
    connect(alcdef, &QPushButton::clicked, this, [this] { ExportAlcdefCommand(); });
    connect(csv, &QPushButton::clicked, this, [this] { ExportCsvCommand(); });
    connect(picture, &QPushButton::clicked, this, [this] { SavePictureCommand(); });
    connect(worker_, &PeriodWorker::Progress, this, [this](int percent) {
        progress_->setValue(percent);
        progress_->show();
    });
    connect(worker_, &PeriodWorker::Done, this,
            [this](std::shared_ptr<const PeriodOutcome> outcome) { ApplyPeriod(outcome); });
    connect(controls_, &LightcurveControls::EnsembleChanged, this,
            [this](int number, std::vector<int> stars) {
                if (const LightcurveSession* session = SessionNumbered(number)) {
                    ChoiceFor(choices_, set_, *session).comps = std::move(stars);
                    Recompute();
                }
            });
    connect(controls_, &LightcurveControls::LightTimeChanged, this,
            [this](int number, LightTimeEntry entry) {
                if (const LightcurveSession* session = SessionNumbered(number)) {
                    ChoiceFor(choices_, set_, *session).lightTime = entry;
                    Recompute();
                }
            });
    connect(controls_, &LightcurveControls::SearchChanged, this, [this] { RequestSearch(); });
    connect(controls_, &LightcurveControls::PeriodTyped, this, [this] { ShowPhased(); });
    for (PointPlot* plot : {static_cast<PointPlot*>(times_), static_cast<PointPlot*>(phased_)}) {
        connect(plot, &PointPlot::PointClicked, this,
                [this](const RecordKey& key) { Select(key); });
    }
    connect(panel_, &RecordPanel::Picked, this, [this](const RecordKey& key) { Select(key); });
    connect(panel_, &RecordPanel::LeaveOut, this, [this] { LeaveOutSelected(); });
    connect(panel_, &RecordPanel::TakeBack, this, [this] { TakeBackSelected(); });
    Recompute();
}

LightcurveWindow::~LightcurveWindow() = default;

bool LightcurveWindow::event(QEvent* event) {
    // The main window's scrolling keys work from every window of the program; here they
    // move within the window's own lists, boxes and fields instead.
    if (event->type() == QEvent::ShortcutOverride) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
                event->accept();
                return true;
            default:
                break;
        }
    }
    return QWidget::event(event);
}

void LightcurveWindow::ShowListFile(const std::string& path) {
    if (!path.empty() && read_.count(FullPath(path)) == 0) {
        ReadListFile(path);
        Recompute();
    }
}

bool LightcurveWindow::AddListFiles(const QStringList& paths) {
    bool all = true, any = false;
    for (const QString& path : paths) {
        if (read_.count(FullPath(path.toStdString())) != 0) {
            ShowNote(path + " is shown already.", false);
            continue;
        }
        const bool read = ReadListFile(path.toStdString());
        all = all && read;
        any = any || read;
    }
    if (any && listFilesOpened_) {
        listFilesOpened_();
    }
    Recompute();
    return all;
}

bool LightcurveWindow::ReadListFile(const std::string& path) {
    ListFileProblem problem;
    if (!AddListFile(set_, path, problem)) {
        ShowNote(Q(problem.Text()), true);
        return false;
    }
    read_.insert(FullPath(path));
    for (const CutOffRecord& c : set_.cutOff) {
        if (c.file == path) {
            ShowNote(QString("%1, line %2: the record starting here is cut off by the end of the "
                             "file; left out")
                         .arg(Q(c.file))
                         .arg(c.line),
                     true);
        }
    }
    return true;
}

void LightcurveWindow::RecordWritten(const std::string& listPath, std::string_view record) {
    // A list file not read yet comes whole: what it held before this record belongs to the
    // lightcurve as much as the record does.
    if (read_.count(FullPath(listPath)) == 0 && ReadListFile(listPath)) {
        Recompute();
        return;
    }
    ListFileProblem problem;
    if (!AddListText(set_, record, listPath, problem)) {
        ShowNote(Q(problem.Text()), true);
        return;
    }
    Recompute();
}

const LightcurveSession* LightcurveWindow::SessionNumbered(int number) const {
    auto found = std::find_if(curve_.sessions.begin(), curve_.sessions.end(),
                              [number](const LightcurveSession& s) { return s.number == number; });
    return found != curve_.sessions.end() ? &*found : nullptr;
}

void LightcurveWindow::Recompute() {
    std::string problem;
    if (!ComputeLightcurve(set_, OptionsOf(set_, choices_), curve_, problem)) {
        ShowNote(Q(problem), true);
    }
    controls_->Show(curve_, set_, choices_);
    times_->Show(curve_);
    counts_->setText(QString("%1 records, %2 points, %3 sessions, %4 without a point")
                         .arg(set_.records.size() + set_.cutOff.size())
                         .arg(curve_.points.size())
                         .arg(curve_.sessions.size())
                         .arg(curve_.leftOut.size()));
    ShowSelection();
    RequestSearch();
}

void LightcurveWindow::RequestSearch() {
    input_ =
        PeriodInputOf(curve_, controls_->Order(), controls_->MinHours(), controls_->MaxHours());
    worker_->Request(input_, curve_.points);
    ShowPhased();
}

void LightcurveWindow::ApplyPeriod(std::shared_ptr<const PeriodOutcome> outcome) {
    period_ = std::move(outcome);
    progress_->hide();
    const PeriodResult& r = period_->result;
    if (r.found) {
        spectrum_->Show(r);
    } else {
        spectrum_->ShowNothing("No period: " + Q(r.reason));
    }
    result_->setText(PeriodText(r));
    ShowPhased();
}

void LightcurveWindow::ShowPhased() {
    if (const std::optional<double> typed = controls_->TypedPeriod()) {
        const PeriodResult fit = FitAtPeriod(input_, *typed);
        if (fit.found) {
            phased_->Show(input_, fit, curve_.points);
        } else {
            phased_->ShowNothing("No fit: " + Q(fit.reason));
        }
    } else if (period_ && period_->result.found) {
        phased_->Show(period_->input, period_->result, period_->points);
    } else {
        phased_->ShowNothing(period_ ? "No period: " + Q(period_->result.reason)
                                     : QString("Searching for the period..."));
    }
    phased_->Highlight(selected_);
}

void LightcurveWindow::Select(const std::optional<RecordKey>& key) {
    selected_ = key;
    ShowSelection();
}

void LightcurveWindow::ShowSelection() {
    const bool takenOut = selected_ && choices_.leftOut.count(*selected_) != 0;
    panel_->Show(curve_, selected_, takenOut);
    times_->Highlight(selected_);
    phased_->Highlight(selected_);
}

void LightcurveWindow::LeaveOutSelected() {
    const bool isPoint =
        selected_ && std::any_of(curve_.points.begin(), curve_.points.end(),
                                 [&](const LightcurvePoint& p) { return p.key == *selected_; });
    if (isPoint) {
        choices_.leftOut.insert(*selected_);
        Recompute();
    }
}

void LightcurveWindow::TakeBackSelected() {
    if (selected_ && choices_.leftOut.erase(*selected_) != 0) {
        Recompute();
    }
}

bool LightcurveWindow::ExportCsv(const QString& path) {
    if (!WriteFileBytes(path.toStdString(), PointsCsv(curve_))) {
        ShowNote(path + " cannot be written.", true);
        return false;
    }
    ShowNote(QString("%1 points written to %2.").arg(curve_.points.size()).arg(path), false);
    return true;
}

bool LightcurveWindow::SavePicture(const QString& path) {
    auto* plot = qobject_cast<QCustomPlot*>(views_->currentWidget());
    const bool saved =
        path.endsWith(".pdf", Qt::CaseInsensitive) ? plot->savePdf(path) : plot->savePng(path);
    ShowNote(saved ? path + " saved." : path + " cannot be written.", !saved);
    return saved;
}

void LightcurveWindow::ShowNote(const QString& text, bool problem) {
    note_->setStyleSheet(problem ? "color: #b00000" : "");
    note_->setText(text);
}

void LightcurveWindow::AddListFilesCommand() {
    const QStringList paths = QFileDialog::getOpenFileNames(this, "Add list files", QString(),
                                                            "List files (*.lis);;All files (*)");
    if (!paths.isEmpty()) {
        AddListFiles(paths);
    }
}

void LightcurveWindow::ExportAlcdefCommand() {
    AlcdefDialog dialog(this, set_, curve_, alcdefMeta_, alcdefPath_);
    const bool written = dialog.exec() == QDialog::Accepted;
    alcdefMeta_ = dialog.Metadata();
    alcdefPath_ = dialog.Path();
    if (!written) {
        return;
    }
    QString text =
        QString("%1 ALCDEF blocks written to %2.").arg(dialog.Written().blocks).arg(dialog.Path());
    for (int session : dialog.Written().tooFewPoints) {
        text += QString(" Session %1 has fewer than two points: no block.").arg(session);
    }
    ShowNote(text, false);
}

void LightcurveWindow::ExportCsvCommand() {
    const QString path = QFileDialog::getSaveFileName(this, "Export CSV", QString(),
                                                      "CSV files (*.csv);;All files (*)");
    if (!path.isEmpty()) {
        ExportCsv(path);
    }
}

void LightcurveWindow::SavePictureCommand() {
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, "Save picture", QString(),
                                                "PNG image (*.png);;PDF document (*.pdf)", &filter);
    if (path.isEmpty()) {
        return;
    }
    const QString suffix = filter.startsWith("PDF") ? ".pdf" : ".png";
    if (QFileInfo(path).suffix().isEmpty()) {
        path += suffix;
    }
    SavePicture(path);
}

}  // namespace corvane
