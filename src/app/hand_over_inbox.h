#pragma once
// Hand-overs from the acquisition program that could not be taken when they arrived, and
// the holds of the operations they must not interrupt.
//
// A hand-over that arrives while a load runs, a message box or modal dialog is open, or a
// photometry run measures would otherwise be handled inside that operation's event loop:
// a new image loaded under a run that then writes the old fluxes under the new path, or
// pixels released while the run still reads them. Such hand-overs wait here, in arrival
// order, and are handled as soon as the program is free again.

#include <cstdint>
#include <deque>
#include <string>

#include "platform/host.h"

namespace corvane {

enum class HandOverKind {
    Image,         // copy-data with a readable path: show this image
    Unreadable,    // copy-data without one: "Bad pointer"
    Release,       // 1035: let go of the image file
    SessionEnded,  // 1034
    ProgramGone,   // the watched acquisition program ended without sending 1034
};

struct PendingHandOver {
    HandOverKind kind = HandOverKind::Image;
    std::uint32_t number = 0;  // copy-data's number; 1 asks for the reply before the load
    std::string path;          // Image only
    int senderPid = 0;         // the sending process; 0 when the system does not tell
};

struct HandOverInbox {
    std::deque<PendingHandOver> waiting;  // oldest first
    int holds = 0;                        // HandOverHolds alive
};

// Held for the length of an operation that a hand-over must not interrupt. When the last
// hold ends with hand-overs waiting, the host is asked to handle them.
class HandOverHold {
public:
    HandOverHold(HandOverInbox& inbox, Host& host) : inbox_(inbox), host_(host) { ++inbox_.holds; }
    ~HandOverHold() {
        if (--inbox_.holds == 0 && !inbox_.waiting.empty()) {
            host_.PostHandOverDrain();
        }
    }
    HandOverHold(const HandOverHold&) = delete;
    HandOverHold& operator=(const HandOverHold&) = delete;

private:
    HandOverInbox& inbox_;
    Host& host_;
};

}  // namespace corvane
