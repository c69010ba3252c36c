#pragma once
// Ends the program when the user or the system asks for it by a signal (SIGTERM, SIGINT,
// SIGHUP), from the event loop rather than the signal handler.
//
// A signal is an answer already given, so nothing may hold it: every event loop ends at
// once, including those of open message boxes and dialogs, which return as if cancelled
// (a photometry run writes nothing), and boxes that the returning code still opens come
// back at once the same way. An acquisition session does not refuse it as it refuses a
// close: the system is ending this program and would kill it anyway. Once the loops have
// returned, main lets go of the window (its local socket) and the program's image (its
// temporary pixel file), as after a normal close.

#include <QObject>
#include <QSocketNotifier>

#include "platform/termination_signals.h"

namespace corvane {

class TerminationWatch : public QObject {
    Q_OBJECT
public:
    explicit TerminationWatch(TerminationSignals& source, QObject* parent = nullptr);

    // The signal that ended the program; 0 while none has come.
    int Signal() const { return signal_; }

private:
    void OnSignal();

    TerminationSignals& signals_;
    QSocketNotifier notifier_;
    int signal_ = 0;
};

}  // namespace corvane
