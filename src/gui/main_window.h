#pragma once
// The main window: menu, image area, scroll bars, corner box and status bar with three panes
// and a hidden progress bar. It forwards every command and input to the program and shows
// its state; the program lays the children out.

#include <QMainWindow>
#include <memory>
#include <string>

#include "app/program.h"
#include "gui/corvane_menu.h"
#include "gui/cursors.h"
#include "platform/host.h"

class QLabel;
class QProgressBar;
class QScrollBar;
class QStatusBar;

namespace corvane {

class ImageView;
class ModelessWindows;
class QtHost;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Program& program);
    ~MainWindow() override;

    // The empty window after show, then the file named on the command line.
    void Start(const std::string& commandLine);

    Host& GetHost();
    const Program& Model() const { return program_; }
    QLabel* Pane(int index) const { return panes_[index]; }
    QProgressBar* ProgressBar() const { return progress_; }
    QScrollBar* ScrollBar(ScrollBarKind bar) const;
    ImageView* View() const { return view_; }
    QWidget* Client() const { return client_; }
    QWidget* Corner() const { return corner_; }
    QStatusBar* Status() const { return status_; }
    const CorvaneMenu& Menu() const { return menu_; }
    const ImageCursors& Cursors() const { return cursors_; }
    int StatusBarHeight() const { return statusHeight_; }
    int MenuBarHeight() const;

    // The close-up window, the tool box and the acquisition link.
    ModelessWindows& Modeless() const { return *modeless_; }

    void ApplyMenuState(const MenuState& menu);
    // Exit: close the way the close box does, without the close box's refusal in a mode.
    void CloseByCommand();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Command(int id);
    // F10: the File menu opens, as a click on its title would.
    void OpenMenuFromKeyboard();
    void Scroll(ScrollBarKind bar, int action);

    Program& program_;
    std::unique_ptr<QtHost> host_;
    CorvaneMenu menu_;
    ImageCursors cursors_;
    QWidget* client_ = nullptr;
    ImageView* view_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QWidget* corner_ = nullptr;
    QStatusBar* status_ = nullptr;
    QLabel* panes_[3] = {};
    QProgressBar* progress_ = nullptr;
    int statusHeight_ = 20;
    ModelessWindows* modeless_ = nullptr;
    bool started_ = false;
    bool closingByCommand_ = false;
    int sizing_ = 0;  // nested size events from our own resizes are not fitted again
};

}  // namespace corvane
