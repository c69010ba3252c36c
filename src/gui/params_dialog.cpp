#include "gui/params_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr int kFirstId = 501;

// The fields in control-id order, 501 to 508.
std::string* FieldText(ParamsDialogFields& f, int index) {
    std::string* texts[8] = {&f.stars,         &f.background, &f.asteroidA, &f.asteroidB,
                             &f.asteroidTheta, &f.starA,      &f.starB,     &f.starTheta};
    return texts[index];
}

}  // namespace

ParamsDialog::ParamsDialog(QWidget* parent, ParamsDialogFields& fields,
                           DialogOk<ParamsDialogFields> ok)
    : QDialog(parent), fields_(fields), ok_(std::move(ok)) {
    setWindowTitle("Corvane -- Parameter Input");
    setObjectName("ParamsBox");
    for (int i = 0; i < 8; ++i) {
        edits_[i] = new QLineEdit(QString::fromStdString(*FieldText(fields_, i)), this);
        edits_[i]->setObjectName(QString::number(kFirstId + i));
        edits_[i]->setMaximumWidth(fontMetrics().averageCharWidth() * 8);
    }

    auto* counts = new QGroupBox("# of Integration Apertures", this);
    auto* countsGrid = new QGridLayout(counts);
    countsGrid->addWidget(new QLabel("Stars", counts), 0, 0);
    countsGrid->addWidget(edits_[0], 0, 1);
    countsGrid->addWidget(new QLabel("Background", counts), 1, 0);
    countsGrid->addWidget(edits_[1], 1, 1);

    auto* sizes = new QGroupBox("Aperture Size", this);
    auto* sizesGrid = new QGridLayout(sizes);
    sizesGrid->addWidget(new QLabel("Asteroid", sizes), 0, 1);
    sizesGrid->addWidget(new QLabel("Stars", sizes), 0, 2);
    const char* rows[3] = {"a", "b", "theta"};
    for (int r = 0; r < 3; ++r) {
        sizesGrid->addWidget(new QLabel(rows[r], sizes), r + 1, 0);
        sizesGrid->addWidget(edits_[2 + r], r + 1, 1);
        sizesGrid->addWidget(edits_[5 + r], r + 1, 2);
    }

    auto* mode = new QGroupBox("Centering Mode", this);
    auto* modeColumn = new QVBoxLayout(mode);
    manual_ = new QRadioButton("Manual", mode);
    manual_->setObjectName("509");
    automatic_ = new QRadioButton("Automatic", mode);
    automatic_->setObjectName("510");
    modeColumn->addWidget(manual_);
    modeColumn->addWidget(automatic_);
    (fields_.automatic ? automatic_ : manual_)->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ParamsDialog::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(counts);
    top->addWidget(mode);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(sizes);
    column->addWidget(buttons);
}

QLineEdit* ParamsDialog::Field(int id) const {
    int i = id - kFirstId;
    return i >= 0 && i < 8 ? edits_[i] : nullptr;
}

void ParamsDialog::OnOk() {
    for (int i = 0; i < 8; ++i) {
        *FieldText(fields_, i) = edits_[i]->text().toStdString();
    }
    fields_.automatic = automatic_->isChecked();
    if (ok_(fields_)) {
        accept();
    }
}

}  // namespace corvane
