#pragma once
// A plot of lightcurve points that knows which record each point came from: hovering over
// a point shows its record, a click selects it, and the selected record is ringed.

#include <qcustomplot.h>

#include <optional>
#include <vector>

#include "lightcurve/lightcurve.h"

namespace corvane {

// The colour of session `number` (from 1) in every view.
QColor SessionColour(int number);

// A point's record and values as the window shows them: the image path, then the JD,
// magnitude with its error, and session.
QString PointText(const LightcurvePoint& point);

// `text` in the middle of an empty plot, where a curve would be.
void ShowPlotMessage(QCustomPlot& plot, const QString& text);

// A point as the plot shows it, with its record.
struct PlotPoint {
    double x = 0;
    double y = 0;
    LightcurvePoint point;
};

class PointPlot : public QCustomPlot {
    Q_OBJECT
  public:
    explicit PointPlot(QWidget* parent = nullptr);

    // The points that answer hovering and clicks; call after the plottables are drawn,
    // since it adds the ring of the selection over them.
    void SetPickable(std::vector<PlotPoint> points);
    const std::vector<PlotPoint>& Pickable() const { return points_; }

    // Rings the point of `key`, when it is shown.
    void Highlight(const std::optional<RecordKey>& key);

    // The point nearest to `pixel` within a few pixels.
    std::optional<std::size_t> PointAt(QPoint pixel) const;

  signals:
    void PointClicked(const RecordKey& key);

  protected:
    // Everything drawn goes, and the points with it.
    void Clear();
    // Points of each session as one graph with its error bars; `errors` run beside
    // `keys` and `values`, which must be sorted by key.
    QCPGraph* AddSession(int number, const QVector<double>& keys, const QVector<double>& values,
                         const QVector<double>& errors);
    // Magnitudes grow downwards, as astronomers plot them.
    void SetMagnitudeAxis(const QString& label);
    // The axes around everything drawn, with a margin.
    void FitAxes();

  private:
    std::vector<PlotPoint> points_;
    QCPGraph* ring_ = nullptr;
};

}  // namespace corvane
