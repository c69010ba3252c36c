#pragma once
// Taking a local server name that must have one holder only. Listening replaces a socket
// of the same name, so first ask whether anyone answers under it; what is left without an
// answer is from a program that did not end normally, and is removed.

#include <QLocalServer>
#include <QLocalSocket>
#include <QString>

namespace corvane {

inline bool ListenAlone(QLocalServer& server, const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(1000)) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(name);
    return server.listen(name);
}

}  // namespace corvane
