#pragma once
// The header dialog: the observation header of the loaded image, read-only, in two
// columns of labels and values.

#include <QDialog>

#include "platform/dialogs.h"

namespace corvane {

class HeaderDialog : public QDialog {
    Q_OBJECT
public:
    explicit HeaderDialog(const HeaderDialogFields& fields, QWidget* parent = nullptr);
};

}  // namespace corvane
