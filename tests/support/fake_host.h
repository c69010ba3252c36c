#pragma once
// FakeHost: a Host for tests. It records every call and answers questions and dialogs
// from a script that the test fills beforehand.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host.h"

namespace corvane::test {

struct RecordedMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

// Frame 4 + 4 per side, caption 19, menu 20, bars 16, status bar 20, a 1600 × 1200 work area.
inline WindowMetrics DesktopMetrics() {
    WindowMetrics m;
    m.edgeWidth = 2;
    m.edgeHeight = 2;
    m.sizingFrameWidth = 4;
    m.sizingFrameHeight = 4;
    m.captionHeight = 19;
    m.menuHeight = 20;
    m.verticalScrollWidth = 16;
    m.horizontalScrollHeight = 16;
    m.statusBarHeight = 20;
    m.workAreaRight = 1600;
    m.workAreaBottom = 1200;
    return m;
}

class FakeHost : public Host {
public:
    // --- what the test scripts ---
    // Answers to Yes/No questions, in order; when empty a question is answered No.
    std::deque<MessageAnswer> answers;
    // Each entry is one press of a dialog's button: fields typed and OK, or Cancel
    // (nullopt). When the script runs out, the dialog is cancelled.
    std::deque<std::optional<RawDialogFields>> rawDialogScript;
    // The prompt pane's idle text, as the model would give it after a progress run.
    std::function<std::string()> idlePrompt;

    // --- what the test reads back ---
    std::vector<RecordedMessage> messages;
    std::string panes[3];
    std::vector<std::string> paneHistory[3];
    std::string title;
    std::vector<std::string> titleHistory;
    MenuState menu;
    int menuUpdates = 0;
    int progressBegins = 0;
    int progressSteps = 0;
    int progressEnds = 0;
    int lastProgressRange = 0;
    int waitDepth = 0;
    int maxWaitDepth = 0;
    CursorShape cursor = CursorShape::Arrow;
    std::vector<BeepKind> beeps;
    int fullInvalidations = 0;
    std::vector<PixelRect> invalidatedRects;
    int rawDialogRuns = 0;
    std::vector<RawDialogFields> rawDialogOpenings;  // the fields each dialog opened with
    std::vector<std::string> log;  // one line per call, in order

    // Runs inside every message box and dialog while it is open (InModalLoop is true
    // then), with the line the box wrote to `log`; and inside UpdateWindow with "update".
    // Tests deliver hand-overs from here, as an event loop would.
    std::function<void(const std::string& what)> insideModal;
    int modalDepth = 0;
    int maxModalDepth = 0;
    int drainPosts = 0;                 // PostHandOverDrain calls
    std::vector<int> watchedPrograms;   // WatchAcquisitionProgram calls
    bool InModalLoop() override { return modalDepth > 0; }
    void PostHandOverDrain() override { ++drainPosts; }
    void WatchAcquisitionProgram(int pid) override { watchedPrograms.push_back(pid); }

    // Messages as "CAPTION: text" lines, the order kept.
    std::vector<std::string> MessageLines() const;

    // Logs `line` and runs insideModal as the box or dialog it names is open.
    void OpenModal(const std::string& line);

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
    void SetTitle(std::string_view text) override;
    void ApplyMenuState(const MenuState& state) override;
    void InvalidateAll() override;
    void InvalidateRect(const PixelRect& rect) override;
    void UpdateWindow() override;
    bool RunRawOptionsDialog(RawDialogFields& fields,
                             const DialogOk<RawDialogFields>& ok) override;

    // --- Photometry output files and the run's two boxes ---
    // One action in "Open Output File": a double click on entry `enter`, or OK with
    // `prefix` typed, or Cancel.
    struct OutputDialogPress {
        enum Kind { Enter, Ok, Cancel } kind = Cancel;
        std::size_t entry = 0;
        std::string prefix;
    };
    std::deque<OutputDialogPress> outputDialogScript;  // runs out: Cancel
    std::deque<AppendChoice> appendAnswers;             // runs out: Cancel
    std::deque<bool> confirmAnswers;                    // runs out: Cancel
    std::deque<bool> resultsAnswers;                    // runs out: closed without OK
    std::vector<OutputFilesDialogFields> outputDialogViews;  // the fields at every showing
    std::vector<std::string> appendTexts;
    int confirmRuns = 0;
    std::vector<std::vector<std::string>> resultsShown;
    bool RunOutputFilesDialog(OutputFilesDialogFields& fields,
                              const DialogEnter<OutputFilesDialogFields>& enter,
                              const DialogOk<OutputFilesDialogFields>& ok) override;
    AppendChoice AskAppend(std::string_view text) override;
    bool RunConfirmBox() override;
    bool RunResultsBox(const std::vector<std::string>& rows) override;

    // Runs a scripted dialog: presses from `script` until `ok` accepts one or a Cancel.
    template <class Fields>
    static bool RunScripted(std::deque<std::optional<Fields>>& script, Fields& fields,
                            const DialogOk<Fields>& ok) {
        while (!script.empty()) {
            std::optional<Fields> press = std::move(script.front());
            script.pop_front();
            if (!press) {
                return false;
            }
            fields = *press;
            if (ok(fields)) {
                return true;
            }
        }
        return false;
    }

    // Manual display levels ("Show"): scripted presses, as rawDialogScript.
    std::deque<std::optional<ManualLevelsFields>> manualLevelsScript;
    int manualLevelsRuns = 0;
    std::vector<ManualLevelsFields> manualLevelsOpenings;  // the fields each run opened with
    bool RunManualLevelsDialog(ManualLevelsFields& fields,
                               const DialogOk<ManualLevelsFields>& ok) override;

    // Pixel editing.
    // Presses of the "Edit Pixel" dialog, as rawDialogScript.
    std::deque<std::optional<EditPixelDialogFields>> editPixelDialogScript;
    int editPixelDialogRuns = 0;
    std::vector<EditPixelDialogFields> editPixelDialogOpenings;
    bool RunEditPixelDialog(EditPixelDialogFields& fields,
                            const DialogOk<EditPixelDialogFields>& ok) override;

    // --- Photometry dialogs: presses scripted like rawDialogScript ---
    std::deque<std::optional<ParamsDialogFields>> paramsDialogScript;
    std::deque<std::optional<SelectDialogFields>> selectDialogScript;
    std::vector<ParamsDialogFields> paramsDialogOpenings;
    std::vector<SelectDialogFields> selectDialogOpenings;
    bool RunParamsDialog(ParamsDialogFields& fields,
                         const DialogOk<ParamsDialogFields>& ok) override;
    bool RunSelectDialog(SelectDialogFields& fields,
                         const DialogOk<SelectDialogFields>& ok) override;

    // Header dialog: every opening recorded with its field texts.
    std::vector<HeaderDialogFields> headerDialogs;
    void ShowHeaderDialog(const HeaderDialogFields& fields) override;
    // --- main window geometry, file dialog, about box, modeless windows ---
    // What the window reports; the client follows every SetWindowSize as a window that
    // honours the size would, unless clientOverride is set.
    WindowMetrics metrics;
    std::optional<PixelSize> clientOverride;
    PixelSize client;
    std::vector<std::pair<int, int>> windowSizes;  // every SetWindowSize, in order
    std::vector<bool> windowAtOrigin;
    std::vector<ChildLayout> layouts;
    bool placeChildrenFails = false;
    ScrollBarState scrollBars[2];  // [Horizontal], [Vertical]
    int scrollBarUpdates = 0;
    SizeLimits sizeLimits;
    std::deque<std::optional<OpenFileChoice>> openDialogScript;  // nullopt or empty: Cancel
    std::vector<OpenFileRequest> openRequests;
    std::vector<std::string> aboutTexts;
    int closeRequests = 0;
    std::vector<ModelessWindow> closedModeless;
    std::string closeUpTitle;
    std::vector<std::pair<int, int>> closeUpPointers;

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
    void SetCloseUpTitle(std::string_view text) override;
    void SendCloseUpPointer(int x, int y) override;

    // Acquisition program: what the system answers, and what was asked of it.
    bool acquisitionWindowOpen = false;
    bool acquisitionStartWorks = true;
    int acquisitionStarts = 0;
    int restores = 0;
    bool AcquisitionWindowOpen() override { return acquisitionWindowOpen; }
    bool StartAcquisitionProgram() override {
        ++acquisitionStarts;
        return acquisitionStartWorks;
    }
    void RestoreIfMinimized() override { ++restores; }

    // Close-up window and tool box.
    std::vector<ModelessWindow> openedModeless;
    int closeUpRepaints = 0;
    void OpenModeless(ModelessWindow window) override { openedModeless.push_back(window); }
    void InvalidateCloseUp() override { ++closeUpRepaints; }
};

}  // namespace corvane::test
