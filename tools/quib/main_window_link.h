#pragma once
// quib's end of the link: one connection to the main window's local server, kept for the
// session, over which each message is sent and its reply awaited, as a sent window message
// would wait for the window procedure.

#include <QLocalSocket>
#include <QString>
#include <cstdint>
#include <vector>

namespace quib {

class MainWindowLink {
public:
    explicit MainWindowLink(QString serverName) : serverName_(std::move(serverName)) {}

    // Sends one frame and waits for its reply. False, with `error` saying why, when the
    // main window is not there or did not answer within `timeoutMs`.
    bool Send(const std::vector<std::uint8_t>& frame, std::uint32_t message, QString& error,
              int timeoutMs = 15000);

    const QString& ServerName() const { return serverName_; }

private:
    bool Connect(QString& error);

    QString serverName_;
    QLocalSocket socket_;
};

}  // namespace quib
