#pragma once
// "Corvane -- Acknowledge": a narrow bar with two buttons. Whoever opens it places it where
// it hides none of the apertures and boxes it asks about.

#include <QDialog>

class QPushButton;

namespace corvane {

class ConfirmBox : public QDialog {
    Q_OBJECT
public:
    explicit ConfirmBox(QWidget* parent);

    QPushButton* GoButton() const { return go_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    QPushButton* go_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace corvane
