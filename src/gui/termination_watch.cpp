#include "gui/termination_watch.h"

#include <QCoreApplication>

namespace corvane {

TerminationWatch::TerminationWatch(TerminationSignals& source, QObject* parent)
    : QObject(parent),
      signals_(source),
      notifier_(source.Descriptor(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &TerminationWatch::OnSignal);
}

void TerminationWatch::OnSignal() {
    const int signal = signals_.Take();
    if (signal == 0 || signal_ != 0) {
        return;
    }
    signal_ = signal;
    notifier_.setEnabled(false);
    // Unlike quit(), exit() cannot be refused by a window's close event, and it ends the
    // nested loops too: each box returns, and so does every box opened after it, until the
    // stack is back in main.
    QCoreApplication::exit(128 + signal);
}

}  // namespace corvane
