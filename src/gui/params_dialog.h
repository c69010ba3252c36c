#pragma once
// "Corvane -- Parameter Input": the number of apertures and boxes, the two aperture sizes
// and the centring mode, as typed.

#include <QDialog>

#include "platform/dialogs.h"

class QLineEdit;
class QRadioButton;

namespace corvane {

class ParamsDialog : public QDialog {
    Q_OBJECT
public:
    ParamsDialog(QWidget* parent, ParamsDialogFields& fields, DialogOk<ParamsDialogFields> ok);

    // The edit field of control id 501 to 508.
    QLineEdit* Field(int id) const;
    QRadioButton* Manual() const { return manual_; }
    QRadioButton* Automatic() const { return automatic_; }

private:
    void OnOk();

    ParamsDialogFields& fields_;
    DialogOk<ParamsDialogFields> ok_;
    QLineEdit* edits_[8] = {};  // 501 to 508
    QRadioButton* manual_ = nullptr;     // 509
    QRadioButton* automatic_ = nullptr;  // 510
};

}  // namespace corvane
