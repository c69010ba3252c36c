#include "gui/time_view.h"

#include <cmath>

namespace corvane {

TimeView::TimeView(QWidget* parent) : PointPlot(parent) {
    xAxis->setLabel("JD");
    SetMagnitudeAxis("Differential magnitude");
}

void TimeView::Show(const Lightcurve& curve) {
    Clear();
    day_ = curve.points.empty() ? 0 : std::floor(curve.points.front().jd);
    xAxis->setLabel(curve.points.empty() ? QString("JD") : QString("JD − %1").arg(day_, 0, 'f', 0));
    std::vector<PlotPoint> pickable;
    for (const LightcurveSession& session : curve.sessions) {
        QVector<double> x, y, err;
        for (const LightcurvePoint& p : PointsOfSession(curve, session.number)) {
            x.push_back(p.jd - day_);
            y.push_back(p.mag);
            err.push_back(p.err);
            pickable.push_back({p.jd - day_, p.mag, p});
        }
        if (!x.empty()) {
            AddSession(session.number, x, y, err);
        }
    }
    SetPickable(std::move(pickable));
    FitAxes();
    replot();
}

}  // namespace corvane
