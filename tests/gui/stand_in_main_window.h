#pragma once
// A stand-in for the main window's end of the link: a local server of the test that
// records every frame quib sends and answers it.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "gui_test_support.h"
#include "platform/acquisition_protocol.h"

namespace corvane::test {

struct Received {
    std::uint32_t message = 0;
    std::uint32_t number = 0;
    std::string path;
    qint64 sizeWhenReceived = -1;  // of the named file, when the frame arrived
};

// Records frames and answers each at once, or, while `holdReplies` is set, when told.
class StandInMainWindow {
  public:
    explicit StandInMainWindow(const std::string& scope) {
        TestApplication();
        QObject::connect(&server_, &QLocalServer::newConnection, [this] {
            while (QLocalSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QLocalSocket::readyRead,
                                 [this, socket] { Read(socket); });
            }
        });
        const QString name = QString::fromStdString(MainWindowServerName(scope));
        QLocalServer::removeServer(name);
        EXPECT_TRUE(server_.listen(name));
    }

    std::vector<Received> frames;
    bool holdReplies = false;

    void SendHeldReplies() {
        for (auto& [socket, reply] : held_) {
            socket->write(reinterpret_cast<const char*>(reply.data()),
                          static_cast<qint64>(reply.size()));
            socket->flush();
        }
        held_.clear();
    }

  private:
    void Read(QLocalSocket* socket) {
        pending_ += socket->readAll();
        for (;;) {
            AcquisitionFrame frame;
            const DecodeResult decoded =
                DecodeFrame(std::span(reinterpret_cast<const std::uint8_t*>(pending_.constData()),
                                      static_cast<std::size_t>(pending_.size())),
                            frame);
            if (decoded.status != FrameStatus::Complete) {
                EXPECT_EQ(decoded.status, FrameStatus::Incomplete);
                return;
            }
            pending_.remove(0, static_cast<qsizetype>(decoded.consumed));
            Received r{frame.message, frame.number, CopyDataString(frame.data).value_or(""), -1};
            if (!r.path.empty()) {
                r.sizeWhenReceived = QFileInfo(QString::fromStdString(r.path)).size();
            }
            frames.push_back(r);
            held_.emplace_back(socket, EncodeReply(frame.message, 1));
            if (!holdReplies) {
                SendHeldReplies();
            }
        }
    }

    QLocalServer server_;
    QByteArray pending_;
    std::vector<std::pair<QLocalSocket*, std::vector<std::uint8_t>>> held_;
};

}  // namespace corvane::test
