#pragma once
// The command line's host: messages go to stderr as "CAPTION: text", questions are
// answered No unless the caller set another answer, panes and repaints are ignored.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"

namespace corvane {

class ConsoleHost : public Host {
public:
    // Answers for Yes/No questions in order; when empty, No.
    std::deque<MessageAnswer> answers;
    // Prefix for every message line (a batch names the image it is working on).
    std::string messagePrefix;
    // Fields for the raw options dialog, pressed once; unset means Cancel.
    std::optional<RawDialogFields> rawFields;
    // Every message shown, as "CAPTION: text".
    std::vector<std::string> shown;

    MessageAnswer ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    void SetPaneText(Pane, std::string_view) override {}
    void BeginProgress(int) override {}
    void StepProgress() override {}
    void EndProgress() override {}
    void PushWaitCursor() override {}
    void PopWaitCursor() override {}
    void SetCursor(CursorShape) override {}
    void Beep(BeepKind) override {}
    void SetTitle(std::string_view) override {}
    void ApplyMenuState(const MenuState&) override {}
    void InvalidateAll() override {}
    void InvalidateRect(const PixelRect&) override {}
    void UpdateWindow() override {}
    bool RunRawOptionsDialog(RawDialogFields& fields,
                             const DialogOk<RawDialogFields>& ok) override;

    // Manual display levels: the fields pressed once with OK; unset means Cancel.
    std::optional<ManualLevelsFields> manualLevelsFields;
    bool RunManualLevelsDialog(ManualLevelsFields& fields,
                               const DialogOk<ManualLevelsFields>& ok) override;

    // Pixel editing.
    // The DN typed into "Edit Pixel", pressed once; unset means Cancel.
    std::optional<std::string> editPixelValue;
    bool RunEditPixelDialog(EditPixelDialogFields& fields,
                            const DialogOk<EditPixelDialogFields>& ok) override;

    // --- Photometry dialogs: pressed once with these fields; unset means Cancel ---
    std::optional<ParamsDialogFields> paramsFields;
    std::optional<SelectDialogFields> selectFields;
    bool RunParamsDialog(ParamsDialogFields& fields,
                         const DialogOk<ParamsDialogFields>& ok) override;
    bool RunSelectDialog(SelectDialogFields& fields,
                         const DialogOk<SelectDialogFields>& ok) override;

    // Header dialog: nothing to show on a console.
    void ShowHeaderDialog(const HeaderDialogFields&) override {}
    // Main window: the command line has none; sizes are accepted as asked.
    WindowMetrics GetWindowMetrics() override { return {}; }
    PixelSize SetWindowSize(int width, int height, bool) override { return {width, height}; }
    PixelSize GetClientSize() override { return {}; }
    bool PlaceChildren(const ChildLayout&) override { return true; }
    void SetScrollBar(ScrollBarKind, const ScrollBarState&) override {}
    void SetScrollPosition(ScrollBarKind, int) override {}
    void SetSizeLimits(const SizeLimits&) override {}
    std::optional<OpenFileChoice> RunOpenFileDialog(const OpenFileRequest&) override {
        return std::nullopt;
    }
    void ShowAboutBox(std::string_view) override {}
    void RequestClose() override {}
    void CloseModeless(ModelessWindow) override {}
    void SetCloseUpTitle(std::string_view) override {}
    void SendCloseUpPointer(int, int) override {}

    // Close-up window and tool box: the command line has neither.
    void OpenModeless(ModelessWindow) override {}
    void InvalidateCloseUp() override {}
    // --- Photometry output files and the run's two boxes: a batch answers go and write ---
    std::optional<std::string> outputPrefix;            // typed once into "Open Output File"
    AppendChoice appendChoice = AppendChoice::Append;   // for a file that already exists
    bool RunOutputFilesDialog(OutputFilesDialogFields& fields,
                              const DialogEnter<OutputFilesDialogFields>& enter,
                              const DialogOk<OutputFilesDialogFields>& ok) override;
    AppendChoice AskAppend(std::string_view) override { return appendChoice; }
    bool RunConfirmBox() override { return true; }
    std::vector<std::string> resultRows;  // the rows of the last results box
    bool RunResultsBox(const std::vector<std::string>& rows) override {
        resultRows = rows;
        return true;
    }
};

// "CAPTION: text" with line breaks inside the text written as \n.
std::string MessageLine(std::string_view caption, std::string_view text);

}  // namespace corvane
