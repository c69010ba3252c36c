#pragma once
// "Edit Pixel": the new true value of one pixel, typed as a signed decimal.

#include <QDialog>

#include "platform/dialogs.h"

class QLineEdit;

namespace corvane {

class EditPixelDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the pixel's position and its value from `fields`. OK hands the typed text to
    // `ok` and closes the dialog only when it agrees; `fields` then holds the text.
    EditPixelDialog(EditPixelDialogFields& fields, DialogOk<EditPixelDialogFields> ok,
                    QWidget* parent);

    QLineEdit* ValueField() const { return value_; }

private:
    void PressOk();

    EditPixelDialogFields& fields_;
    DialogOk<EditPixelDialogFields> ok_;
    QLineEdit* value_ = nullptr;
};

}  // namespace corvane
