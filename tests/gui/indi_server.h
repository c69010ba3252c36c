#pragma once
// An INDI server of the test with Debian's CCD simulator: on a free port, with a local
// socket and a home (where drivers keep their settings) of its own, so that tests never
// meet each other, a running observatory or an earlier run's settings. It goes when the
// test does; its drivers end with it.

#include <gtest/gtest.h>

#include <QHostAddress>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTcpServer>
#include <QTcpSocket>
#include <string>

#include "gui_test_support.h"
#include "support/temp_dir.h"

namespace corvane::test {

inline int FreeTcpPort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::Any, 0));
    return probe.serverPort();
}

class IndiTestServer {
  public:
    explicit IndiTestServer(int port = FreeTcpPort()) : port_(port) {}
    ~IndiTestServer() { Kill(); }

    // Starts the server and waits until it takes connections.
    bool Start() {
        TestApplication();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", QString::fromStdString(home_.Path()));
        server_.setProcessEnvironment(environment);
        server_.setProcessChannelMode(QProcess::ForwardedChannels);
        server_.start("indiserver",
                      {"-p", QString::number(port_), "-u",
                       QString::fromStdString(home_.File("socket")), "indi_simulator_ccd"});
        if (!server_.waitForStarted(5000)) {
            return false;
        }
        return WaitUntil(
            [&] {
                QTcpSocket probe;
                probe.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
                return probe.waitForConnected(200);
            },
            10000);
    }

    void Kill() {
        if (server_.state() != QProcess::NotRunning) {
            server_.kill();
            server_.waitForFinished(5000);
        }
    }

    QString Address() const { return "127.0.0.1:" + QString::number(port_); }
    int Port() const { return port_; }

    // What another INDI client does: sets one element, as "Device.PROPERTY.ELEMENT=value".
    bool SetProperty(const QString& assignment) const {
        QProcess client;
        client.start("indi_setprop", {"-p", QString::number(port_), assignment});
        return client.waitForFinished(10000) && client.exitCode() == 0;
    }

  private:
    int port_;
    TempDir home_;
    QProcess server_;
};

}  // namespace corvane::test
