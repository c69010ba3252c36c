#pragma once
// "Select": which objects are measured, and which star is the reference.

#include <QDialog>

#include "platform/dialogs.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;

namespace corvane {

class SelectDialog : public QDialog {
    Q_OBJECT
public:
    SelectDialog(QWidget* parent, SelectDialogFields& fields, DialogOk<SelectDialogFields> ok);

    QCheckBox* AsteroidBox() const { return asteroidBox_; }
    QCheckBox* StarBox(int index) const { return starBoxes_[index]; }
    QRadioButton* ReferenceButton(int index) const { return referenceButtons_[index]; }
    QLabel* StarX(int index) const { return xLabels_[index]; }
    QLabel* StarY(int index) const { return yLabels_[index]; }

private:
    void OnOk();

    SelectDialogFields& fields_;
    DialogOk<SelectDialogFields> ok_;
    QCheckBox* asteroidBox_ = nullptr;       // 2048
    QCheckBox* starBoxes_[16] = {};          // 1032 to 1047
    QRadioButton* referenceButtons_[16] = {};  // 22 to 37
    QLabel* xLabels_[16] = {};               // 1001 to 1016
    QLabel* yLabels_[16] = {};               // 2001 to 2016
};

}  // namespace corvane
