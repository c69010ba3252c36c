#pragma once
// Taking a local server name that must have one holder only. Asking whether anyone answers
// under the name and then listening leaves a gap in which a second program started at the
// same moment does the same, and listening replaces the other's socket: both would think
// they hold the name. So the name is claimed first, under a lock file beside the socket,
// held for as long as the server object lives. A socket found under a name claimed here is
// from a program that did not end normally, and is removed.

#include <QDir>
#include <QLocalServer>
#include <QString>
#include <optional>

#include "platform/file_claim.h"

namespace corvane {

// Where the lock of a server name lies: beside the socket, where QLocalServer puts it.
inline QString ServerNameLockPath(const QString& name) {
    const QString socket =
        name.startsWith(u'/') ? name : QDir::cleanPath(QDir::tempPath()) + u'/' + name;
    return socket + QStringLiteral(".lock");
}

// The claim rides on the server as a child object, so it goes when the server does,
// after the server has closed its socket.
class ServerNameClaim : public QObject {
public:
    static constexpr const char* kObjectName = "corvane-server-name-claim";
    ServerNameClaim(FileClaim claim, QObject* server) : QObject(server), claim_(std::move(claim)) {
        setObjectName(QString::fromLatin1(kObjectName));
    }

private:
    FileClaim claim_;
};

inline bool ListenAlone(QLocalServer& server, const QString& name) {
    // A claim from an earlier listen of this server: this process would block itself.
    delete server.findChild<QObject*>(QString::fromLatin1(ServerNameClaim::kObjectName),
                                      Qt::FindDirectChildrenOnly);
    ClaimResult taken =
        FileClaim::Take(ServerNameLockPath(name).toStdString(), ClaimOpen::OpenOrCreate);
    if (!taken.claim) {
        return false;
    }
    QLocalServer::removeServer(name);
    if (!server.listen(name)) {
        return false;
    }
    new ServerNameClaim(std::move(*taken.claim), &server);
    return true;
}

}  // namespace corvane
