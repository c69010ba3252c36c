#include "gui/output_files_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "gui/dialog_units.h"
#include "photometry/output_files.h"

namespace corvane {

OutputFilesDialog::OutputFilesDialog(QWidget* parent, OutputFilesDialogFields& fields,
                                     DialogEnter<OutputFilesDialogFields> enter,
                                     DialogOk<OutputFilesDialogFields> ok)
    : QDialog(parent), fields_(fields), enter_(std::move(enter)), ok_(std::move(ok)) {
    setWindowTitle("Open Output File");
    setObjectName("OpenOutputBox");

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Directory:", this), 0, 0, 1, 2);
    directory_ = new QLabel(this);
    directory_->setObjectName("201");
    grid->addWidget(directory_, 1, 0, 1, 2);
    grid->addWidget(new QLabel("File Prefix:", this), 2, 0);
    prefix_ = new QLineEdit(this);
    prefix_->setObjectName("203");
    prefix_->setMaxLength(static_cast<int>(kMaxPrefixLength));
    grid->addWidget(prefix_, 2, 1);
    list_ = new QListWidget(this);
    list_->setObjectName("200");
    list_->setMinimumSize(DialogUnits(*list_, 120, 80));
    grid->addWidget(list_, 3, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 4, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &OutputFilesDialog::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OnEnter(list_->row(item)); });

    prefix_->setText(QString::fromStdString(fields_.prefix));
    ShowFields();
}

void OutputFilesDialog::ShowFields() {
    directory_->setText(QString::fromStdString(fields_.directory));
    list_->clear();
    for (const std::string& entry : fields_.entries) {
        list_->addItem(QString::fromStdString(entry));
    }
}

void OutputFilesDialog::OnEnter(int row) {
    if (row < 0) {
        return;
    }
    fields_.prefix = prefix_->text().toStdString();
    enter_(fields_, static_cast<std::size_t>(row));
    ShowFields();
}

void OutputFilesDialog::OnOk() {
    fields_.prefix = prefix_->text().toStdString();
    if (ok_(fields_)) {
        accept();
    }
}

}  // namespace corvane
