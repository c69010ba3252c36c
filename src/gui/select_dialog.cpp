#include "gui/select_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace corvane {

namespace {

QLabel* Static(QWidget* parent, const std::string& text, int id) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setObjectName(QString::number(id));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 6);
    return label;
}

}  // namespace

SelectDialog::SelectDialog(QWidget* parent, SelectDialogFields& fields,
                           DialogOk<SelectDialogFields> ok)
    : QDialog(parent), fields_(fields), ok_(std::move(ok)) {
    setWindowTitle("Select");
    setObjectName("Select");
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(1);
    const char* headings[4] = {"Ref.", "Object", "x", "y"};
    for (int c = 0; c < 4; ++c) {
        grid->addWidget(new QLabel(headings[c], this), 0, c, c >= 2 ? Qt::AlignRight : Qt::Alignment());
    }

    asteroidBox_ = new QCheckBox("Asteroid", this);
    asteroidBox_->setObjectName("2048");
    asteroidBox_->setChecked(fields_.asteroidChecked);
    grid->addWidget(asteroidBox_, 1, 1);
    grid->addWidget(Static(this, fields_.asteroidX, 1000), 1, 2);
    grid->addWidget(Static(this, fields_.asteroidY, 2000), 1, 3);

    auto* references = new QButtonGroup(this);
    for (int i = 0; i < 16; ++i) {
        const SelectStarRow& row = fields_.stars[static_cast<std::size_t>(i)];
        referenceButtons_[i] = new QRadioButton(this);
        referenceButtons_[i]->setObjectName(QString::number(22 + i));
        references->addButton(referenceButtons_[i], i);
        starBoxes_[i] = new QCheckBox(QString("   Star %1").arg(i + 1), this);
        starBoxes_[i]->setObjectName(QString::number(1032 + i));
        xLabels_[i] = Static(this, row.x, 1001 + i);
        yLabels_[i] = Static(this, row.y, 2001 + i);
        referenceButtons_[i]->setChecked(row.reference);
        starBoxes_[i]->setChecked(row.checked);
        referenceButtons_[i]->setEnabled(row.enabled);
        starBoxes_[i]->setEnabled(row.enabled);
        grid->addWidget(referenceButtons_[i], i + 2, 0);
        grid->addWidget(starBoxes_[i], i + 2, 1);
        grid->addWidget(xLabels_[i], i + 2, 2);
        grid->addWidget(yLabels_[i], i + 2, 3);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 18, 0, 1, 4);
    connect(buttons, &QDialogButtonBox::accepted, this, &SelectDialog::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SelectDialog::OnOk() {
    fields_.asteroidChecked = asteroidBox_->isChecked();
    for (int i = 0; i < 16; ++i) {
        SelectStarRow& row = fields_.stars[static_cast<std::size_t>(i)];
        // A disabled box reads as unchecked, whatever it shows.
        row.checked = starBoxes_[i]->isEnabled() && starBoxes_[i]->isChecked();
        row.reference = referenceButtons_[i]->isEnabled() && referenceButtons_[i]->isChecked();
    }
    if (ok_(fields_)) {
        accept();
    }
}

}  // namespace corvane
