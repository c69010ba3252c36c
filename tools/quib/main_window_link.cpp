#include "main_window_link.h"

#include <algorithm>
#include <span>

#include "platform/acquisition_protocol.h"

namespace quib {

namespace {

// Tries of the end-of-session message before quib ends without its answer.
constexpr int kEndSessionTries = 3;

QString Seconds(int ms) {
    return QString::number(ms / 1000.0, 'f', 1) + " s";
}

bool NotRunning(QLocalSocket::LocalSocketError error) {
    return error == QLocalSocket::ServerNotFoundError ||
           error == QLocalSocket::ConnectionRefusedError;
}

QString Describe(const std::uint32_t message, const QString& path) {
    switch (message) {
        case corvane::kCopyDataMessage:
            return "hand over " + path;
        case corvane::kCloseImageMessage:
            return "release " + path;
        default:
            return "end the session";
    }
}

}  // namespace

MainWindowLink::MainWindowLink(QString serverName, int retryMs, int replyTimeoutMs)
    : serverName_(std::move(serverName)), retryMs_(retryMs), replyTimeoutMs_(replyTimeoutMs) {
    retryTimer_.setSingleShot(true);
    replyTimer_.setSingleShot(true);
    connect(&retryTimer_, &QTimer::timeout, this, &MainWindowLink::Pump);
    connect(&replyTimer_, &QTimer::timeout, this,
            [this] { Failed("Corvane32 did not answer within " + Seconds(replyTimeoutMs_)); });
    connect(&socket_, &QLocalSocket::connected, this, &MainWindowLink::Write);
    connect(&socket_, &QLocalSocket::readyRead, this, &MainWindowLink::OnReadyRead);
    connect(&socket_, &QLocalSocket::errorOccurred, this,
            [this](QLocalSocket::LocalSocketError error) {
                if (NotRunning(error)) {
                    Failed(QStringLiteral("Corvane32 is not running"));
                } else if (error == QLocalSocket::PeerClosedError) {
                    Failed(QStringLiteral("Corvane32 closed the connection"));
                } else {
                    Failed(socket_.errorString());
                }
            });
}

void MainWindowLink::HandOver(const QString& path) {
    queue_.push_back({corvane::kCopyDataMessage, path});
    Pump();
}

void MainWindowLink::Release(const QString& path) {
    const auto waiting = [&](const Outgoing& o) {
        return o.message == corvane::kCopyDataMessage && o.path == path;
    };
    const auto from = queue_.begin() + (inFlight_ ? 1 : 0);
    const auto withdrawn = std::remove_if(from, queue_.end(), waiting);
    if (withdrawn != queue_.end()) {
        queue_.erase(withdrawn, queue_.end());
        emit Report("Withdrawn " + path + " (written again before it was handed over)");
        return;
    }
    queue_.push_back({corvane::kCloseImageMessage, path});
    Pump();
}

void MainWindowLink::EndSession() {
    for (auto it = queue_.begin() + (inFlight_ ? 1 : 0); it != queue_.end();) {
        if (it->message == corvane::kCopyDataMessage) {
            emit Report("Not handed over: " + it->path);
        }
        it = queue_.erase(it);
    }
    retryTimer_.stop();
    queue_.push_back({corvane::kSessionEndedMessage, {}});
    Pump();
}

void MainWindowLink::Pump() {
    if (queue_.empty() || inFlight_ || retryTimer_.isActive()) {
        return;
    }
    switch (socket_.state()) {
        case QLocalSocket::ConnectedState:
            Write();
            break;
        case QLocalSocket::UnconnectedState:
            socket_.connectToServer(serverName_);  // Write follows on `connected`
            break;
        default:
            break;  // connecting or closing: a signal comes
    }
}

void MainWindowLink::Write() {
    if (queue_.empty() || inFlight_) {
        return;
    }
    const Outgoing& head = queue_.front();
    const std::vector<std::uint8_t> frame =
        head.message == corvane::kCopyDataMessage
            ? corvane::EncodeCopyData(corvane::kLoadAfterReply, head.path.toStdString())
            : corvane::EncodeMessage(head.message);
    inFlight_ = true;
    reply_.clear();
    replyTimer_.start(replyTimeoutMs_);
    socket_.write(reinterpret_cast<const char*>(frame.data()), static_cast<qint64>(frame.size()));
}

void MainWindowLink::OnReadyRead() {
    const QByteArray bytes = socket_.readAll();
    if (!inFlight_) {
        return;  // nothing is awaited: a stray answer of a connection given up
    }
    reply_ += bytes;
    if (reply_.size() < static_cast<qsizetype>(corvane::kReplySize)) {
        return;
    }
    const auto decoded =
        corvane::DecodeReply(std::span(reinterpret_cast<const std::uint8_t*>(reply_.constData()),
                                       static_cast<std::size_t>(reply_.size())));
    const Outgoing head = queue_.front();
    if (!decoded || decoded->message != head.message ||
        reply_.size() > static_cast<qsizetype>(corvane::kReplySize)) {
        Failed(QStringLiteral("Corvane32 answered out of step"));
        return;
    }
    replyTimer_.stop();
    inFlight_ = false;
    queue_.pop_front();
    lastError_.clear();
    if (head.message == corvane::kCopyDataMessage && decoded->result == 0) {
        // Sending the same path again would be refused again.
        emit Report("Corvane32 refused " + head.path);
    } else {
        Succeeded(head);
    }
    Pump();
}

void MainWindowLink::Succeeded(const Outgoing& done) {
    switch (done.message) {
        case corvane::kCopyDataMessage:
            emit Report("Handed over " + done.path);
            break;
        case corvane::kCloseImageMessage:
            emit Report("Released " + done.path);
            break;
        default:
            emit Report("Session ended");
            emit SessionEnded();
            break;
    }
}

void MainWindowLink::Failed(const QString& error) {
    const bool attempting = inFlight_ || socket_.state() != QLocalSocket::ConnectedState;
    if (queue_.empty() || !attempting || retryTimer_.isActive()) {
        return;  // a second signal of the failure already handled
    }
    inFlight_ = false;
    replyTimer_.stop();
    // Without its reply the stream is out of step: the next try starts a new connection.
    socket_.abort();

    Outgoing& head = queue_.front();
    ++head.failures;
    if (head.message == corvane::kSessionEndedMessage &&
        (head.failures >= kEndSessionTries || error == "Corvane32 is not running")) {
        emit Report("Could not end the session: " + error);
        queue_.pop_front();
        emit SessionEnded();
        return;
    }
    if (error != lastError_ || head.failures == 1) {
        emit Report("Could not " + Describe(head.message, head.path) + ": " + error +
                    "; trying again every " + Seconds(retryMs_));
    }
    lastError_ = error;
    retryTimer_.start(retryMs_);
}

}  // namespace quib
