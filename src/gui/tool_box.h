#pragma once
// The tool box window: a strip of seven 24 × 24 picture buttons under a small caption.
// It reports which button was pressed; the main window asks the program what that does.

#include <QString>
#include <QWidget>
#include <functional>

namespace corvane {

class ToolBox : public QWidget {
    Q_OBJECT
public:
    // A tool window owned by `owner`; each button's tooltip is `commandName` of its command.
    ToolBox(QWidget& owner, const std::function<QString(int command)>& commandName);

signals:
    void ButtonClicked(int buttonId);
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace corvane
