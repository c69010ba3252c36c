#pragma once
// The main window's side of the acquisition program: starting it, the session it opens,
// and the three messages it sends (an image to show, release the image, session ended).
//
// Every message becomes a PendingHandOver on arrival. It is handled at once when the
// program is free; otherwise it waits in the inbox, behind any earlier one, until the
// load, box, dialog or photometry run under way has ended (see hand_over_inbox.h).

#include <cstdint>
#include <optional>
#include <span>

#include "app/hand_over_inbox.h"
#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// The start-up probe: Acquire is offered for the whole run only when the program exists.
// The close guard that refuses to end the program during a session is OnCloseRequest.
void ApplyAcquisitionProbe(Program& program, Host& host, bool quibFound);

// Acquire (145). True when a session has begun.
bool Acquire(Program& program, Host& host);

// A copy-data message as received: Image when its data holds a readable path, else
// Unreadable.
PendingHandOver CopyDataHandOver(std::uint32_t number, std::span<const std::uint8_t> data,
                                 int senderPid);

// True while a hand-over must not run: a load or a photometry run's measuring holds the
// inbox, or a message box or modal dialog is open.
bool HandOversMustWait(const Program& program, Host& host);

enum class HandOverTaken {
    Handled,  // handled before returning: the sender is answered after it
    Waiting,  // in the inbox (or already there): the sender is answered at once
};

// A hand-over as it arrives. Handled at once only when nothing must wait, nothing waits
// before it and it is not a copy-data of number 1 (which is answered before its load).
// An image whose path already waits in the inbox is not queued a second time; a 1035
// takes the images waiting before it out of the inbox.
HandOverTaken ReceiveHandOver(Program& program, Host& host, PendingHandOver handOver);

// Handles the oldest waiting hand-over when nothing must wait; its kind, or nothing.
std::optional<HandOverKind> HandleNextHandOver(Program& program, Host& host);

// Handles waiting hand-overs until none is left or one of them opens a box that makes
// the rest wait again (they then follow when it closes).
void DrainHandOvers(Program& program, Host& host);

// 1034: the session has ended.
void EndAcquisitionSession(Program& program, Host& host);

}  // namespace corvane
