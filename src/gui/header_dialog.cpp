#include "gui/header_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

struct Row {
    const char* label;
    const std::string HeaderDialogFields::*value;
    const char* name;  // object name of the value field
};

// Left column: labels at 5, values at 65 dialog units; right column at 160 and 200.
constexpr Row kLeftColumn[] = {
    {"Observer", &HeaderDialogFields::observer, "observer"},
    {"Object", &HeaderDialogFields::object, "object"},
    {"Right Ascension", &HeaderDialogFields::rightAscension, "rightAscension"},
    {"Declination", &HeaderDialogFields::declination, "declination"},
    {"Epoch", &HeaderDialogFields::epoch, "epoch"},
    {"Temperature", &HeaderDialogFields::temperature, "temperature"},
    {"Quality", &HeaderDialogFields::quality, "quality"},
    {"Comment", &HeaderDialogFields::comment, "comment"},
};
constexpr Row kRightColumn[] = {
    {"UT.", &HeaderDialogFields::ut, "ut"},
    {"Exp. Time", &HeaderDialogFields::exposure, "exposure"},
    {"Detector", &HeaderDialogFields::detector, "detector"},
    {"Format", &HeaderDialogFields::format, "format"},
    {"Binning", &HeaderDialogFields::binning, "binning"},
    {"Sys. Gain", &HeaderDialogFields::systemGain, "systemGain"},
    {"El.  Gain", &HeaderDialogFields::electronGain, "electronGain"},
    {"Filter", &HeaderDialogFields::filter, "filter"},
    {"Preflash", &HeaderDialogFields::preflash, "preflash"},
    {"Obs. Type", &HeaderDialogFields::observationType, "observationType"},
    {"Bias Level", &HeaderDialogFields::biasLevel, "biasLevel"},
};

QLabel* ValueLabel(const HeaderDialogFields& fields, const Row& row) {
    auto* value = new QLabel(QString::fromStdString(fields.*row.value));
    value->setObjectName(row.name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return value;
}

}  // namespace

HeaderDialog::HeaderDialog(const HeaderDialogFields& fields, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromStdString(fields.caption));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    int line = 0;
    for (const Row& row : kLeftColumn) {
        grid->addWidget(new QLabel(row.label), line, 0, Qt::AlignTop);
        QLabel* value = ValueLabel(fields, row);
        if (&row == &kLeftColumn[std::size(kLeftColumn) - 1]) {
            // The comment's field is two lines high.
            value->setWordWrap(true);
            value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            grid->addWidget(value, line, 1, 2, 1);
        } else {
            grid->addWidget(value, line, 1);
        }
        ++line;
    }
    line = 0;
    for (const Row& row : kRightColumn) {
        grid->addWidget(new QLabel(row.label), line, 2);
        grid->addWidget(ValueLabel(fields, row), line, 3);
        ++line;
    }
    grid->setColumnMinimumWidth(1, 140);
    grid->setColumnMinimumWidth(3, 170);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

}  // namespace corvane
