#pragma once
// The lightcurve window's controls: per session the comparison ensemble (the check's
// ratio beside each star, a warning mark on a probable variable) and the light-time
// correction; the order and period range of the search; a period to fold on.

#include <QWidget>
#include <map>
#include <optional>
#include <vector>

#include "lightcurve/lightcurve_choices.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace corvane {

class LightcurveControls : public QWidget {
    Q_OBJECT
  public:
    explicit LightcurveControls(QWidget* parent = nullptr);

    // The sessions of `curve`; the session shown stays shown while it exists.
    void Show(const Lightcurve& curve, const RecordSet& set, const LightcurveChoices& choices);

    int Session() const;  // the number of the session shown, 0 for none
    int Order() const;
    double MinHours() const;
    double MaxHours() const;
    std::optional<double> TypedPeriod() const;  // none: fold on the best period

    QComboBox* Sessions() const { return sessions_; }
    QCheckBox* StarBox(int star) const;
    QLabel* CheckLabel(int star) const;
    QLabel* WarningMark(int star) const;
    QLineEdit* LightTime() const { return lightTime_; }
    QComboBox* LightTimeUnit() const { return unit_; }
    QSpinBox* OrderBox() const { return order_; }
    QDoubleSpinBox* MinBox() const { return minHours_; }
    QDoubleSpinBox* MaxBox() const { return maxHours_; }
    QLineEdit* PeriodEdit() const { return period_; }

  signals:
    void EnsembleChanged(int session, std::vector<int> stars);
    void LightTimeChanged(int session, LightTimeEntry entry);
    void SearchChanged();
    void PeriodTyped();

  private:
    // What the controls show of one session.
    struct SessionSummary {
        int number = 0;
        std::vector<int> measured;  // stars with a row in some record of the session
        std::vector<int> comps;
        std::vector<ComparisonCheck> checks;
        LightTimeEntry lightTime;
    };
    struct StarRow {
        QCheckBox* box = nullptr;
        QLabel* check = nullptr;
        QLabel* warning = nullptr;
    };

    void ShowSession();
    void EmitEnsemble();
    void EmitLightTime();
    const SessionSummary* Shown() const;

    std::vector<SessionSummary> summaries_;
    QComboBox* sessions_ = nullptr;
    QWidget* stars_ = nullptr;
    QGridLayout* starGrid_ = nullptr;
    std::map<int, StarRow> starRows_;
    QLineEdit* lightTime_ = nullptr;
    QComboBox* unit_ = nullptr;
    QSpinBox* order_ = nullptr;
    QDoubleSpinBox* minHours_ = nullptr;
    QDoubleSpinBox* maxHours_ = nullptr;
    QLineEdit* period_ = nullptr;
};

}  // namespace corvane
