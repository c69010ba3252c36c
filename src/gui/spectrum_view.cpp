#include "gui/spectrum_view.h"

#include "gui/point_plot.h"

namespace corvane {

SpectrumView::SpectrumView(QWidget* parent) : QCustomPlot(parent) {
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    xAxis->setLabel("Period (h)");
    yAxis->setLabel("Weighted rms (mag)");
    legend->setVisible(true);
    legend->setFont(QFont(font().family(), 8));
}

void SpectrumView::Reset() {
    clearPlottables();
    clearItems();
    spectrum_ = best_ = aliases_ = nullptr;
}

void SpectrumView::ShowNothing(const QString& why) {
    Reset();
    ShowPlotMessage(*this, why);
    replot();
}

void SpectrumView::Show(const PeriodResult& result) {
    Reset();
    // The grid runs up in frequency, so down in period: the graph sorts it.
    QVector<double> hours, rms;
    for (const SpectrumValue& v : result.spectrum) {
        hours.push_back(v.hours);
        rms.push_back(v.rms);
    }
    spectrum_ = addGraph();
    spectrum_->setName(QString("Order %1").arg(result.order));
    spectrum_->setPen(QPen(QColor(0x1f77b4), 1));
    spectrum_->setData(hours, rms);

    aliases_ = addGraph();
    aliases_->setName("P / 2 and 2 P");
    aliases_->setLineStyle(QCPGraph::lsNone);
    aliases_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDiamond, QColor(0xff7f0e), 9));
    QVector<double> aliasHours, aliasRms;
    for (const SpectrumValue& v : result.aliases) {
        aliasHours.push_back(v.hours);
        aliasRms.push_back(v.rms);
    }
    aliases_->setData(aliasHours, aliasRms);

    best_ = addGraph();
    best_->setName(QString("Best: %1 h").arg(result.hours, 0, 'f', 4));
    best_->setLineStyle(QCPGraph::lsNone);
    best_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, QColor(0xd62728), 9));
    best_->setData({result.hours}, {result.rms});

    rescaleAxes();
    const QCPRange y = yAxis->range();
    yAxis->setRange(y.lower - 0.05 * y.size(), y.upper + 0.08 * y.size());
    Mark(result.hours, "P", QPen(QColor(0xd62728), 1));
    QPen dashed(QColor(0xff7f0e), 1, Qt::DashLine);
    Mark(result.hours / 2, "P/2", dashed);
    Mark(result.hours * 2, "2P", dashed);
    replot();
}

void SpectrumView::Mark(double hours, const QString& label, const QPen& pen) {
    auto* line = new QCPItemStraightLine(this);
    line->setPen(pen);
    line->point1->setCoords(hours, 0);
    line->point2->setCoords(hours, 1);
    auto* text = new QCPItemText(this);
    text->position->setTypeX(QCPItemPosition::ptPlotCoords);
    text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    text->position->setCoords(hours, 0);
    text->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setColor(pen.color());
    text->setText(label);
}

}  // namespace corvane
