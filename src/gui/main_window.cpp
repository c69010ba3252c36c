#include "gui/main_window.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>

#include "app/image_commands.h"
#include "gui/qt_host.h"
#include "platform/file_lookup.h"

namespace corvane {

MainWindow::MainWindow(Program& program) : program_(program) {
    setWindowTitle("Corvane32");
    setWindowIcon(QIcon(":/corvane.svg"));
    host_ = std::make_unique<QtHost>(*this, [this] { return IdlePrompt(program_); });

    for (int i = 0; i < 3; ++i) {
        panes_[i] = new QLabel(this);
        statusBar()->addWidget(panes_[i], i == 1 ? 1 : 0);
    }
    progress_ = new QProgressBar(statusBar());
    progress_->hide();
    resize(520, 10);
}

MainWindow::~MainWindow() = default;

Host& MainWindow::GetHost() { return *host_; }

void MainWindow::ApplyMenuState(const MenuState&) {}

void MainWindow::SetImageCursor(CursorShape) {}

void MainWindow::OpenCommandLineFile(const std::string& argument) {
    std::string path = argument;
    if (!path.empty() && path.front() == '"') {
        path = path.size() >= 2 ? path.substr(1, path.size() - 2) : std::string();
    }
    path = AbsolutePath(path);
    if (!FileExists(path)) {
        return;
    }
    program_.image.path = path;
    if (!LoadImage(program_, *host_)) {
        QMessageBox::warning(nullptr, "readfile failed", QString::fromStdString(path));
        return;
    }
    program_.shell.menu.reloadEnabled = true;
}

}  // namespace corvane
