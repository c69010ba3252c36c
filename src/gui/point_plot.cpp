#include "gui/point_plot.h"

#include <QToolTip>
#include <array>
#include <cmath>

namespace corvane {

namespace {

// A point answers the pointer within this distance, in pixels.
constexpr double kPickPixels = 8;
// Space left around the data, as a fraction of its range.
constexpr double kAxisMargin = 0.05;

}  // namespace

QColor SessionColour(int number) {
    static constexpr std::array<QRgb, 8> kColours = {0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e,
                                                     0x9467bd, 0x8c564b, 0xe377c2, 0x17becf};
    const std::size_t i = static_cast<std::size_t>(std::max(number - 1, 0)) % kColours.size();
    return QColor(kColours[i]);
}

QString PointText(const LightcurvePoint& p) {
    return QString("%1\nJD %2, mag %3 ± %4, session %5")
        .arg(QString::fromStdString(p.key.image))
        .arg(p.jd, 0, 'f', 6)
        .arg(p.mag, 0, 'f', 4)
        .arg(p.err, 0, 'f', 4)
        .arg(p.session);
}

void ShowPlotMessage(QCustomPlot& plot, const QString& text) {
    auto* item = new QCPItemText(&plot);
    item->position->setType(QCPItemPosition::ptAxisRectRatio);
    item->position->setCoords(0.5, 0.5);
    item->setText(text);
}

PointPlot::PointPlot(QWidget* parent) : QCustomPlot(parent) {
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setMouseTracking(true);
    legend->setVisible(true);
    legend->setFont(QFont(font().family(), 8));
    connect(this, &QCustomPlot::mouseMove, this, [this](QMouseEvent* event) {
        const std::optional<std::size_t> at = PointAt(event->pos());
        if (at) {
            QToolTip::showText(event->globalPosition().toPoint(), PointText(points_[*at].point),
                               this);
        } else {
            QToolTip::hideText();
        }
    });
    connect(this, &QCustomPlot::mousePress, this, [this](QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) {
            return;
        }
        if (const std::optional<std::size_t> at = PointAt(event->pos())) {
            emit PointClicked(points_[*at].point.key);
        }
    });
}

void PointPlot::SetPickable(std::vector<PlotPoint> points) {
    points_ = std::move(points);
    ring_ = addGraph();
    ring_->setLineStyle(QCPGraph::lsNone);
    ring_->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::black, 2), Qt::NoBrush, 14));
    ring_->setName("selected");
    ring_->removeFromLegend();
}

void PointPlot::Highlight(const std::optional<RecordKey>& key) {
    if (ring_ == nullptr) {
        return;
    }
    QVector<double> x, y;
    for (const PlotPoint& p : points_) {
        if (key && p.point.key == *key) {
            x.push_back(p.x);
            y.push_back(p.y);
        }
    }
    ring_->setData(x, y);
    replot();
}

std::optional<std::size_t> PointPlot::PointAt(QPoint pixel) const {
    std::optional<std::size_t> nearest;
    double best = kPickPixels;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const double dx = xAxis->coordToPixel(points_[i].x) - pixel.x();
        const double dy = yAxis->coordToPixel(points_[i].y) - pixel.y();
        const double d = std::hypot(dx, dy);
        if (d <= best) {
            best = d;
            nearest = i;
        }
    }
    return nearest;
}

void PointPlot::Clear() {
    clearPlottables();
    clearItems();
    ring_ = nullptr;
    points_.clear();
}

QCPGraph* PointPlot::AddSession(int number, const QVector<double>& keys,
                                const QVector<double>& values, const QVector<double>& errors) {
    const QColor colour = SessionColour(number);
    QCPGraph* graph = addGraph();
    graph->setName(QString("Session %1").arg(number));
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, colour, colour, 5));
    graph->setData(keys, values, true);
    auto* bars = new QCPErrorBars(xAxis, yAxis);
    bars->removeFromLegend();
    bars->setPen(QPen(colour.lighter(130)));
    bars->setDataPlottable(graph);
    bars->setData(errors);
    return graph;
}

void PointPlot::SetMagnitudeAxis(const QString& label) {
    yAxis->setLabel(label);
    yAxis->setRangeReversed(true);
}

void PointPlot::FitAxes() {
    rescaleAxes();
    for (QCPAxis* axis : {xAxis, yAxis}) {
        const QCPRange r = axis->range();
        const double margin = std::max(r.size() * kAxisMargin, 1e-3);
        axis->setRange(r.lower - margin, r.upper + margin);
    }
}

}  // namespace corvane
