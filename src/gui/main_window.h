#pragma once
// The main window: menu, status bar with three panes and a hidden progress bar, and the
// image area. It forwards every command and input to the program and shows its state.

#include <QMainWindow>
#include <memory>

#include "app/program.h"
#include "platform/host.h"

class QLabel;
class QProgressBar;

namespace corvane {

class QtHost;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Program& program);
    ~MainWindow() override;

    // Opens the file named on the command line: quotes removed, loaded when it exists.
    void OpenCommandLineFile(const std::string& argument);

    Host& GetHost();
    QLabel* Pane(int index) const { return panes_[index]; }
    QProgressBar* ProgressBar() const { return progress_; }
    void ApplyMenuState(const MenuState& menu);
    void SetImageCursor(CursorShape shape);

private:
    Program& program_;
    std::unique_ptr<QtHost> host_;
    QLabel* panes_[3] = {};
    QProgressBar* progress_ = nullptr;
};

}  // namespace corvane
