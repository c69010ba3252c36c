#pragma once
// quib's connection to an INDI server, as the GUI thread sees it. The INDI client library
// reads the server on a thread of its own; everything it reports is copied there into
// plain values and handed to this object's thread as queued calls, so that the state
// below is only ever touched by the GUI thread. A connection that cannot be made or is
// lost is tried again after a pause that grows from 1 s to 30 s; connecting runs on a
// short-lived thread of its own, so that an unreachable host never stops the window.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "indi_settings.h"

namespace quib {

enum class IndiState { Idle, Ok, Busy, Alert };

struct IndiElement {
    std::string name;
    double number = 0;  // number properties
    std::string text;   // text properties
    bool on = false;    // switch properties
};

// One property as the server last described it.
struct IndiProperty {
    std::string device;
    std::string name;
    IndiState state = IndiState::Idle;
    std::vector<IndiElement> elements;

    const IndiElement* Find(std::string_view element) const;
};

// The device interfaces of INDI's DRIVER_INFO that quib looks for.
inline constexpr unsigned kCameraInterface = 1u << 1;
inline constexpr unsigned kFilterInterface = 1u << 4;

class IndiConnection : public QObject {
    Q_OBJECT
  public:
    // `frameDevice`: the camera whose frames are wanted; empty when none are.
    IndiConnection(IndiServer server, std::string frameDevice, QObject* parent = nullptr);
    ~IndiConnection() override;

    bool IsConnected() const { return connected_; }
    const IndiServer& Server() const { return server_; }

    const IndiProperty* Property(const std::string& device, const std::string& name) const;
    // The devices whose driver offers all of `interfaces`, in name order.
    std::vector<std::string> Devices(unsigned interfaces) const;

    // New values for the named elements of a property; nothing is sent while not connected.
    void SendNumbers(const std::string& device, const std::string& property,
                     const std::vector<std::pair<std::string, double>>& values);
    void SendSwitches(const std::string& device, const std::string& property,
                      const std::vector<std::pair<std::string, bool>>& states);

    class Client;  // the library's client, in the source file
    struct Mailbox;

  signals:
    void ServerConnected();
    void ServerLost();
    void PropertyChanged(const QString& device, const QString& name);
    // A BLOB of `device`: the bytes and the format the driver gave them (".fits", ...).
    void FrameArrived(const QString& device, const QByteArray& bytes, const QString& format);
    void Report(const QString& line);

  private:
    void Attempt();
    void AttemptDone(bool connected);
    void Lost();
    void Drop();
    void RetryLater(const QString& why);

    IndiServer server_;
    std::string frameDevice_;
    std::shared_ptr<Mailbox> mailbox_;
    std::shared_ptr<Client> client_;
    int generation_ = 0;  // of client_; what older clients post is dropped
    bool connected_ = false;
    int pauseMs_ = 0;  // before the next attempt
    QTimer retryTimer_;
    std::map<std::pair<std::string, std::string>, IndiProperty> properties_;
};

}  // namespace quib
