#pragma once
// The record selected in the lightcurve window, with "Leave out" and "Take back", and the
// records that give no point, each with its reason.

#include <QWidget>
#include <optional>
#include <vector>

#include "lightcurve/lightcurve.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace corvane {

class RecordPanel : public QWidget {
    Q_OBJECT
  public:
    explicit RecordPanel(QWidget* parent = nullptr);

    // `selected` is the record the user picked; `takenOut` whether the user left it out.
    void Show(const Lightcurve& curve, const std::optional<RecordKey>& selected, bool takenOut);

    QLabel* Selected() const { return selected_; }
    QPushButton* LeaveOutButton() const { return leaveOut_; }
    QPushButton* TakeBackButton() const { return takeBack_; }
    QListWidget* LeftOut() const { return leftOut_; }

  signals:
    void LeaveOut();
    void TakeBack();
    void Picked(const RecordKey& key);

  private:
    std::vector<std::optional<RecordKey>> listed_;  // beside the rows of the list
    QLabel* selected_ = nullptr;
    QPushButton* leaveOut_ = nullptr;
    QPushButton* takeBack_ = nullptr;
    QListWidget* leftOut_ = nullptr;
};

}  // namespace corvane
