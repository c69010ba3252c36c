#pragma once
// "Corvane -- Acknowledge": a narrow bar placed low over the main window, so that the
// apertures to be confirmed stay visible above it.

#include <QDialog>

class QPushButton;

namespace corvane {

class ConfirmBox : public QDialog {
    Q_OBJECT
public:
    explicit ConfirmBox(QWidget* parent);

    QPushButton* GoButton() const { return go_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* go_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// True for "Go with this !".
bool RunConfirmBox(QWidget* parent);

}  // namespace corvane
