#include "gui/raw_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

QLineEdit* AddEdit(QFormLayout* form, const char* label, const std::string& text,
                   const char* name) {
    auto* edit = new QLineEdit(QString::fromStdString(text));
    edit->setObjectName(name);
    form->addRow(new QLabel(label), edit);
    return edit;
}

}  // namespace

RawOptionsDialog::RawOptionsDialog(RawDialogFields& fields, const DialogOk<RawDialogFields>& ok,
                                   QWidget* parent)
    : QDialog(parent), fields_(fields), ok_(ok) {
    setWindowTitle("RAW Options");

    auto* size = new QGroupBox("Image size");
    auto* sizeForm = new QFormLayout(size);
    columns_ = AddEdit(sizeForm, "Columns:", fields.columns, "columns");
    rows_ = AddEdit(sizeForm, "Rows:", fields.rows, "rows");

    auto* structure = new QGroupBox("File structure");
    auto* structureLayout = new QVBoxLayout(structure);
    auto* structureForm = new QFormLayout;
    headerBytes_ = AddEdit(structureForm, "Header size (bytes):", fields.headerBytes, "headerBytes");
    skipRows_ = AddEdit(structureForm, "Rows to skip:", fields.skipRows, "skipRows");
    bzero_ = AddEdit(structureForm, "BZERO", fields.bzero, "bzero");
    structureLayout->addLayout(structureForm);

    eightBit_ = new QRadioButton("8 bit");
    eightBit_->setObjectName("eightBit");
    sixteenBit_ = new QRadioButton("16 bit");
    sixteenBit_->setObjectName("sixteenBit");
    floatBits_ = new QRadioButton("32 bit float");
    floatBits_->setObjectName("floatBits");
    floatBits_->setEnabled(false);
    auto* bits = new QHBoxLayout;
    bits->addWidget(eightBit_);
    bits->addWidget(sixteenBit_);
    bits->addWidget(floatBits_);
    structureLayout->addLayout(bits);
    swapBytes_ = new QCheckBox("Swap bytes");
    swapBytes_->setObjectName("swapBytes");
    structureLayout->addWidget(swapBytes_);

    (fields.eightBit ? eightBit_ : sixteenBit_)->setChecked(true);
    swapBytes_->setChecked(fields.swapBytes);
    // Byte order only means something for 16-bit samples; a click on a radio decides.
    connect(eightBit_, &QRadioButton::clicked, this, [this] { swapBytes_->setEnabled(false); });
    connect(sixteenBit_, &QRadioButton::clicked, this, [this] { swapBytes_->setEnabled(true); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &RawOptionsDialog::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(size);
    layout->addWidget(structure);
    layout->addWidget(buttons);
}

RawDialogFields RawOptionsDialog::Fields() const {
    RawDialogFields f;
    f.columns = columns_->text().toStdString();
    f.rows = rows_->text().toStdString();
    f.headerBytes = headerBytes_->text().toStdString();
    f.skipRows = skipRows_->text().toStdString();
    f.bzero = bzero_->text().toStdString();
    f.eightBit = eightBit_->isChecked();
    f.swapBytes = swapBytes_->isChecked();
    return f;
}

void RawOptionsDialog::OnOk() {
    RawDialogFields typed = Fields();
    // A field out of its range keeps the dialog open, without a message.
    if (ok_(typed)) {
        fields_ = typed;
        accept();
    }
}

}  // namespace corvane
