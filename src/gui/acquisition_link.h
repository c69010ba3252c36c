#pragma once
// The main window's end of the link to the acquisition program: the local server named
// after the window class, the frames read from each connection and handed to the
// session model, the replies, starting quib and noticing when it has ended.
//
// A frame is answered once the main window has taken it: after it was handled, or at
// once when it has to wait in the inbox (a box, dialog, load or photometry run is under
// way; or it is copy-data number 1, which is answered before its load). The sender may
// count a hand-over done when the answer comes.

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QStringList>
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

    // `host` is the main window's; it reaches quib through QuibWindowOpen, StartQuib,
    // WatchQuib and PostDrain.
    AcquisitionLink(QWidget& window, Program& program, Host& host);
    ~AcquisitionLink() override;

    // Listens under the options' scope and applies the start-up probe to the menu: Acquire
    // is offered when quib was found and this window holds the link.
    void Start(Options options);

    // What the host asks of the acquisition program.
    bool QuibWindowOpen() const;
    bool StartQuib();
    // Watches the process `pid` (a quib started here or by hand): its end ends the session.
    void WatchQuib(qint64 pid);
    // Handles the waiting hand-overs from the event loop, once the current event is done.
    void PostDrain();

    bool Listening() const { return server_.isListening(); }
    // The started quib while it is watched; 0 when none is.
    int QuibPid() const { return quibWatch_ ? quibWatch_->Pid() : 0; }
    QString ServerName() const { return server_.serverName(); }

signals:
    // A frame has been answered (for whoever waits on the link).
    void FrameHandled(quint32 message);
    // The session ended because quib went away without saying so.
    void QuibVanished();

private:
    struct Connection {
        QByteArray pending;   // bytes not yet decoded
        bool handling = false;
        int peerPid = 0;  // the sending process, 0 when unknown
    };

    // Hands one hand-over to the session model, handled now or left waiting.
    void Take(PendingHandOver handOver);
    // After a hand-over was handled: a session it ended is no longer watched.
    void AfterHandled(HandOverKind kind, bool sessionBefore);
    void StopWatchingQuib();
    void OnQuibEnded();
    void OnReadyRead(QLocalSocket* socket);
    void Drain(QLocalSocket* socket);
    void Reply(QLocalSocket* socket, quint32 message, qint32 result);

    Program& program_;
    Host& host_;
    Options options_;
    QLocalServer server_;
    std::map<QLocalSocket*, Connection> connections_;
    std::optional<ProcessWatch> quibWatch_;
    QSocketNotifier* quibNotifier_ = nullptr;
    QTimer* quibPoll_ = nullptr;
    bool drainPosted_ = false;
};

}  // namespace corvane
