#include "gui/record_panel.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/point_plot.h"

namespace corvane {

RecordPanel::RecordPanel(QWidget* parent) : QWidget(parent) {
    auto* group = new QGroupBox("Selected record");
    auto* inner = new QVBoxLayout(group);
    selected_ = new QLabel("Click a point to select its record.");
    selected_->setWordWrap(true);
    selected_->setTextFormat(Qt::PlainText);
    // The image path and the values, a long path on two lines.
    selected_->setMinimumHeight(3 * selected_->fontMetrics().lineSpacing());
    selected_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    selected_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    inner->addWidget(selected_);
    auto* buttons = new QHBoxLayout;
    leaveOut_ = new QPushButton("Leave out");
    takeBack_ = new QPushButton("Take back");
    buttons->addWidget(leaveOut_);
    buttons->addWidget(takeBack_);
    inner->addLayout(buttons);
    inner->addWidget(new QLabel("Records without a point:"));
    leftOut_ = new QListWidget;
    inner->addWidget(leftOut_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);

    connect(leaveOut_, &QPushButton::clicked, this, [this] { emit LeaveOut(); });
    connect(takeBack_, &QPushButton::clicked, this, [this] { emit TakeBack(); });
    connect(leftOut_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) < listed_.size() && listed_[row]) {
            emit Picked(*listed_[row]);
        }
    });
}

void RecordPanel::Show(const Lightcurve& curve, const std::optional<RecordKey>& selected,
                       bool takenOut) {
    const auto point = std::find_if(curve.points.begin(), curve.points.end(),
                                    [&](const auto& p) { return selected && p.key == *selected; });
    const auto left = std::find_if(curve.leftOut.begin(), curve.leftOut.end(),
                                   [&](const auto& r) { return selected && r.key == selected; });
    if (point != curve.points.end()) {
        selected_->setText(PointText(*point));
    } else if (left != curve.leftOut.end()) {
        selected_->setText(QString("%1\nno point: %2")
                               .arg(QString::fromStdString(left->image))
                               .arg(QString::fromStdString(left->reason)));
    } else {
        selected_->setText("Click a point to select its record.");
    }
    leaveOut_->setEnabled(point != curve.points.end());
    takeBack_->setEnabled(takenOut);

    const QSignalBlocker block(leftOut_);
    leftOut_->clear();
    listed_.clear();
    for (const LeftOutRecord& r : curve.leftOut) {
        leftOut_->addItem(QString("%1 — %2")
                              .arg(QString::fromStdString(r.image))
                              .arg(QString::fromStdString(r.reason)));
        listed_.push_back(r.key);
        if (selected && r.key == selected) {
            leftOut_->setCurrentRow(leftOut_->count() - 1);
        }
    }
}

}  // namespace corvane
