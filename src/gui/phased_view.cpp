#include "gui/phased_view.h"

#include <algorithm>
#include <numeric>

namespace corvane {

namespace {

// The Fourier sum is drawn through this many equal steps of one cycle.
constexpr int kCurveSteps = 200;

}  // namespace

PhasedView::PhasedView(QWidget* parent) : PointPlot(parent) {
    xAxis->setLabel("Phase");
    SetMagnitudeAxis("Magnitude − session zero point");
}

void PhasedView::Show(const PeriodSearchInput& input, const PeriodResult& fit,
                      const std::vector<LightcurvePoint>& points) {
    Clear();
    fourier_ = nullptr;
    const std::vector<PhasedPoint> phased = PhasedPoints(input, fit);
    xAxis->setLabel(QString("Phase at P = %1 h").arg(fit.hours, 0, 'f', 4));
    std::vector<std::size_t> order(phased.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return phased[a].phase < phased[b].phase;
    });
    std::vector<PlotPoint> pickable;
    for (int session = 1; session <= input.sessions; ++session) {
        QVector<double> x, y, err;
        for (std::size_t i : order) {
            if (phased[i].session == session) {
                x.push_back(phased[i].phase);
                y.push_back(phased[i].mag);
                err.push_back(phased[i].err);
                pickable.push_back({phased[i].phase, phased[i].mag, points.at(i)});
            }
        }
        if (!x.empty()) {
            AddSession(session, x, y, err);
        }
    }
    QVector<double> phase, sum;
    for (int i = 0; i <= kCurveSteps; ++i) {
        phase.push_back(static_cast<double>(i) / kCurveSteps);
        sum.push_back(FourierSum(fit.coefficients, phase.back()));
    }
    fourier_ = addGraph();
    fourier_->setName(QString("Fourier series, order %1").arg(fit.order));
    fourier_->setPen(QPen(Qt::black, 1.5));
    fourier_->setData(phase, sum, true);
    SetPickable(std::move(pickable));
    FitAxes();
    xAxis->setRange(0, 1);
    replot();
}

void PhasedView::ShowNothing(const QString& why) {
    Clear();
    fourier_ = nullptr;
    xAxis->setLabel("Phase");
    ShowPlotMessage(*this, why);
    replot();
}

}  // namespace corvane
