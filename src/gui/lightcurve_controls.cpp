#include "gui/lightcurve_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "lightcurve/period_search.h"

namespace corvane {

namespace {

// A number as typed, with a point for the decimals whatever the locale; none when empty
// or not a number.
std::optional<double> TypedNumber(const QLineEdit* edit) {
    bool ok = false;
    const double value = QLocale::c().toDouble(edit->text().trimmed(), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QLineEdit* NumberEdit(const QString& placeholder) {
    auto* edit = new QLineEdit;
    auto* validator = new QDoubleValidator(edit);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::StandardNotation);
    edit->setValidator(validator);
    edit->setPlaceholderText(placeholder);
    return edit;
}

QDoubleSpinBox* HoursBox(double value) {
    auto* box = new QDoubleSpinBox;
    box->setRange(0.01, 10000);
    box->setDecimals(2);
    box->setValue(value);
    box->setSuffix(" h");
    box->setKeyboardTracking(false);
    return box;
}

}  // namespace

LightcurveControls::LightcurveControls(QWidget* parent) : QWidget(parent) {
    auto* sessionGroup = new QGroupBox("Session");
    auto* sessionLayout = new QVBoxLayout(sessionGroup);
    sessions_ = new QComboBox;
    sessionLayout->addWidget(sessions_);
    sessionLayout->addWidget(new QLabel("Comparison stars:"));
    stars_ = new QWidget;
    starGrid_ = new QGridLayout(stars_);
    starGrid_->setContentsMargins(0, 0, 0, 0);
    sessionLayout->addWidget(stars_);
    auto* lightRow = new QHBoxLayout;
    lightRow->addWidget(new QLabel("Light time:"));
    lightTime_ = NumberEdit("none");
    unit_ = new QComboBox;
    unit_->addItems({"Δ (AU)", "LTCDAYS (d)"});
    lightRow->addWidget(lightTime_, 1);
    lightRow->addWidget(unit_);
    sessionLayout->addLayout(lightRow);

    auto* searchGroup = new QGroupBox("Period search");
    auto* form = new QFormLayout(searchGroup);
    order_ = new QSpinBox;
    order_->setRange(kMinOrder, kMaxOrder);
    order_->setValue(kDefaultOrder);
    order_->setKeyboardTracking(false);
    form->addRow("Order:", order_);
    minHours_ = HoursBox(kDefaultMinHours);
    maxHours_ = HoursBox(kDefaultMaxHours);
    auto* range = new QHBoxLayout;
    range->addWidget(minHours_);
    range->addWidget(new QLabel("to"));
    range->addWidget(maxHours_);
    form->addRow("Periods:", range);
    period_ = NumberEdit("best");
    form->addRow("Fold on (h):", period_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sessionGroup);
    layout->addWidget(searchGroup);

    connect(sessions_, &QComboBox::currentIndexChanged, this, [this] { ShowSession(); });
    connect(lightTime_, &QLineEdit::editingFinished, this, [this] { EmitLightTime(); });
    connect(unit_, &QComboBox::currentIndexChanged, this, [this] { EmitLightTime(); });
    connect(order_, &QSpinBox::valueChanged, this, [this] { emit SearchChanged(); });
    for (QDoubleSpinBox* box : {minHours_, maxHours_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { emit SearchChanged(); });
    }
    connect(period_, &QLineEdit::editingFinished, this, [this] { emit PeriodTyped(); });
}

void LightcurveControls::Show(const Lightcurve& curve, const RecordSet& set,
                              const LightcurveChoices& choices) {
    const int shown = Session();
    summaries_.clear();
    for (const LightcurveSession& session : curve.sessions) {
        SessionSummary s;
        s.number = session.number;
        std::set<int> measured;
        for (std::size_t i : session.recordIndices) {
            for (const ListRow& row : set.records[i].stars) {
                measured.insert(row.star);
            }
        }
        s.measured.assign(measured.begin(), measured.end());
        s.comps = session.comps;
        for (const SessionCheck& c : curve.comps) {
            if (c.session == session.number) {
                s.checks.push_back(c.check);
            }
        }
        if (const SessionChoice* choice = ChoiceOf(choices, set, session)) {
            s.lightTime = choice->lightTime;
        }
        summaries_.push_back(std::move(s));
    }
    const QSignalBlocker block(sessions_);
    sessions_->clear();
    for (const SessionSummary& s : summaries_) {
        sessions_->addItem(QString("Session %1").arg(s.number), s.number);
    }
    const int again = sessions_->findData(shown);
    sessions_->setCurrentIndex(again >= 0 ? again : 0);
    ShowSession();
}

int LightcurveControls::Session() const {
    return sessions_->currentIndex() >= 0 ? sessions_->currentData().toInt() : 0;
}

const LightcurveControls::SessionSummary* LightcurveControls::Shown() const {
    const int number = Session();
    for (const SessionSummary& s : summaries_) {
        if (s.number == number) {
            return &s;
        }
    }
    return nullptr;
}

void LightcurveControls::ShowSession() {
    // The boxes go later: one of them may be the sender of the change that led here.
    for (auto& [star, row] : starRows_) {
        for (QWidget* w : {static_cast<QWidget*>(row.box), static_cast<QWidget*>(row.check),
                           static_cast<QWidget*>(row.warning)}) {
            starGrid_->removeWidget(w);
            w->hide();
            w->deleteLater();
        }
    }
    starRows_.clear();
    const SessionSummary* s = Shown();
    {
        const QSignalBlocker blockText(lightTime_);
        const QSignalBlocker blockUnit(unit_);
        const LightTimeEntry entry = s != nullptr ? s->lightTime : LightTimeEntry{};
        lightTime_->setText(entry.value != 0 ? QString::number(entry.value, 'g', 10) : QString());
        unit_->setCurrentIndex(entry.deltaAu ? 0 : 1);
    }
    if (s == nullptr) {
        return;
    }
    const QPixmap warning = style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(14, 14);
    int line = 0;
    for (int star : s->measured) {
        StarRow row;
        row.box = new QCheckBox(QString("Star %1").arg(star));
        const bool inEnsemble = std::count(s->comps.begin(), s->comps.end(), star) > 0;
        row.box->setChecked(inEnsemble);
        // The last star of an ensemble stays: with none named the default comes back.
        row.box->setEnabled(!(inEnsemble && s->comps.size() == 1));
        row.check = new QLabel;
        row.warning = new QLabel;
        row.warning->setPixmap(warning);
        row.warning->setVisible(false);
        for (const ComparisonCheck& c : s->checks) {
            if (c.star != star) {
                continue;
            }
            row.check->setText(c.ratio ? QString("ratio %1").arg(*c.ratio, 0, 'f', 2)
                                       : QString("ratio –"));
            row.check->setToolTip(QString("rms %1 mag, expected %2 mag")
                                      .arg(c.rms, 0, 'f', 4)
                                      .arg(c.expected, 0, 'f', 4));
            row.warning->setVisible(c.variable);
            row.warning->setToolTip(
                "Probably variable: its scatter is more than three times "
                "what its errors predict");
        }
        starGrid_->addWidget(row.box, line, 0);
        starGrid_->addWidget(row.check, line, 1);
        starGrid_->addWidget(row.warning, line, 2);
        connect(row.box, &QCheckBox::toggled, this, [this] { EmitEnsemble(); });
        starRows_[star] = row;
        ++line;
    }
}

void LightcurveControls::EmitEnsemble() {
    std::vector<int> stars;
    for (const auto& [star, row] : starRows_) {
        if (row.box->isChecked()) {
            stars.push_back(star);
        }
    }
    if (!stars.empty()) {
        emit EnsembleChanged(Session(), stars);
    }
}

void LightcurveControls::EmitLightTime() {
    if (Session() == 0) {
        return;
    }
    LightTimeEntry entry;
    entry.value = TypedNumber(lightTime_).value_or(0);
    entry.deltaAu = unit_->currentIndex() == 0;
    emit LightTimeChanged(Session(), entry);
}

QCheckBox* LightcurveControls::StarBox(int star) const {
    auto row = starRows_.find(star);
    return row != starRows_.end() ? row->second.box : nullptr;
}

QLabel* LightcurveControls::CheckLabel(int star) const {
    auto row = starRows_.find(star);
    return row != starRows_.end() ? row->second.check : nullptr;
}

QLabel* LightcurveControls::WarningMark(int star) const {
    auto row = starRows_.find(star);
    return row != starRows_.end() ? row->second.warning : nullptr;
}

int LightcurveControls::Order() const {
    return order_->value();
}
double LightcurveControls::MinHours() const {
    return minHours_->value();
}
double LightcurveControls::MaxHours() const {
    return maxHours_->value();
}

std::optional<double> LightcurveControls::TypedPeriod() const {
    std::optional<double> hours = TypedNumber(period_);
    return hours && *hours > 0 ? hours : std::nullopt;
}

}  // namespace corvane
