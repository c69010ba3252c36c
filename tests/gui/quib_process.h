#pragma once
// quib as the tests run it: a real process, offscreen, on a folder of the test, under a
// link scope of its own so that tests never meet each other or a running Corvane32; and a
// plain client of the main window's link.

#include <gtest/gtest.h>

#include <QLocalSocket>
#include <QProcess>
#include <csignal>
#include <QProcessEnvironment>
#include <atomic>
#include <span>
#include <vector>
#include <string>
#include <unistd.h>

#include "gui_test_support.h"
#include "platform/acquisition_protocol.h"

namespace corvane::test {

inline std::string UniqueScope(const char* what) {
    static std::atomic<int> counter{0};
    return std::string("test-") + what + "-" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++);
}

inline QString QuibPath() {
    const QString chosen = qEnvironmentVariable("CORVANE_QUIB");
    return chosen.isEmpty() ? QStringLiteral(CORVANE_QUIB_PATH) : chosen;
}

// The arguments that point quib at `folder` with short waits.
inline QStringList QuibArguments(const std::string& folder, const std::string& scope,
                                 int settleMs, const QStringList& extra = {}) {
    QStringList arguments{"--folder",    QString::fromStdString(folder),
                          "--scope",     QString::fromStdString(scope),
                          "--settle-ms", QString::number(settleMs),
                          "--poll-ms",   "40",
                          "-platform",   "offscreen"};
    return arguments + extra;
}

// True while a quib window of `scope` is open.
inline bool QuibRunning(const std::string& scope) {
    QLocalSocket probe;
    probe.connectToServer(QString::fromStdString(QuibServerName(scope)));
    const bool open = probe.waitForConnected(500);
    probe.abort();
    return open;
}

// quib as a process of the test, its log (what it prints) read as it runs.
class Quib {
public:
    Quib(const std::string& folder, const std::string& scope, int settleMs,
         const QStringList& extra = {}) : scope_(scope) {
        TestApplication();  // before the start, or its output is never read while it runs
        process_.setProgram(QuibPath());
        process_.setArguments(QuibArguments(folder, scope, settleMs, extra));
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        EXPECT_TRUE(process_.waitForStarted(10000));
        EXPECT_TRUE(WaitUntil([&] { return QuibRunning(scope_); }));
    }
    ~Quib() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    void Terminate() { ::kill(static_cast<pid_t>(process_.processId()), SIGTERM); }
    bool Ended() const { return process_.state() == QProcess::NotRunning; }
    // Everything quib has logged so far.
    const QString& Log() {
        log_ += QString::fromLocal8Bit(process_.readAllStandardOutput());
        return log_;
    }
    // Runs the event loop until the log holds `text` `times` times.
    bool WaitForLog(const QString& text, int times = 1, int timeoutMs = 15000) {
        return WaitUntil([&] { return Log().count(text) >= times; }, timeoutMs);
    }

private:
    std::string scope_;
    QProcess process_;
    QString log_;
};

// A client of the link: sends raw bytes and reads the replies.
inline std::vector<AcquisitionReply> SendRaw(const std::string& scope, const std::vector<std::uint8_t>& bytes,
                                      std::size_t replies) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(MainWindowServerName(scope)));
    EXPECT_TRUE(socket.waitForConnected(3000));
    socket.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    socket.flush();
    QByteArray answer;
    WaitUntil([&] {
        answer += socket.readAll();
        return answer.size() >= static_cast<qsizetype>(replies * kReplySize) ||
               socket.state() != QLocalSocket::ConnectedState;
    }, 5000);
    std::vector<AcquisitionReply> decoded;
    for (qsizetype at = 0; at + static_cast<qsizetype>(kReplySize) <= answer.size();
         at += static_cast<qsizetype>(kReplySize)) {
        decoded.push_back(*DecodeReply(std::span(
            reinterpret_cast<const std::uint8_t*>(answer.constData() + at), kReplySize)));
    }
    return decoded;
}

}  // namespace corvane::test
