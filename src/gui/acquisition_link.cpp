#include "gui/acquisition_link.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLocalSocket>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <span>

#include "gui/local_server.h"
#include "platform/acquisition_protocol.h"

namespace corvane {

namespace {

std::span<const std::uint8_t> Bytes(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

}  // namespace

AcquisitionLink::Options AcquisitionLink::DefaultOptions() {
    Options options;
    options.scope = CurrentUserName();
    const std::string found =
        FindProgram("quib", QCoreApplication::applicationDirPath().toStdString(),
                    qEnvironmentVariable("PATH").toStdString());
    options.quibProgram = QString::fromStdString(found);
    return options;
}

AcquisitionLink::AcquisitionLink(QWidget& window, Program& program, Host& host)
    : QObject(&window), program_(program), host_(host) {
    // Only this user's programs may hand over files.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            Connection connection;
            connection.peerPid = PeerProcessId(static_cast<int>(socket->socketDescriptor()));
            connections_[socket] = connection;
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this, [this, socket] {
                auto it = connections_.find(socket);
                if (it != connections_.end() && !it->second.handling) {
                    connections_.erase(it);
                }
            });
        }
    });
}

AcquisitionLink::~AcquisitionLink() {
    // The sockets go with the server; their destroyed handlers must not find this half gone.
    for (auto& [socket, connection] : connections_) {
        socket->disconnect(this);
    }
}

void AcquisitionLink::Start(Options options) {
    options_ = std::move(options);
    server_.close();
    // A second Corvane32 of this user leaves the link to the first, and with it Acquire:
    // the images of a quib started here would go to the other window.
    const bool listening =
        ListenAlone(server_, QString::fromStdString(MainWindowServerName(options_.scope)));
    ApplyAcquisitionProbe(program_, host_, listening && !options_.quibProgram.isEmpty());
}

bool AcquisitionLink::QuibWindowOpen() const {
    QLocalSocket probe;
    probe.connectToServer(QString::fromStdString(QuibServerName(options_.scope)));
    const bool open = probe.waitForConnected(1000);
    probe.abort();
    return open;
}

bool AcquisitionLink::StartQuib() {
    QProcess process;
    process.setProgram(options_.quibProgram.isEmpty() ? QStringLiteral("quib")
                                                      : options_.quibProgram);
    process.setArguments(options_.quibArguments);
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        return false;
    }
    WatchQuib(pid);
    return true;
}

void AcquisitionLink::WatchQuib(qint64 pid) {
    StopWatchingQuib();
    quibWatch_ = ProcessWatch::Open(static_cast<int>(pid));
    if (!quibWatch_) {
        // Gone already: the session must not outlive it.
        QTimer::singleShot(0, this, &AcquisitionLink::OnQuibEnded);
        return;
    }
    if (quibWatch_->Descriptor() >= 0) {
        quibNotifier_ = new QSocketNotifier(quibWatch_->Descriptor(), QSocketNotifier::Read, this);
        connect(quibNotifier_, &QSocketNotifier::activated, this, &AcquisitionLink::OnQuibEnded);
    } else {
        quibPoll_ = new QTimer(this);
        connect(quibPoll_, &QTimer::timeout, this, [this] {
            if (quibWatch_ && quibWatch_->Ended()) {
                OnQuibEnded();
            }
        });
        quibPoll_->start(500);
    }
}

void AcquisitionLink::StopWatchingQuib() {
    delete quibNotifier_;
    quibNotifier_ = nullptr;
    delete quibPoll_;
    quibPoll_ = nullptr;
    quibWatch_.reset();
}

void AcquisitionLink::OnQuibEnded() {
    StopWatchingQuib();
    // What quib sent before it ended comes first: a 1034 among it ends the session the
    // normal way.
    std::vector<QPointer<QLocalSocket>> sockets;
    for (auto& [socket, connection] : connections_) {
        sockets.emplace_back(socket);
    }
    for (const QPointer<QLocalSocket>& socket : sockets) {
        if (socket) {
            OnReadyRead(socket);
        }
    }
    PendingHandOver gone;
    gone.kind = HandOverKind::ProgramGone;
    Take(std::move(gone));
}

void AcquisitionLink::Take(PendingHandOver handOver) {
    const HandOverKind kind = handOver.kind;
    const bool session = program_.shell.acquisitionSession;
    if (ReceiveHandOver(program_, host_, std::move(handOver)) == HandOverTaken::Handled) {
        AfterHandled(kind, session);
    }
}

void AcquisitionLink::AfterHandled(HandOverKind kind, bool sessionBefore) {
    if (!sessionBefore || program_.shell.acquisitionSession) {
        return;
    }
    StopWatchingQuib();
    if (kind == HandOverKind::ProgramGone) {
        emit QuibVanished();
    }
}

void AcquisitionLink::PostDrain() {
    if (drainPosted_ || program_.handOvers.waiting.empty()) {
        return;
    }
    drainPosted_ = true;
    // Run from the event loop, when the event that asked has ended. It may find a box
    // still open (the timer fires in its loop too); the box asks again when it closes.
    QTimer::singleShot(0, this, [this] {
        drainPosted_ = false;
        for (;;) {
            const bool session = program_.shell.acquisitionSession;
            const std::optional<HandOverKind> kind = HandleNextHandOver(program_, host_);
            if (!kind) {
                break;
            }
            AfterHandled(*kind, session);
        }
        // A modal dialog the host does not run itself (the lightcurve window's) says
        // nothing when it closes: look again a little later while one is open.
        if (!program_.handOvers.waiting.empty() && QApplication::activeModalWidget() != nullptr) {
            QTimer::singleShot(200, this, [this] { PostDrain(); });
        }
    });
}

void AcquisitionLink::OnReadyRead(QLocalSocket* socket) {
    auto it = connections_.find(socket);
    if (it == connections_.end()) {
        return;
    }
    it->second.pending += socket->readAll();
    Drain(socket);
}

void AcquisitionLink::Reply(QLocalSocket* socket, quint32 message, qint32 result) {
    const std::vector<std::uint8_t> reply = EncodeReply(message, result);
    socket->write(reinterpret_cast<const char*>(reply.data()), static_cast<qint64>(reply.size()));
    socket->flush();
}

void AcquisitionLink::Drain(QLocalSocket* socket) {
    auto it = connections_.find(socket);
    if (it == connections_.end() || it->second.handling) {
        return;  // the frame being handled runs a dialog; its loop picks these bytes up
    }
    it->second.handling = true;
    QPointer<QLocalSocket> alive(socket);
    while (alive) {
        Connection& connection = connections_[socket];
        AcquisitionFrame frame;
        const DecodeResult decoded = DecodeFrame(Bytes(connection.pending), frame);
        if (decoded.status == FrameStatus::Incomplete) {
            break;
        }
        if (decoded.status == FrameStatus::Broken) {
            socket->abort();
            break;
        }
        if (decoded.status == FrameStatus::Oversized) {
            // Its data cannot be read, as a copy-data record with a bad pointer.
            Take(CopyDataHandOver(0, {}, connection.peerPid));
            if (alive) {
                Reply(socket, kCopyDataMessage, 0);
                socket->abort();
            }
            break;
        }
        connection.pending.remove(0, static_cast<qsizetype>(decoded.consumed));

        PendingHandOver handOver;
        qint32 result = 0;
        switch (frame.message) {
            case kCopyDataMessage:
                handOver = CopyDataHandOver(frame.number, frame.data, connection.peerPid);
                result = handOver.kind == HandOverKind::Image ? 1 : 0;
                break;
            case kSessionEndedMessage:
                handOver.kind = HandOverKind::SessionEnded;
                break;
            case kCloseImageMessage:
                handOver.kind = HandOverKind::Release;
                break;
            default:
                continue;  // DecodeFrame passes no other message
        }
        Take(std::move(handOver));
        if (alive) {
            Reply(socket, frame.message, result);
        }
        emit FrameHandled(frame.message);
    }
    if (alive) {
        connections_[socket].handling = false;
    } else {
        connections_.erase(socket);
    }
}

}  // namespace corvane
