#include "app/acquisition.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/image_commands.h"
#include "app/menu_model.h"
#include "app/photometry_clicks.h"
#include "platform/acquisition_protocol.h"

namespace corvane {

namespace {

// The session as Acquire opens it: the title, Acquire grayed, and the window emptied at
// once; the image shown until now goes with its memory and file, since the session will
// hand over its own images and the old file must not stay held meanwhile.
void OpenAcquisitionSession(Program& program, Host& host) {
    host.SetTitle("Corvane32 - (Acquiring...)");
    program.shell.acquisitionSession = true;
    ReleaseImage(program.image);
    ResetMainWindow(program, host);
}

// A hand-over ends whatever pick a mouse mode was waiting for. A star list being
// initialised or a star being added is cancelled as Escape cancels it, so no list is left
// half rewritten and marked initialised.
void DropPick(Program& program, Host& host) {
    const MouseMode mode = program.shell.mouseMode;
    program.shell.mouseMode = MouseMode::None;
    if (mode == MouseMode::InitStarList || mode == MouseMode::AddStar) {
        StarInput in = MakeStarInput(program, host);
        CancelStarInput(in, mode == MouseMode::InitStarList);
    }
}

void ShowHandedOverImage(Program& program, Host& host, const PendingHandOver& handOver) {
    DropPick(program, host);
    if (!program.shell.acquisitionSession) {
        // A quib started by hand: its first image opens the session Acquire would have
        // opened, and the session ends with that program should it never say so.
        OpenAcquisitionSession(program, host);
        if (handOver.senderPid > 0) {
            host.WatchAcquisitionProgram(handOver.senderPid);
        }
    }
    program.shell.openAsRaw = false;
    program.shell.faceLiftLocked = true;
    UpdateMenu(program, host);
    host.RestoreIfMinimized();
    LoadImage(program, host, handOver.path);
}

void Handle(Program& program, Host& host, const PendingHandOver& handOver) {
    switch (handOver.kind) {
        case HandOverKind::Image:
            ShowHandedOverImage(program, host, handOver);
            break;
        case HandOverKind::Unreadable:
            host.ShowMessage("Error 423", "Bad pointer", MessageIcon::None);
            break;
        case HandOverKind::Release:
            // No mode may go on waiting for a click on an image that is gone.
            DropPick(program, host);
            CloseImage(program, host);
            break;
        case HandOverKind::SessionEnded:
            EndAcquisitionSession(program, host);
            break;
        case HandOverKind::ProgramGone:
            if (program.shell.acquisitionSession) {
                EndAcquisitionSession(program, host);
            }
            break;
    }
}

}  // namespace

void ApplyAcquisitionProbe(Program& program, Host& host, bool quibFound) {
    program.shell.acquireAvailable = quibFound;
    UpdateMenu(program, host);
}

bool Acquire(Program& program, Host& host) {
    if (host.AcquisitionWindowOpen()) {
        host.ShowMessage("MSG 713", "Acquisition module already loaded", MessageIcon::Warning);
        return false;
    }
    if (!host.StartAcquisitionProgram()) {
        host.ShowMessage("MSG 712",
                         "Cannot load aquisition module. Make sure the program quib.exe is "
                         "stored in the Windows System directory",
                         MessageIcon::Warning);
        return false;
    }
    OpenAcquisitionSession(program, host);
    return true;
}

PendingHandOver CopyDataHandOver(std::uint32_t number, std::span<const std::uint8_t> data,
                                 int senderPid) {
    std::optional<std::string> path = CopyDataString(data);
    PendingHandOver handOver;
    handOver.kind = path ? HandOverKind::Image : HandOverKind::Unreadable;
    handOver.number = number;
    handOver.path = path.value_or(std::string());
    handOver.senderPid = senderPid;
    return handOver;
}

bool HandOversMustWait(const Program& program, Host& host) {
    return program.handOvers.holds > 0 || host.InModalLoop();
}

HandOverTaken ReceiveHandOver(Program& program, Host& host, PendingHandOver handOver) {
    std::deque<PendingHandOver>& waiting = program.handOvers.waiting;
    if (handOver.kind == HandOverKind::Release) {
        // Images still waiting would be loaded only to be let go at once, read meanwhile
        // from a file the camera is writing again; the acquisition program sends the file
        // anew once it is complete.
        std::erase_if(waiting,
                      [](const PendingHandOver& w) { return w.kind == HandOverKind::Image; });
    }
    if (handOver.kind == HandOverKind::Image &&
        std::any_of(waiting.begin(), waiting.end(), [&](const PendingHandOver& w) {
            return w.kind == HandOverKind::Image && w.path == handOver.path;
        })) {
        return HandOverTaken::Waiting;
    }
    const bool loadAfterReply =
        handOver.kind == HandOverKind::Image && handOver.number == kLoadAfterReply;
    if (loadAfterReply || !waiting.empty() || HandOversMustWait(program, host)) {
        waiting.push_back(std::move(handOver));
        host.PostHandOverDrain();
        return HandOverTaken::Waiting;
    }
    Handle(program, host, handOver);
    return HandOverTaken::Handled;
}

std::optional<HandOverKind> HandleNextHandOver(Program& program, Host& host) {
    std::deque<PendingHandOver>& waiting = program.handOvers.waiting;
    if (waiting.empty() || HandOversMustWait(program, host)) {
        return std::nullopt;
    }
    // Out of the inbox before it runs: the same file handed over again during its own
    // load waits for one more load after it, never inside it.
    PendingHandOver next = std::move(waiting.front());
    waiting.pop_front();
    Handle(program, host, next);
    return next.kind;
}

void DrainHandOvers(Program& program, Host& host) {
    while (HandleNextHandOver(program, host)) {
    }
}

void EndAcquisitionSession(Program& program, Host& host) {
    host.SetTitle("Corvane 32 - " + program.image.path);
    host.SetPaneText(Pane::Prompt, "");
    program.shell.acquisitionSession = false;
    program.shell.faceLiftLocked = false;  // FaceLift comes back with a shown image
    UpdateMenu(program, host);
}

}  // namespace corvane
