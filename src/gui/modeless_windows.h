#pragma once
// The main window's companions: the close-up window, the tool box, the lightcurve window
// and the link to the acquisition program. The main window owns one of these and its host
// forwards here.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string_view>

#include "app/close_up.h"
#include "app/program.h"
#include "gui/acquisition_link.h"
#include "gui/close_up_window.h"
#include "gui/lightcurve_window.h"
#include "gui/tool_box.h"
#include "platform/host.h"

class QWidget;

namespace corvane {

class ModelessWindows : public QObject {
    Q_OBJECT
public:
    // Takes the program's lightcurve link for as long as it lives.
    ModelessWindows(QWidget& owner, Program& program, Host& host);
    ~ModelessWindows() override;
    // The menu's name of a command, for the tool box's tooltips.
    void SetCommandNames(std::function<QString(int command)> names) { names_ = std::move(names); }

    void Open(ModelessWindow window);
    void Close(ModelessWindow window);

    void OpenCloseUp();
    void CloseCloseUp();
    void SetCloseUpTitle(std::string_view title);
    void SendCloseUpPointer(int x, int y);
    void InvalidateCloseUp();

    void OpenToolBox();
    void CloseToolBox();

    // "Lightcurve...": the window opens, or comes to the front, on the list file.
    void OpenLightcurve(const std::string& listPath);

    AcquisitionLink& Acquisition() { return link_; }
    LightcurveWindow* Lightcurve() const { return lightcurve_; }
    CloseUpWindow* CloseUp() const { return closeUp_; }
    ToolBox* Tools() const { return toolBox_; }

private:
    // Beside the owner, in the column the two companions share.
    void Place(QWidget& companion, ModelessWindow window);

    QWidget& owner_;
    Program& program_;
    Host& host_;
    AcquisitionLink link_;
    QPointer<CloseUpWindow> closeUp_;
    QPointer<ToolBox> toolBox_;
    QPointer<LightcurveWindow> lightcurve_;
    std::function<QString(int command)> names_;
};

}  // namespace corvane
