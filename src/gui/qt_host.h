#pragma once
// QtHost: the program's Host on the desktop, drawing into the main window.

#include <functional>
#include <string>

#include "platform/host.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace corvane {

class MainWindow;

class QtHost : public Host {
public:
    QtHost(MainWindow& window, std::function<std::string()> idlePrompt);

    MessageAnswer ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    void SetPaneText(Pane pane, std::string_view text) override;
    void BeginProgress(int steps) override;
    void StepProgress() override;
    void EndProgress() override;
    void PushWaitCursor() override;
    void PopWaitCursor() override;
    void SetCursor(CursorShape shape) override;
    void Beep(BeepKind kind) override;
    void SetTitle(std::string_view title) override;
    void ApplyMenuState(const MenuState& menu) override;
    void InvalidateAll() override;
    void InvalidateRect(const PixelRect& rect) override;
    void UpdateWindow() override;
    bool RunRawOptionsDialog(RawDialogFields& fields,
                             const DialogOk<RawDialogFields>& ok) override;

    // Manual display levels
    bool RunManualLevelsDialog(ManualLevelsFields& fields,
                               const DialogOk<ManualLevelsFields>& ok) override;
    // Pixel editing.
    bool RunEditPixelDialog(EditPixelDialogFields& fields,
                            const DialogOk<EditPixelDialogFields>& ok) override;

    // --- Photometry dialogs ---
    bool RunParamsDialog(ParamsDialogFields& fields,
                         const DialogOk<ParamsDialogFields>& ok) override;
    bool RunSelectDialog(SelectDialogFields& fields,
                         const DialogOk<SelectDialogFields>& ok) override;

    // Header dialog
    void ShowHeaderDialog(const HeaderDialogFields& fields) override;

private:
    MainWindow& window_;
    std::function<std::string()> idlePrompt_;
};

}  // namespace corvane
