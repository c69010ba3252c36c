#pragma once
// The tool box window: a strip of seven 24 × 24 picture buttons under a small caption.
// It reports which button was pressed; the main window asks the program what that does.

#include <QWidget>

namespace corvane {

class ToolBox : public QWidget {
    Q_OBJECT
public:
    // A tool window owned by `owner`, placed near its top-left corner.
    explicit ToolBox(QWidget& owner);

signals:
    void ButtonClicked(int buttonId);
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace corvane
