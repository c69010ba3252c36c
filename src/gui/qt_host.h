#pragma once
// QtHost: the program's Host on the desktop, drawing into the main window.

#include <QMargins>
#include <QSize>
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
    explicit QtHost(MainWindow& window);

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
    // The prompt pane's idle text after a long operation.
    void SetIdlePrompt(std::function<std::string()> idlePrompt) { idlePrompt_ = std::move(idlePrompt); }

    // Main window geometry, file dialog, about box, modeless windows.
    WindowMetrics GetWindowMetrics() override;
    PixelSize SetWindowSize(int width, int height, bool atOrigin) override;
    PixelSize GetClientSize() override;
    bool PlaceChildren(const ChildLayout& layout) override;
    void SetScrollBar(ScrollBarKind bar, const ScrollBarState& state) override;
    void SetScrollPosition(ScrollBarKind bar, int position) override;
    void SetSizeLimits(const SizeLimits& limits) override;
    std::optional<OpenFileChoice> RunOpenFileDialog(const OpenFileRequest& request) override;
    void ShowAboutBox(std::string_view versionText) override;
    void RequestClose() override;
    void CloseModeless(ModelessWindow window) override;
    void SetCloseUpTitle(std::string_view title) override;
    void SendCloseUpPointer(int x, int y) override;
    // Close-up window, tool box and the acquisition program.
    void OpenModeless(ModelessWindow window) override;
    void InvalidateCloseUp() override;
    bool AcquisitionWindowOpen() override;
    bool StartAcquisitionProgram() override;
    void RestoreIfMinimized() override;
    void WatchAcquisitionProgram(int pid) override;
    bool InModalLoop() override;
    void PostHandOverDrain() override;
    // The size the window was given (by the program or the user), before the layout runs.
    void NoteWindowSize(QSize size);

    // --- Photometry output files and the run's two boxes ---
    bool RunOutputFilesDialog(OutputFilesDialogFields& fields,
                              const DialogEnter<OutputFilesDialogFields>& enter,
                              const DialogOk<OutputFilesDialogFields>& ok) override;
    AppendChoice AskAppend(std::string_view text) override;
    bool RunConfirmBox() override;
    bool RunResultsBox(const std::vector<std::string>& rows) override;

private:
    // Counts the boxes and dialogs open; the last one to close asks for a drain.
    class ModalLoop {
    public:
        explicit ModalLoop(QtHost& host);
        ~ModalLoop();
        ModalLoop(const ModalLoop&) = delete;
        ModalLoop& operator=(const ModalLoop&) = delete;

    private:
        QtHost& host_;
    };

    void ApplySizeLimits();

    MainWindow& window_;
    std::function<std::string()> idlePrompt_;
    SizeLimits limits_;
    QSize widgetSize_;  // the main window's size as last asked for or reported
    int modalDepth_ = 0;  // boxes and dialogs open, nested
};

}  // namespace corvane
