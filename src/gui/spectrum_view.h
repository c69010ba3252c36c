#pragma once
// The period spectrum: the weighted rms of the Fourier fit against the trial period, with
// the best period and its aliases at half and double marked.

#include <qcustomplot.h>

#include "lightcurve/period_search.h"

namespace corvane {

class SpectrumView : public QCustomPlot {
    Q_OBJECT
  public:
    explicit SpectrumView(QWidget* parent = nullptr);

    void Show(const PeriodResult& result);
    void ShowNothing(const QString& why);

    QCPGraph* Spectrum() const { return spectrum_; }
    QCPGraph* Best() const { return best_; }
    QCPGraph* Aliases() const { return aliases_; }

  private:
    void Reset();
    void Mark(double hours, const QString& label, const QPen& pen);

    QCPGraph* spectrum_ = nullptr;
    QCPGraph* best_ = nullptr;
    QCPGraph* aliases_ = nullptr;
};

}  // namespace corvane
