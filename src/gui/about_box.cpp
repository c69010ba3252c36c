#include "gui/about_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace corvane {

AboutBox::AboutBox(const QString& versionText, QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Corvane32");
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(":/corvane.xpm"));
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(new QLabel("Corvane32 for Win32", this), 0, 1);
    layout->addWidget(new QLabel("CCD Image Reduction Package", this), 1, 1);
    version_ = new QLabel(versionText, this);
    layout->addWidget(version_, 2, 1);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    layout->addWidget(ok, 3, 0, 1, 2, Qt::AlignHCenter);
    // OK and Cancel (Escape) both end the box with 1.
    connect(ok, &QPushButton::clicked, this, [this] { done(1); });
    connect(this, &QDialog::rejected, this, [this] { setResult(1); });
}

}  // namespace corvane
