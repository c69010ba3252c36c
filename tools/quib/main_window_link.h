#pragma once
// quib's end of the link: the messages waiting for the main window, sent one at a time
// in order over one connection kept for the session. A message counts as delivered only
// when the main window's reply has come back; one that fails (no main window, connection
// lost, no reply in time) stays at the head of the queue and is sent again after the
// retry interval. Nothing here waits: connecting, writing and the reply all arrive as
// socket signals, so quib's window never stops for the main window.

#include <QLocalSocket>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <deque>

namespace quib {

class MainWindowLink : public QObject {
    Q_OBJECT
  public:
    // `retryMs`: the pause before a failed message is sent again. `replyTimeoutMs`: how
    // long the main window may take to answer before the message counts as failed.
    MainWindowLink(QString serverName, int retryMs, int replyTimeoutMs = 15000);

    // Queues the copy-data message (number 1) for `path`.
    void HandOver(const QString& path);
    // The main window must let go of `path`. A hand-over of it that has not been sent yet
    // is withdrawn instead: the main window never held it.
    void Release(const QString& path);
    // Drops the hand-overs not sent yet and queues 1034 behind what is on its way.
    // SessionEnded follows once it is answered or, after a few tries, given up.
    void EndSession();

    void SetRetryInterval(int retryMs) { retryMs_ = retryMs; }
    const QString& ServerName() const { return serverName_; }

  signals:
    void Report(const QString& line);
    void SessionEnded();

  private:
    struct Outgoing {
        std::uint32_t message = 0;
        QString path;      // copy-data and 1035: the file concerned
        int failures = 0;  // sends of this message that failed so far
    };

    void Pump();
    void Write();
    void OnReadyRead();
    void Succeeded(const Outgoing& done);
    void Failed(const QString& error);

    QString serverName_;
    int retryMs_;
    int replyTimeoutMs_;
    QLocalSocket socket_;
    QTimer retryTimer_;
    QTimer replyTimer_;
    std::deque<Outgoing> queue_;
    bool inFlight_ = false;  // the head has been written; its reply is awaited
    QByteArray reply_;       // reply bytes received so far
    QString lastError_;      // of the head's last failure, so that a retry is logged once
};

}  // namespace quib
