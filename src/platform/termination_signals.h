#pragma once
// SIGTERM, SIGINT and SIGHUP turned into bytes on a pipe. The handler only writes the
// signal's number there; the event loop reads it and ends the program the way a normal
// close does, so that the code owning the temporary pixel file and the local socket
// removes them. Nothing more is safe inside a signal handler.

#include <memory>
#include <signal.h>

namespace corvane {

class TerminationSignals {
public:
    // Catches the three signals. Nothing when this process catches them already or no pipe
    // can be made. A signal that was ignored when the program started (nohup, a background
    // job of a shell) stays ignored: whoever started it asked for that.
    static std::unique_ptr<TerminationSignals> Install();

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;
    // The handling from before Install comes back; signals not yet taken are dropped.
    ~TerminationSignals();

    // Readable once a signal has come, for an event loop to watch.
    int Descriptor() const { return readEnd_; }
    // The first of the signals that came since the last call; 0 when none did. Never waits.
    int Take();

private:
    static constexpr int kCount = 3;
    TerminationSignals(int readEnd, int writeEnd) : readEnd_(readEnd), writeEnd_(writeEnd) {}

    int readEnd_ = -1;
    int writeEnd_ = -1;
    bool caught_[kCount] = {};
    struct sigaction previous_[kCount] = {};
};

// Ends the process as `signal` does by default, once the program has cleaned up, so that
// whoever started it (a shell, a session manager) sees why it ended.
[[noreturn]] void EndBySignal(int signal);

}  // namespace corvane
