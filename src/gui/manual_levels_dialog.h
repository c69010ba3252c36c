#pragma once
// "Show": the two display limits typed by hand. OK hands the texts to the program's OK
// logic and closes only when it accepts them.

#include <QDialog>

#include "platform/dialogs.h"

class QLineEdit;

namespace corvane {

class ManualLevelsDialog : public QDialog {
    Q_OBJECT
public:
    ManualLevelsDialog(QWidget* parent, const ManualLevelsFields& fields,
                       DialogOk<ManualLevelsFields> ok);

    // The texts as they stand in the edit fields.
    ManualLevelsFields Fields() const;

private:
    void PressOk();

    DialogOk<ManualLevelsFields> ok_;
    QLineEdit* low_ = nullptr;   // "Min"
    QLineEdit* high_ = nullptr;  // "Max"
};

}  // namespace corvane
