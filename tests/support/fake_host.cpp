#include "support/fake_host.h"

#include <algorithm>

namespace corvane::test {

std::vector<std::string> FakeHost::MessageLines() const {
    std::vector<std::string> lines;
    for (const RecordedMessage& m : messages) {
        lines.push_back(m.caption + ": " + m.text);
    }
    return lines;
}

void FakeHost::OpenModal(const std::string& line) {
    log.push_back(line);
    ++modalDepth;
    maxModalDepth = std::max(maxModalDepth, modalDepth);
    if (insideModal) {
        insideModal(line);
    }
    --modalDepth;
}

MessageAnswer FakeHost::ShowMessage(std::string_view caption, std::string_view text,
                                    MessageIcon icon, MessageButtons buttons) {
    messages.push_back({std::string(caption), std::string(text), icon, buttons});
    OpenModal("message " + std::string(caption) + ": " + std::string(text));
    return NextScriptedAnswer(answers, buttons);
}

void FakeHost::SetPaneText(Pane pane, std::string_view text) {
    auto i = static_cast<int>(pane);
    panes[i] = std::string(text);
    paneHistory[i].push_back(panes[i]);
    log.push_back("pane " + std::to_string(i) + ": " + panes[i]);
}

void FakeHost::BeginProgress(int steps) {
    ++progressBegins;
    lastProgressRange = steps;
    log.push_back("progress " + std::to_string(steps));
}

void FakeHost::StepProgress() { ++progressSteps; }

void FakeHost::EndProgress() {
    ++progressEnds;
    log.push_back("progress end");
    SetPaneText(Pane::Prompt, idlePrompt ? idlePrompt() : std::string());
    SetPaneText(Pane::Readout, "");
}

void FakeHost::PushWaitCursor() {
    ++waitDepth;
    if (waitDepth > maxWaitDepth) maxWaitDepth = waitDepth;
}

void FakeHost::PopWaitCursor() { --waitDepth; }

void FakeHost::SetCursor(CursorShape shape) { cursor = shape; }

void FakeHost::Beep(BeepKind kind) {
    beeps.push_back(kind);
    log.push_back("beep " + std::to_string(static_cast<int>(kind)));
}

void FakeHost::SetTitle(std::string_view text) {
    title = std::string(text);
    titleHistory.push_back(title);
    log.push_back("title " + title);
}

void FakeHost::ApplyMenuState(const MenuState& state) {
    menu = state;
    ++menuUpdates;
}

void FakeHost::InvalidateAll() {
    ++fullInvalidations;
    log.push_back("invalidate");
}

void FakeHost::InvalidateRect(const PixelRect& rect) { invalidatedRects.push_back(rect); }

void FakeHost::UpdateWindow() {
    if (insideModal) {
        insideModal("update");
    }
}

bool FakeHost::RunRawOptionsDialog(RawDialogFields& fields, const DialogOk<RawDialogFields>& ok) {
    ++rawDialogRuns;
    rawDialogOpenings.push_back(fields);
    OpenModal("dialog RAW");
    return RunScripted(rawDialogScript, fields, ok);
}

// Manual display levels
bool FakeHost::RunManualLevelsDialog(ManualLevelsFields& fields,
                                     const DialogOk<ManualLevelsFields>& ok) {
    ++manualLevelsRuns;
    manualLevelsOpenings.push_back(fields);
    OpenModal("dialog ShowBox");
    return RunScripted(manualLevelsScript, fields, ok);

}

// Pixel editing.
bool FakeHost::RunEditPixelDialog(EditPixelDialogFields& fields,
                                  const DialogOk<EditPixelDialogFields>& ok) {
    ++editPixelDialogRuns;
    editPixelDialogOpenings.push_back(fields);
    OpenModal("dialog Edit Pixel");
    return RunScripted(editPixelDialogScript, fields, ok);
}

// --- Photometry dialogs ---

bool FakeHost::RunParamsDialog(ParamsDialogFields& fields,
                               const DialogOk<ParamsDialogFields>& ok) {
    paramsDialogOpenings.push_back(fields);
    OpenModal("dialog ParamsBox");
    return RunScripted(paramsDialogScript, fields, ok);
}

bool FakeHost::RunSelectDialog(SelectDialogFields& fields,
                               const DialogOk<SelectDialogFields>& ok) {
    selectDialogOpenings.push_back(fields);
    OpenModal("dialog Select");
    return RunScripted(selectDialogScript, fields, ok);
}

// Header dialog
void FakeHost::ShowHeaderDialog(const HeaderDialogFields& fields) {
    headerDialogs.push_back(fields);
    OpenModal("dialog Header");
}

// --- main window geometry, file dialog, about box, modeless windows ---

WindowMetrics FakeHost::GetWindowMetrics() { return metrics; }

PixelSize FakeHost::SetWindowSize(int width, int height, bool atOrigin) {
    windowSizes.emplace_back(width, height);
    windowAtOrigin.push_back(atOrigin);
    log.push_back("window " + std::to_string(width) + "x" + std::to_string(height));
    client = {width - HorizontalFrame(metrics), height - NonClientHeight(metrics)};
    return clientOverride ? *clientOverride : client;
}

PixelSize FakeHost::GetClientSize() { return clientOverride ? *clientOverride : client; }

bool FakeHost::PlaceChildren(const ChildLayout& layout) {
    if (placeChildrenFails) {
        return false;
    }
    layouts.push_back(layout);
    return true;
}

void FakeHost::SetScrollBar(ScrollBarKind bar, const ScrollBarState& state) {
    scrollBars[static_cast<int>(bar)] = state;
    ++scrollBarUpdates;
}

void FakeHost::SetScrollPosition(ScrollBarKind bar, int position) {
    scrollBars[static_cast<int>(bar)].position = position;
}

void FakeHost::SetSizeLimits(const SizeLimits& limits) { sizeLimits = limits; }

std::optional<OpenFileChoice> FakeHost::RunOpenFileDialog(const OpenFileRequest& request) {
    openRequests.push_back(request);
    OpenModal("dialog Open");
    if (openDialogScript.empty()) {
        return std::nullopt;
    }
    std::optional<OpenFileChoice> choice = openDialogScript.front();
    openDialogScript.pop_front();
    return choice;
}

void FakeHost::ShowAboutBox(std::string_view versionText) {
    aboutTexts.emplace_back(versionText);
    OpenModal("dialog About");
}

void FakeHost::RequestClose() { ++closeRequests; }

void FakeHost::CloseModeless(ModelessWindow window) { closedModeless.push_back(window); }

void FakeHost::SetCloseUpTitle(std::string_view text) { closeUpTitle = std::string(text); }

void FakeHost::SendCloseUpPointer(int x, int y) { closeUpPointers.emplace_back(x, y); }

// --- Photometry output files and the run's two boxes ---

namespace {

// The next scripted answer, or `otherwise` once the script is used up.
template <class T>
T PopOr(std::deque<T>& script, T otherwise) {
    if (script.empty()) {
        return otherwise;
    }
    T answer = script.front();
    script.pop_front();
    return answer;
}

}  // namespace

bool FakeHost::RunOutputFilesDialog(OutputFilesDialogFields& fields,
                                    const DialogEnter<OutputFilesDialogFields>& enter,
                                    const DialogOk<OutputFilesDialogFields>& ok) {
    OpenModal("dialog OpenOutputBox");
    outputDialogViews.push_back(fields);
    while (!outputDialogScript.empty()) {
        OutputDialogPress press = outputDialogScript.front();
        outputDialogScript.pop_front();
        switch (press.kind) {
            case OutputDialogPress::Enter:
                enter(fields, press.entry);
                outputDialogViews.push_back(fields);
                break;
            case OutputDialogPress::Ok:
                fields.prefix = press.prefix;
                if (ok(fields)) {
                    return true;
                }
                break;
            case OutputDialogPress::Cancel:
                return false;
        }
    }
    return false;
}

AppendChoice FakeHost::AskAppend(std::string_view text) {
    appendTexts.emplace_back(text);
    OpenModal("dialog AppendBox: " + std::string(text));
    return PopOr(appendAnswers, AppendChoice::Cancel);
}

bool FakeHost::RunConfirmBox() {
    ++confirmRuns;
    OpenModal("dialog ConfirmBox");
    return PopOr(confirmAnswers, false);
}

bool FakeHost::RunResultsBox(const std::vector<std::string>& rows) {
    resultsShown.push_back(rows);
    OpenModal("dialog ShowResBox");
    return PopOr(resultsAnswers, false);
}

}  // namespace corvane::test
