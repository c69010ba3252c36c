#pragma once
// The lightcurve folded on a period: each point at its phase with its session's zero point
// taken off, beneath the fitted Fourier sum.

#include "gui/point_plot.h"
#include "lightcurve/period_search.h"

namespace corvane {

class PhasedView : public PointPlot {
    Q_OBJECT
  public:
    explicit PhasedView(QWidget* parent = nullptr);

    // `points` are the lightcurve's points the fit's input was made from, in its order.
    void Show(const PeriodSearchInput& input, const PeriodResult& fit,
              const std::vector<LightcurvePoint>& points);
    // Nothing to fold: `why` in place of the curve.
    void ShowNothing(const QString& why);

    QCPGraph* FourierCurve() const { return fourier_; }

  private:
    QCPGraph* fourier_ = nullptr;
};

}  // namespace corvane
