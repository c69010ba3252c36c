#include "main_window_link.h"

#include <QDeadlineTimer>
#include <span>

#include "platform/acquisition_protocol.h"

namespace quib {

bool MainWindowLink::Connect(QString& error) {
    if (socket_.state() == QLocalSocket::ConnectedState) {
        return true;
    }
    socket_.abort();
    socket_.connectToServer(serverName_);
    if (!socket_.waitForConnected(3000)) {
        error = QStringLiteral("Corvane32 is not running");
        socket_.abort();
        return false;
    }
    return true;
}

bool MainWindowLink::Send(const std::vector<std::uint8_t>& frame, std::uint32_t message,
                          QString& error, int timeoutMs) {
    // A connection the main window dropped shows only on the next write: one fresh try.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Connect(error)) {
            return false;
        }
        socket_.write(reinterpret_cast<const char*>(frame.data()),
                      static_cast<qint64>(frame.size()));
        if (socket_.waitForBytesWritten(3000)) {
            break;
        }
        socket_.abort();
        if (attempt == 1) {
            error = QStringLiteral("could not write to Corvane32");
            return false;
        }
    }

    QDeadlineTimer deadline(timeoutMs);
    QByteArray reply;
    while (reply.size() < static_cast<qsizetype>(corvane::kReplySize)) {
        if (socket_.bytesAvailable() == 0 &&
            !socket_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            // Without its reply the stream is out of step: start over next time.
            error = socket_.state() == QLocalSocket::ConnectedState
                        ? QStringLiteral("Corvane32 did not answer")
                        : QStringLiteral("Corvane32 closed the connection");
            socket_.abort();
            return false;
        }
        reply += socket_.read(static_cast<qint64>(corvane::kReplySize) - reply.size());
    }
    const auto decoded = corvane::DecodeReply(std::span(
        reinterpret_cast<const std::uint8_t*>(reply.constData()), static_cast<std::size_t>(reply.size())));
    if (!decoded || decoded->message != message) {
        error = QStringLiteral("Corvane32 answered out of step");
        socket_.abort();
        return false;
    }
    if (message == corvane::kCopyDataMessage && decoded->result == 0) {
        error = QStringLiteral("Corvane32 refused the path");
        return false;
    }
    return true;
}

}  // namespace quib
