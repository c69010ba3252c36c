// quib: the acquisition program of Corvane32. It watches a folder for the images a camera
// program writes and hands each one, once complete, to the Corvane32 main window.

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QSocketNotifier>

#include "folder_watch.h"
#include "platform/acquisition_process.h"
#include "quib_window.h"

int main(int argc, char** argv) {
    // Termination requests close the window like its close box, so that the main window
    // hears the end of the session. Blocked before any thread starts, read as a descriptor.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    const int signalFd = signalfd(-1, &endSignals, SFD_CLOEXEC | SFD_NONBLOCK);

    QApplication application(argc, argv);
    QApplication::setApplicationName("quib");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Watches a folder for new image files and hands each one, once it has stopped "
        "growing, to the Corvane32 main window. Closing the window ends the session.");
    parser.addHelpOption();
    const QCommandLineOption folder("folder", "Folder to watch (default: the current directory).",
                                    "dir", QDir::currentPath());
    const QCommandLineOption single(
        "single-file", "Single-file mode: the camera overwrites this one file in the folder.",
        "name");
    QStringList defaults;
    for (const std::string& pattern : quib::DefaultPatterns()) {
        defaults << QString::fromStdString(pattern);
    }
    const QCommandLineOption patterns("patterns", "Image file names to watch for.", "globs",
                                      defaults.join(' '));
    const QCommandLineOption settle("settle-ms",
                                    "How long a file must stay unchanged before it is handed over.",
                                    "ms", "1000");
    const QCommandLineOption poll("poll-ms", "How often the folder is looked at.", "ms", "250");
    const QCommandLineOption scope(
        "scope", "Names the link to the main window (default: the user name).", "name",
        QString::fromStdString(corvane::CurrentUserName()));
    parser.addOptions({folder, single, patterns, settle, poll, scope});
    parser.process(application);

    quib::QuibOptions options;
    options.folder = parser.value(folder);
    options.singleFile = parser.value(single);
    for (const std::string& pattern : quib::SplitPatterns(parser.value(patterns).toStdString())) {
        options.patterns << QString::fromStdString(pattern);
    }
    options.scope = parser.value(scope);
    options.settleMs = std::max(0, parser.value(settle).toInt());
    options.pollMs = std::max(10, parser.value(poll).toInt());

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
