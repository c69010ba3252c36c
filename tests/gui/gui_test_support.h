#pragma once
// The application object of the widget tests, and waiting on the event loop.

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace corvane::test {

// One QApplication for the whole test program, made on first use and kept to the end.
inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    if (qApp == nullptr) {
        new QApplication(argc, argv);
    }
    return *static_cast<QApplication*>(QCoreApplication::instance());
}

// Runs the event loop until `done` holds; false when `timeoutMs` passed first.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 15000) {
    TestApplication();
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Runs the event loop for `ms` milliseconds.
inline void Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    WaitUntil([&] { return clock.elapsed() >= ms; }, ms + 1000);
}

// Acts once on the next modal dialog of type T that comes up, from inside its loop.
template <class T>
class OnModal {
public:
    explicit OnModal(std::function<void(T*)> act) : act_(std::move(act)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                timer_.stop();
                act_(dialog);
                done = true;
            }
        });
        timer_.start();
    }
    bool done = false;

private:
    std::function<void(T*)> act_;
    QTimer timer_;
};

// Closes every message box that comes up and keeps its caption and text, so that a test
// never hangs on one and can check that none appeared.
class MessageWatcher {
public:
    MessageWatcher() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen.push_back(box->windowTitle().toStdString() + ": " + box->text().toStdString());
                box->done(QMessageBox::No);
            }
        });
        timer_.start();
    }
    std::vector<std::string> seen;

private:
    QTimer timer_;
};

}  // namespace corvane::test
