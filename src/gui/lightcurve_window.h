#pragma once
// The window "Lightcurve": the records of the current list file and of the list files the
// user adds, drawn as the lightcurve against time, the period spectrum and the curve
// folded on the period, all as src/lightcurve computes them. Each run accepted adds its
// record at once; the period search runs on the window's own worker thread.
//
// The list files are only ever read here. What the user chooses (ensembles, light time,
// points left out) lives as long as the window.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "gui/period_worker.h"
#include "lightcurve/alcdef_export.h"
#include "lightcurve/lightcurve_choices.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace corvane {

class LightcurveControls;
class PhasedView;
class RecordPanel;
class SpectrumView;
class TimeView;

class LightcurveWindow : public QWidget {
    Q_OBJECT
  public:
    // `listFilesOpened` is called whenever the user has opened list files here.
    LightcurveWindow(QWidget* owner, std::function<void()> listFilesOpened);
    ~LightcurveWindow() override;

    // The list file the runs append to: read unless it has been read already.
    void ShowListFile(const std::string& path);
    // "Add list files...": every file not read yet. False when one could not be read; the
    // reason is shown.
    bool AddListFiles(const QStringList& paths);
    // A run appended `record` to the list file `listPath`.
    void RecordWritten(const std::string& listPath, std::string_view record);

    void Select(const std::optional<RecordKey>& key);
    void LeaveOutSelected();
    void TakeBackSelected();

    bool ExportCsv(const QString& path);
    // The view in front, as PNG, or as PDF when `path` ends in ".pdf".
    bool SavePicture(const QString& path);

    const RecordSet& Records() const { return set_; }
    const Lightcurve& Curve() const { return curve_; }
    const LightcurveChoices& Choices() const { return choices_; }
    const std::optional<RecordKey>& Selection() const { return selected_; }
    // The newest search that has finished, or null.
    const PeriodOutcome* Period() const { return period_.get(); }
    bool Searching() const { return worker_->Busy(); }

    TimeView* Times() const { return times_; }
    SpectrumView* Spectrum() const { return spectrum_; }
    PhasedView* Phased() const { return phased_; }
    QTabWidget* Views() const { return views_; }
    LightcurveControls* Controls() const { return controls_; }
    RecordPanel* Panel() const { return panel_; }
    QLabel* Result() const { return result_; }
    QLabel* Note() const { return note_; }
    QProgressBar* Progress() const { return progress_; }

  protected:
    bool event(QEvent* event) override;

  private:
    void AddListFilesCommand();
    void ExportAlcdefCommand();
    void ExportCsvCommand();
    void SavePictureCommand();

    bool ReadListFile(const std::string& path);
    void Recompute();
    void RequestSearch();
    void ApplyPeriod(std::shared_ptr<const PeriodOutcome> outcome);
    void ShowPhased();
    void ShowSelection();
    void ShowNote(const QString& text, bool problem);
    const LightcurveSession* SessionNumbered(int number) const;

    std::function<void()> listFilesOpened_;
    std::set<std::string> read_;  // the list files read, by their full paths
    RecordSet set_;
    LightcurveChoices choices_;
    Lightcurve curve_;
    PeriodSearchInput input_;  // of the newest search requested
    std::shared_ptr<const PeriodOutcome> period_;
    std::optional<RecordKey> selected_;
    AlcdefMetadata alcdefMeta_;  // what the user gave last, offered again
    QString alcdefPath_;

    PeriodWorker* worker_ = nullptr;
    LightcurveControls* controls_ = nullptr;
    RecordPanel* panel_ = nullptr;
    QTabWidget* views_ = nullptr;
    TimeView* times_ = nullptr;
    SpectrumView* spectrum_ = nullptr;
    PhasedView* phased_ = nullptr;
    QLabel* result_ = nullptr;
    QLabel* counts_ = nullptr;
    QLabel* note_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace corvane
