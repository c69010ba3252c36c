#pragma once
// "RAW Options": the layout of a raw pixel dump. The fields go in as text; OK hands what
// the user typed to the program's OK logic and closes only when it accepts.

#include <QDialog>

#include "platform/dialogs.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace corvane {

class RawOptionsDialog : public QDialog {
    Q_OBJECT
public:
    RawOptionsDialog(RawDialogFields& fields, const DialogOk<RawDialogFields>& ok,
                     QWidget* parent = nullptr);

    // What the controls hold now.
    RawDialogFields Fields() const;

private:
    void OnOk();

    RawDialogFields& fields_;
    const DialogOk<RawDialogFields>& ok_;
    QLineEdit* columns_ = nullptr;
    QLineEdit* rows_ = nullptr;
    QLineEdit* headerBytes_ = nullptr;
    QLineEdit* skipRows_ = nullptr;
    QLineEdit* bzero_ = nullptr;
    QRadioButton* eightBit_ = nullptr;
    QRadioButton* sixteenBit_ = nullptr;
    QRadioButton* floatBits_ = nullptr;
    QCheckBox* swapBytes_ = nullptr;
};

}  // namespace corvane
