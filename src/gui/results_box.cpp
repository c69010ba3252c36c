#include "gui/results_box.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_units.h"

namespace corvane {

namespace {

// Some monospaced faces do not declare themselves fixed-pitch; their advances tell.
bool IsFixedWidth(const QFont& font) {
    QFontMetrics m(font);
    return m.horizontalAdvance('i') == m.horizontalAdvance('W') &&
           m.horizontalAdvance(' ') == m.horizontalAdvance('W');
}

// Courier New 10, or the system's fixed-width face where that font is missing: the
// columns of the rows must line up under the headings.
QFont ResultsFont() {
    QFont font("Courier New", 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!IsFixedWidth(font)) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(10);
    }
    return font;
}

}  // namespace

ResultsBox::ResultsBox(QWidget* parent, const std::vector<std::string>& rows)
    : QDialog(parent) {
    setWindowTitle("Corvane");
    setObjectName("ShowResBox");
    setFont(ResultsFont());

    auto* column = new QVBoxLayout(this);
    column->setSpacing(0);
    for (const char* heading : {"  Obj       x      y      flux   bckgnd   SNR ntot",
                                "                         (DN/s)   (DN)"}) {
        auto* label = new QLabel(heading, this);
        label->setTextFormat(Qt::PlainText);
        column->addWidget(label);
    }
    list_ = new QListWidget(this);
    list_->setObjectName("rows");
    list_->setFixedSize(DialogUnits(*list_, 208, 106));
    for (const std::string& row : rows) {
        list_->addItem(QString::fromStdString(row));
    }
    column->addSpacing(4);
    column->addWidget(list_);

    ok_ = new QPushButton("OK", this);
    ok_->setFont(QApplication::font());  // the system font, as the template switches it
    ok_->setDefault(true);
    column->addSpacing(4);
    column->addWidget(ok_, 0, Qt::AlignHCenter);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

bool RunResultsBox(QWidget* parent, const std::vector<std::string>& rows) {
    ResultsBox box(parent, rows);
    return box.exec() == QDialog::Accepted;
}

}  // namespace corvane
