#pragma once
// The main window's end of the link to the acquisition program: the local server named
// after the window class, the frames read from each connection and handed to the
// session model, the replies, starting quib and noticing when it has ended.

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "app/acquisition.h"
#include "app/program.h"
#include "platform/acquisition_process.h"
#include "platform/host.h"

class QLocalSocket;
class QSocketNotifier;
class QTimer;
class QWidget;

namespace corvane {

class AcquisitionLink : public QObject {
    Q_OBJECT
public:
    struct Options {
        std::string scope;          // the user name unless a test picks its own
        QString quibProgram;        // where quib lies; empty when it was not found
        QStringList quibArguments;  // none for the desktop program
    };

    // The options of the desktop program: the user's scope, quib beside this executable or
    // on PATH.
    static Options DefaultOptions();

    // `runCommand` runs a command id as the menu would (the posted Reload goes through it).
    // `host` is the main window's; it reaches quib through QuibWindowOpen and StartQuib.
    AcquisitionLink(QWidget& window, Program& program, Host& host,
                    std::function<void(int)> runCommand);
    ~AcquisitionLink() override;

    // Listens under the options' scope and applies the start-up probe to the menu: Acquire
    // is offered when quib was found and this window holds the link.
    void Start(Options options);

    // What the host asks of the acquisition program.
    bool QuibWindowOpen() const;
    bool StartQuib();

    bool Listening() const { return server_.isListening(); }
    // The started quib while it is watched; 0 when none is.
    int QuibPid() const { return quibWatch_ ? quibWatch_->Pid() : 0; }
    QString ServerName() const { return server_.serverName(); }

signals:
    // A frame has been handled and answered (for whoever waits on the link).
    void FrameHandled(quint32 message);
    // The session ended because quib went away without saying so.
    void QuibVanished();

private:
    struct Connection {
        QByteArray pending;   // bytes not yet decoded
        bool handling = false;
    };

    void WatchQuib(qint64 pid);
    void StopWatchingQuib();
    void OnQuibEnded();
    void OnReadyRead(QLocalSocket* socket);
    void Drain(QLocalSocket* socket);
    void Reply(QLocalSocket* socket, quint32 message, qint32 result);

    Program& program_;
    Host& host_;
    std::function<void(int)> runCommand_;
    Options options_;
    QLocalServer server_;
    std::map<QLocalSocket*, Connection> connections_;
    std::optional<ProcessWatch> quibWatch_;
    QSocketNotifier* quibNotifier_ = nullptr;
    QTimer* quibPoll_ = nullptr;
};

}  // namespace corvane
