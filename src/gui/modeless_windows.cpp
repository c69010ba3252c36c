#include "gui/modeless_windows.h"

#include <QWidget>

#include "app/close_up.h"
#include "app/photometry_commands.h"
#include "app/screen_placement.h"
#include "app/tool_box.h"
#include "gui/desktop_geometry.h"

namespace corvane {

ModelessWindows::ModelessWindows(QWidget& owner, Program& program, Host& host)
    : QObject(&owner), owner_(owner), program_(program), host_(host), link_(owner, program, host) {
    program_.lightcurve.open = [this](const std::string& listPath) { OpenLightcurve(listPath); };
    // The record is added before the run returns to the event loop.
    program_.lightcurve.recordWritten = [this](const std::string& listPath,
                                               std::string_view record) {
        if (lightcurve_) {
            lightcurve_->RecordWritten(listPath, record);
        }
    };
}

ModelessWindows::~ModelessWindows() {
    program_.lightcurve.open = nullptr;
    program_.lightcurve.recordWritten = nullptr;
}

void ModelessWindows::OpenLightcurve(const std::string& listPath) {
    if (!lightcurve_) {
        lightcurve_ =
            new LightcurveWindow(&owner_, [this] { NoteLightcurveListFiles(program_, host_); });
    }
    lightcurve_->ShowListFile(listPath);
    lightcurve_->show();
    lightcurve_->raise();
    lightcurve_->activateWindow();
}

void ModelessWindows::Open(ModelessWindow window) {
    window == ModelessWindow::CloseUp ? OpenCloseUp() : OpenToolBox();
}

void ModelessWindows::Close(ModelessWindow window) {
    window == ModelessWindow::CloseUp ? CloseCloseUp() : CloseToolBox();
}

void ModelessWindows::OpenCloseUp() {
    if (closeUp_) {
        return;
    }
    closeUp_ = new CloseUpWindow(owner_, program_,
                                 [this] { return CloseUpViewOf(program_.shell.view); });
    connect(closeUp_, &CloseUpWindow::Closed, this, [this] { OnCloseUpClosed(program_); });
    Place(*closeUp_, ModelessWindow::CloseUp);
    closeUp_->show();
}

void ModelessWindows::CloseCloseUp() {
    if (closeUp_) {
        closeUp_->close();
    }
}

void ModelessWindows::SetCloseUpTitle(std::string_view title) {
    if (closeUp_) {
        closeUp_->setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    }
}

void ModelessWindows::SendCloseUpPointer(int x, int y) {
    if (closeUp_) {
        closeUp_->SetPointer(x, y);
    }
}

void ModelessWindows::InvalidateCloseUp() {
    if (closeUp_) {
        closeUp_->update();
    }
}

void ModelessWindows::OpenToolBox() {
    if (toolBox_) {
        return;
    }
    toolBox_ =
        new ToolBox(owner_, [this](int command) { return names_ ? names_(command) : QString(); });
    connect(toolBox_, &ToolBox::ButtonClicked, this, [this](int buttonId) {
        PressToolButton(program_, host_, buttonId);
    });
    connect(toolBox_, &ToolBox::Closed, this, [this] { OnToolBoxClosed(program_, host_); });
    Place(*toolBox_, ModelessWindow::ToolBox);
    toolBox_->show();
}

void ModelessWindows::Place(QWidget& companion, ModelessWindow window) {
    // Framed as the main window is: their own frame is not known before they are shown.
    const PixelSize tools = OuterSize(QSize(kToolBoxClientWidth, kToolButtonSize), owner_);
    const PixelSize closeUp = OuterSize(QSize(kCloseUpClientSize, kCloseUpClientSize), owner_);
    const ScreenPoint at = PlaceCompanion(DesktopOf(owner_, nullptr), tools, closeUp, window);
    companion.move(at.x, at.y);
}

void ModelessWindows::CloseToolBox() {
    if (toolBox_) {
        toolBox_->close();
    }
}

}  // namespace corvane
