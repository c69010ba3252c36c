#include "platform/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace corvane {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe for the handler. A handler reaches no object, so this is the
// one piece of process-wide state here; -1 while no TerminationSignals is installed.
std::atomic<int> handlerPipe{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnTerminationSignal(int signal) {
    const int savedErrno = errno;
    const int fd = handlerPipe.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signal);
        // A full pipe already holds signals enough; the byte may be dropped.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

std::unique_ptr<TerminationSignals> TerminationSignals::Install() {
    if (handlerPipe.load() >= 0) {
        return nullptr;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return nullptr;
    }
    std::unique_ptr<TerminationSignals> installed(new TerminationSignals(ends[0], ends[1]));
    handlerPipe.store(ends[1]);

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) {
        sigaddset(&action.sa_mask, signal);
    }
    for (int i = 0; i < kCount; ++i) {
        struct sigaction& previous = installed->previous_[i];
        if (::sigaction(kSignals[i], nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
            continue;
        }
        installed->caught_[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
    return installed;
}

TerminationSignals::~TerminationSignals() {
    for (int i = 0; i < kCount; ++i) {
        if (caught_[i]) {
            ::sigaction(kSignals[i], &previous_[i], nullptr);
        }
    }
    handlerPipe.store(-1);
    ::close(writeEnd_);
    ::close(readEnd_);
}

int TerminationSignals::Take() {
    int first = 0;
    unsigned char bytes[16];
    ssize_t count = 0;
    while ((count = ::read(readEnd_, bytes, sizeof bytes)) > 0 ||
           (count < 0 && errno == EINTR)) {
        if (first == 0 && count > 0) {
            first = bytes[0];
        }
    }
    return first;
}

void EndBySignal(int signal) {
#if defined(__SANITIZE_ADDRESS__)
    // Ending by a signal skips the leak check of a normal exit; a leak ends the process here.
    __lsan_do_leak_check();
#endif
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    // Only reached for a signal whose default is not to end the process.
    std::_Exit(128 + signal);
}

}  // namespace corvane
