#include "gui/manual_levels_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvane {

ManualLevelsDialog::ManualLevelsDialog(QWidget* parent, const ManualLevelsFields& fields,
                                       DialogOk<ManualLevelsFields> ok)
    : QDialog(parent), ok_(std::move(ok)) {
    setWindowTitle("Show");
    // A caption without the system menu and its close box: OK or Cancel end the dialog.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);

    low_ = new QLineEdit(QString::fromStdString(fields.low), this);
    high_ = new QLineEdit(QString::fromStdString(fields.high), this);
    low_->setObjectName("low");
    high_->setObjectName("high");
    auto* okButton = new QPushButton("OK", this);
    auto* cancelButton = new QPushButton("Cancel", this);
    okButton->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Min", this), 0, 0);
    layout->addWidget(low_, 0, 1);
    layout->addWidget(new QLabel("Max", this), 1, 0);
    layout->addWidget(high_, 1, 1);
    layout->addWidget(okButton, 0, 2);
    layout->addWidget(cancelButton, 1, 2);

    connect(okButton, &QPushButton::clicked, this, &ManualLevelsDialog::PressOk);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

ManualLevelsFields ManualLevelsDialog::Fields() const {
    return {low_->text().toStdString(), high_->text().toStdString()};
}

void ManualLevelsDialog::PressOk() {
    if (ok_(Fields())) {
        accept();
    }
}

}  // namespace corvane
