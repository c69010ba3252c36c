// quib: the acquisition program of Corvane32. It takes the frames of a session, from the
// image files another program writes into a folder or from an INDI camera, and hands each
// one, once complete, to the Corvane32 main window.

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>

#include "command_line.h"
#include "quib_window.h"

int main(int argc, char** argv) {
    // Termination requests close the window like its close box, so that the main window
    // hears the end of the session. Blocked before any thread starts (the INDI client has
    // threads of its own), read as a descriptor.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    const int signalFd = signalfd(-1, &endSignals, SFD_CLOEXEC | SFD_NONBLOCK);

    QApplication application(argc, argv);
    QApplication::setApplicationName("quib");

    QString error;
    const quib::QuibOptions options = quib::ReadCommandLine(QApplication::arguments(), error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "quib: %s\n", error.toLocal8Bit().constData());
        return 2;
    }

    quib::QuibWindow window(options);
    if (!window.HoldsServer()) {
        return 1;
    }
    if (signalFd >= 0) {
        auto* notifier = new QSocketNotifier(signalFd, QSocketNotifier::Read, &window);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [signalFd, &window] {
            signalfd_siginfo info;
            while (read(signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            }
            window.close();
        });
    }
    window.show();
    return QApplication::exec();
}
