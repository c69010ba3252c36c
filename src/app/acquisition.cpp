#include "app/acquisition.h"

#include <optional>
#include <string>

#include "app/image_commands.h"
#include "app/menu_model.h"
#include "platform/acquisition_protocol.h"

namespace corvane {

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
    host.SetTitle("Corvane32 - (Acquiring...)");
    program.shell.acquisitionSession = true;  // Acquire is grayed with it
    // The image shown until now goes with its memory and file at once: the session will
    // hand over its own images, and the old file must not stay held meanwhile.
    ReleaseImage(program.image);
    ResetMainWindow(program, host);
    return true;
}

HandOver HandleCopyData(Program& program, Host& host, std::uint32_t number,
                        std::span<const std::uint8_t> data) {
    std::optional<std::string> path = CopyDataString(data);
    if (!path) {
        host.ShowMessage("Error 423", "Bad pointer", MessageIcon::None);
        return HandOver::Refused;
    }
    program.image.path = *path;
    program.shell.mouseMode = MouseMode::None;
    program.shell.openAsRaw = false;
    program.shell.faceLiftLocked = true;
    UpdateMenu(program, host);
    host.RestoreIfMinimized();
    if (number == kLoadAfterReply) {
        return HandOver::ReloadPosted;
    }
    LoadImage(program, host);
    return HandOver::Loaded;
}

void EndAcquisitionSession(Program& program, Host& host) {
    host.SetTitle("Corvane 32 - " + program.image.path);
    host.SetPaneText(Pane::Prompt, "");
    program.shell.acquisitionSession = false;
    program.shell.faceLiftLocked = false;  // FaceLift comes back with a shown image
    UpdateMenu(program, host);
}

void ReleaseImageForAcquisition(Program& program, Host& host) { CloseImage(program, host); }

}  // namespace corvane
