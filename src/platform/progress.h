#pragma once
// The progress protocol of a long operation, as one object: label and bar at construction,
// one Step per image row, and the bar hidden and the panes restored when it goes.

#include <string_view>

#include "platform/host.h"

namespace corvane {

class Progress {
public:
    Progress(Host& host, std::string_view label, int rows) : host_(host) {
        host_.SetPaneText(Pane::Readout, label);
        host_.BeginProgress(rows);
    }
    ~Progress() { host_.EndProgress(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void Step() { host_.StepProgress(); }

private:
    Host& host_;
};

// The hourglass for the lifetime of the object.
class WaitCursor {
public:
    explicit WaitCursor(Host& host) : host_(host) { host_.PushWaitCursor(); }
    ~WaitCursor() { host_.PopWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Host& host_;
};

}  // namespace corvane
