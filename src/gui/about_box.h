#pragma once
// "About Corvane32": the icon, the program's name and purpose and its version.

#include <QDialog>

class QLabel;

namespace corvane {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const QString& versionText, QWidget* parent);
    QLabel* VersionLabel() const { return version_; }

private:
    QLabel* version_ = nullptr;
};

}  // namespace corvane
