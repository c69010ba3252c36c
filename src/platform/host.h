#pragma once
// Host: everything the program needs from the screen and the user.
//
// The program decides, the host shows. Three implementations exist: the Qt window
// (src/gui), the command line (src/cli) and the recording fake of the tests.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/menu_state.h"
#include "platform/window_geometry.h"

namespace corvane {

enum class MessageIcon { None, Warning, Error, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// The three panes of the status bar.
enum class Pane { Readout = 0, Prompt = 1, Image = 2 };

// Mouse cursors: the cross "lcross", the boxes "smallsq" and "wsquare", the aperture
// circle "wcircle", and the platform arrow.
enum class CursorShape { Arrow, Cross, SmallBox, LargeBox, Circle };

// The three system sounds the mouse modes use.
enum class BeepKind { Default, Question, Exclamation };

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // client pixels, right and bottom exclusive
};

class Host {
public:
    virtual ~Host() = default;

    // A modal message box owned by the main window.
    virtual MessageAnswer ShowMessage(std::string_view caption, std::string_view text,
                                      MessageIcon icon = MessageIcon::Warning,
                                      MessageButtons buttons = MessageButtons::Ok) = 0;

    virtual void SetPaneText(Pane pane, std::string_view text) = 0;

    // Progress protocol of a long operation: the bar runs from 0 to `steps` (image rows),
    // one Step per row; EndProgress hides it, restores the prompt pane to its idle text
    // and empties the readout pane. The label is written by the caller (see Progress).
    virtual void BeginProgress(int steps) = 0;
    virtual void StepProgress() = 0;
    virtual void EndProgress() = 0;

    // The hourglass over the whole program, nested; every Push has its Pop.
    virtual void PushWaitCursor() = 0;
    virtual void PopWaitCursor() = 0;
    virtual void SetCursor(CursorShape shape) = 0;
    virtual void Beep(BeepKind kind) = 0;

    virtual void SetTitle(std::string_view title) = 0;
    virtual void ApplyMenuState(const MenuState& menu) = 0;

    // Repaint requests: the whole client area, or one rectangle of it.
    virtual void InvalidateAll() = 0;
    virtual void InvalidateRect(const PixelRect& rect) = 0;
    // Let the window catch up with pending repaints before a long operation. Nothing else
    // runs meanwhile: no input, no timers, no hand-overs.
    virtual void UpdateWindow() = 0;

    // "RAW Options". Opens with `fields`; on OK calls `ok` with what the user typed and
    // ends only when it returns true. Returns false when the user cancels.
    virtual bool RunRawOptionsDialog(RawDialogFields& fields,
                                     const DialogOk<RawDialogFields>& ok) = 0;

    // Manual display levels: "Show" with "Min" and "Max". As the raw options dialog:
    // `ok` sees every press of OK; false when the user cancels.
    virtual bool RunManualLevelsDialog(ManualLevelsFields& fields,
                                       const DialogOk<ManualLevelsFields>& ok) = 0;

    // Pixel editing.
    // "Edit Pixel", as the raw options dialog: false when the user cancels.
    virtual bool RunEditPixelDialog(EditPixelDialogFields& fields,
                                    const DialogOk<EditPixelDialogFields>& ok) = 0;

    // --- Photometry dialogs ---
    // "ParamsBox" ("Corvane -- Parameter Input") and "Select": open with `fields`, end on
    // an OK that `ok` accepts (true) or on Cancel (false).
    virtual bool RunParamsDialog(ParamsDialogFields& fields,
                                 const DialogOk<ParamsDialogFields>& ok) = 0;
    virtual bool RunSelectDialog(SelectDialogFields& fields,
                                 const DialogOk<SelectDialogFields>& ok) = 0;

    // Header dialog: shows the observation header read-only until the user presses OK.
    virtual void ShowHeaderDialog(const HeaderDialogFields& fields) = 0;
    // Main window: geometry, children, scroll bars, the file dialog, the about box and the
    // two modeless windows.
    virtual WindowMetrics GetWindowMetrics() = 0;
    // Sets the outer size of the main window (kept in place, or moved to the top-left
    // corner of the screen when `atOrigin`) and returns the client size it now has.
    virtual PixelSize SetWindowSize(int width, int height, bool atOrigin) = 0;
    virtual PixelSize GetClientSize() = 0;
    // Places scroll bars, corner box, status bar, panes and progress bar in one batch;
    // false when the batch could not be started (the children stay where they were).
    virtual bool PlaceChildren(const ChildLayout& layout) = 0;
    virtual void SetScrollBar(ScrollBarKind bar, const ScrollBarState& state) = 0;
    virtual void SetScrollPosition(ScrollBarKind bar, int position) = 0;
    virtual void SetSizeLimits(const SizeLimits& limits) = 0;
    // The open-file dialog; nullopt when the user cancels.
    virtual std::optional<OpenFileChoice> RunOpenFileDialog(const OpenFileRequest& request) = 0;
    virtual void ShowAboutBox(std::string_view versionText) = 0;
    // Closes the main window the way its close box does (the close guard decides).
    virtual void RequestClose() = 0;
    virtual void CloseModeless(ModelessWindow window) = 0;
    virtual void SetCloseUpTitle(std::string_view title) = 0;
    // The pointer position over the main window's client, forwarded to the close-up window.
    virtual void SendCloseUpPointer(int x, int y) = 0;

    // The acquisition program: whether its window ("Quib") is open, and starting it (false
    // when it cannot be started). A host without one, as the command line, answers no.
    virtual bool AcquisitionWindowOpen() { return false; }
    virtual bool StartAcquisitionProgram() { return false; }
    // Brings a minimized main window back before a handed-over image is shown.
    virtual void RestoreIfMinimized() {}
    // Watches the process `pid` that opened a session by handing over an image unasked:
    // when it ends, the session ends as when a started acquisition program vanishes.
    virtual void WatchAcquisitionProgram(int /*pid*/) {}

    // Hand-overs from the acquisition program wait while a modal loop runs. True while a
    // message box or modal dialog of this host is open.
    virtual bool InModalLoop() { return false; }
    // Asks for the waiting hand-overs to be handled from the event loop once the current
    // event is done (DrainHandOvers). Also due from the host itself whenever its last
    // modal loop ends. A host without an event loop never receives hand-overs.
    virtual void PostHandOverDrain() {}

    // Close-up window and tool box: opening them, and the close-up's repaint.
    virtual void OpenModeless(ModelessWindow window) = 0;
    virtual void InvalidateCloseUp() = 0;
    // --- Photometry output files and the run's two boxes ---
    // "Open Output File": opens with `fields`; a double click on a list entry calls
    // `enter`, after which the dialog shows the fields anew; OK calls `ok` with the fields
    // and ends only when it returns true. Returns false when the user cancels.
    virtual bool RunOutputFilesDialog(OutputFilesDialogFields& fields,
                                      const DialogEnter<OutputFilesDialogFields>& enter,
                                      const DialogOk<OutputFilesDialogFields>& ok) = 0;
    // "AppendBox" (empty caption) with `text` and the buttons Append, Overwrite, Cancel.
    virtual AppendChoice AskAppend(std::string_view text) = 0;
    // "ConfirmBox" ("Corvane -- Acknowledge"): true for "Go with this !", false for Cancel.
    virtual bool RunConfirmBox() = 0;
    // "ShowResBox" ("Corvane") listing `rows` in the given order: true for "OK", false
    // when it is closed any other way.
    virtual bool RunResultsBox(const std::vector<std::string>& rows) = 0;
};

// The answer a scripted host gives: OK boxes are answered Ok, questions from `answers` in
// order, and No once the script is used up.
template <class Queue>
MessageAnswer NextScriptedAnswer(Queue& answers, MessageButtons buttons) {
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (answers.empty()) {
        return MessageAnswer::No;
    }
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace corvane
