#include "gui/edit_pixel_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

namespace corvane {

namespace {

QString Formatted(const char* format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

}  // namespace

EditPixelDialog::EditPixelDialog(EditPixelDialogFields& fields, DialogOk<EditPixelDialogFields> ok,
                                 QWidget* parent)
    : QDialog(parent), fields_(fields), ok_(std::move(ok)) {
    setWindowTitle("Edit Pixel");
    setModal(true);

    auto* prompt = new QLabel("Enter New Pixel Value", this);
    auto* x = new QLabel(Formatted("X=%d", fields_.column), this);
    x->setObjectName("x");
    auto* y = new QLabel(Formatted("Y=%d", fields_.row), this);
    y->setObjectName("y");
    auto* dn = new QLabel("DN=", this);
    value_ = new QLineEdit(QString::fromStdString(fields_.value), this);
    value_->setObjectName("value");
    value_->selectAll();
    dn->setBuddy(value_);

    auto* grid = new QGridLayout;
    grid->addWidget(x, 0, 0);
    grid->addWidget(y, 0, 1);
    grid->addWidget(dn, 1, 0, Qt::AlignRight);
    grid->addWidget(value_, 1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &EditPixelDialog::PressOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void EditPixelDialog::PressOk() {
    EditPixelDialogFields typed = fields_;
    typed.value = value_->text().toStdString();
    if (ok_ && ok_(typed)) {
        fields_ = typed;
        accept();
    }
    // Otherwise the dialog stays open with the entry as typed, without a message.
}

}  // namespace corvane
