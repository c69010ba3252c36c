#include "gui/confirm_box.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "gui/dialog_units.h"

namespace corvane {

namespace {

// The template's bar: 265 x 18 dialog units.
constexpr int kWidth = 265, kHeight = 18;

}  // namespace

ConfirmBox::ConfirmBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle("Corvane -- Acknowledge");
    setObjectName("ConfirmBox");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    go_ = new QPushButton("Go with this !", this);
    cancel_ = new QPushButton("Cancel", this);
    go_->setDefault(true);
    row->addWidget(go_);
    row->addWidget(cancel_);
    connect(go_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(DialogUnits(*this, kWidth, kHeight).expandedTo(minimumSizeHint()));
}

}  // namespace corvane
