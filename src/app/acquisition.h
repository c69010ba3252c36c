#pragma once
// The main window's side of the acquisition program: starting it, the session it opens,
// and the three messages it sends (an image to show, release the image, session ended).

#include <cstdint>
#include <span>

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// The start-up probe: Acquire is offered for the whole run only when the program exists.
// The close guard that refuses to end the program during a session is OnCloseRequest.
void ApplyAcquisitionProbe(Program& program, Host& host, bool quibFound);

// Acquire (145). True when a session has begun.
bool Acquire(Program& program, Host& host);

enum class HandOver {
    Refused,       // the data is no readable path; nothing changed
    ReloadPosted,  // number 1: reply first, then run Reload (120)
    Loaded,        // any other number: the load has run; reply now
};

// A copy-data message: its number and its data as received.
HandOver HandleCopyData(Program& program, Host& host, std::uint32_t number,
                        std::span<const std::uint8_t> data);

// 1034: the session has ended. Also run when the started program ends without saying so.
void EndAcquisitionSession(Program& program, Host& host);

// 1035: the acquisition program needs the image file.
void ReleaseImageForAcquisition(Program& program, Host& host);

}  // namespace corvane
