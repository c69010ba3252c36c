#pragma once
// The lightcurve against time: each session's differential magnitudes with their error
// bars, at JD less a whole day named on the axis.

#include "gui/point_plot.h"

namespace corvane {

class TimeView : public PointPlot {
    Q_OBJECT
  public:
    explicit TimeView(QWidget* parent = nullptr);

    void Show(const Lightcurve& curve);

    // The whole day taken off the JDs on the axis.
    double Day() const { return day_; }

  private:
    double day_ = 0;
};

}  // namespace corvane
