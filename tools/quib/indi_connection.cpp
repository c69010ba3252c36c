#include "indi_connection.h"

#include <libindi/baseclient.h>
#include <libindi/basedevice.h>
#include <libindi/indipropertyblob.h>
#include <libindi/indipropertynumber.h>
#include <libindi/indipropertyswitch.h>
#include <libindi/indipropertytext.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quib {

namespace {

constexpr int kFirstPauseMs = 1000;
constexpr int kLongestPauseMs = 30000;
constexpr unsigned kConnectTimeoutS = 3;
// How long going away waits for a connecting thread, which the library gives no way to
// stop: its time-out, and a little more.
constexpr auto kAttemptEndWait = std::chrono::seconds(kConnectTimeoutS + 1);

IndiState State(IPState state) {
    switch (state) {
        case IPS_OK:
            return IndiState::Ok;
        case IPS_BUSY:
            return IndiState::Busy;
        case IPS_ALERT:
            return IndiState::Alert;
        default:
            return IndiState::Idle;
    }
}

// A copy of what the library holds, made on its thread: the library changes its own
// property objects as the server speaks.
IndiProperty Snapshot(const INDI::Property& property) {
    IndiProperty out{property.getDeviceName(), property.getName(), State(property.getState()), {}};
    switch (property.getType()) {
        case INDI_NUMBER:
            for (const auto& element : INDI::PropertyNumber(property)) {
                out.elements.push_back({element.getName(), element.getValue(), {}, false});
            }
            break;
        case INDI_SWITCH:
            for (const auto& element : INDI::PropertySwitch(property)) {
                out.elements.push_back({element.getName(), 0, {}, element.getState() == ISS_ON});
            }
            break;
        case INDI_TEXT:
            for (const auto& element : INDI::PropertyText(property)) {
                out.elements.push_back({element.getName(), 0, element.getText(), false});
            }
            break;
        default:
            break;
    }
    return out;
}

QString Seconds(int ms) {
    return QString::number(ms / 1000) + " s";
}

// A property of our own to send: the library's copy belongs to its listener thread.
template <typename Out, typename Value, typename Apply>
Out OwnProperty(const std::string& device, const std::string& name,
                const std::vector<std::pair<std::string, Value>>& values, Apply apply) {
    Out out(values.size());
    out.setDeviceName(device.c_str());
    out.setName(name.c_str());
    for (std::size_t i = 0; i < values.size(); ++i) {
        out[i].setName(values[i].first);
        apply(out[i], values[i].second);
    }
    return out;
}

}  // namespace

const IndiElement* IndiProperty::Find(std::string_view element) const {
    const auto it = std::find_if(elements.begin(), elements.end(),
                                 [&](const IndiElement& e) { return e.name == element; });
    return it == elements.end() ? nullptr : &*it;
}

// The way from the library's threads to the connection: a queued call into the GUI
// thread, made under the lock with which the connection disowns its mailbox as it goes.
struct IndiConnection::Mailbox {
    std::mutex lock;
    IndiConnection* receiver = nullptr;
    int attempts = 0;  // connecting threads still running
    std::condition_variable attemptsOver;

    void AttemptOver() {
        {
            std::lock_guard guard(lock);
            --attempts;
        }
        attemptsOver.notify_all();
    }

    // `call` runs in the receiver's thread, unless by then the receiver has gone or has
    // moved on to a newer client than the one of `generation`.
    void Post(int generation, std::function<void(IndiConnection&)> call) {
        std::lock_guard guard(lock);
        if (receiver == nullptr) {
            return;
        }
        IndiConnection* to = receiver;
        QMetaObject::invokeMethod(
            to,
            [to, generation, call = std::move(call)] {
                if (to->generation_ == generation) {
                    call(*to);
                }
            },
            Qt::QueuedConnection);
    }
};

// Callbacks come on the library's listener thread (serverConnected on the connecting
// one); each only copies and posts. The property callbacks are the generic ones, which
// INDI 2 keeps.
class IndiConnection::Client : public INDI::BaseClient {
  public:
    Client(std::shared_ptr<Mailbox> mailbox, int generation, std::string frameDevice)
        : mailbox_(std::move(mailbox)),
          generation_(generation),
          frameDevice_(std::move(frameDevice)) {}

    // Waits for the listener thread to end, so that nothing runs on after the client.
    ~Client() override {
        if (isServerConnected()) {
            disconnectServer();
        }
    }

    // Writes from the GUI thread; the listener thread writes too (the BLOB requests), and
    // one message must not run into another.
    void Send(INDI::Property property) {
        std::lock_guard guard(writeLock_);
        sendNewProperty(property);
    }

  protected:
    void newProperty(INDI::Property property) override {
        if (property.getType() == INDI_BLOB) {
            // The server sends a client BLOBs only when asked, and the camera's property
            // exists only while the camera is connected.
            if (property.isNameMatch("CCD1") && frameDevice_ == property.getDeviceName()) {
                std::lock_guard guard(writeLock_);
                setBLOBMode(B_ALSO, frameDevice_.c_str(), "CCD1");
            }
            return;
        }
        PostSnapshot(property);
    }

    void updateProperty(INDI::Property property) override {
        if (property.getType() != INDI_BLOB) {
            PostSnapshot(property);
            return;
        }
        if (frameDevice_ != property.getDeviceName()) {
            return;
        }
        for (const auto& blob : INDI::PropertyBlob(property)) {
            if (blob.getBlobLen() <= 0) {
                continue;
            }
            QByteArray bytes(static_cast<const char*>(blob.getBlob()), blob.getBlobLen());
            QString device = QString::fromStdString(frameDevice_);
            QString format = QString::fromUtf8(blob.getFormat());
            mailbox_->Post(generation_, [device, bytes, format](IndiConnection& c) {
                emit c.FrameArrived(device, bytes, format);
            });
        }
    }

    void removeProperty(INDI::Property property) override {
        std::pair key{std::string(property.getDeviceName()), std::string(property.getName())};
        mailbox_->Post(generation_, [key](IndiConnection& c) {
            c.properties_.erase(key);
            emit c.PropertyChanged(QString::fromStdString(key.first),
                                   QString::fromStdString(key.second));
        });
    }

    void removeDevice(INDI::BaseDevice device) override {
        std::string name = device.getDeviceName();
        mailbox_->Post(generation_, [name](IndiConnection& c) {
            std::erase_if(c.properties_,
                          [&](const auto& entry) { return entry.first.first == name; });
            emit c.PropertyChanged(QString::fromStdString(name), QString());
        });
    }

    void serverConnected() override { wasConnected_ = true; }

    // Also called when a connection could not be made; that is reported by the attempt.
    void serverDisconnected(int) override {
        if (wasConnected_.exchange(false)) {
            mailbox_->Post(generation_, [](IndiConnection& c) { c.Lost(); });
        }
    }

  private:
    void PostSnapshot(const INDI::Property& property) {
        mailbox_->Post(generation_, [snapshot = Snapshot(property)](IndiConnection& c) {
            const QString device = QString::fromStdString(snapshot.device);
            const QString name = QString::fromStdString(snapshot.name);
            c.properties_[{snapshot.device, snapshot.name}] = snapshot;
            emit c.PropertyChanged(device, name);
        });
    }

    const std::shared_ptr<Mailbox> mailbox_;
    const int generation_;
    const std::string frameDevice_;
    std::mutex writeLock_;
    std::atomic<bool> wasConnected_{false};
};

IndiConnection::IndiConnection(IndiServer server, std::string frameDevice, QObject* parent)
    : QObject(parent),
      server_(std::move(server)),
      frameDevice_(std::move(frameDevice)),
      mailbox_(std::make_shared<Mailbox>()) {
    mailbox_->receiver = this;
    retryTimer_.setSingleShot(true);
    connect(&retryTimer_, &QTimer::timeout, this, &IndiConnection::Attempt);
    QTimer::singleShot(0, this, &IndiConnection::Attempt);
}

IndiConnection::~IndiConnection() {
    {
        std::lock_guard guard(mailbox_->lock);
        mailbox_->receiver = nullptr;
    }
    Drop();
    // A connecting thread left running could still be in the library when quib ends.
    std::unique_lock guard(mailbox_->lock);
    mailbox_->attemptsOver.wait_for(guard, kAttemptEndWait,
                                    [this] { return mailbox_->attempts == 0; });
}

void IndiConnection::Attempt() {
    Drop();
    client_ = std::make_shared<Client>(mailbox_, generation_, frameDevice_);
    client_->setServer(server_.host.c_str(), static_cast<unsigned>(server_.port));
    client_->setConnectionTimeout(kConnectTimeoutS, 0);
    {
        std::lock_guard guard(mailbox_->lock);
        ++mailbox_->attempts;
    }
    std::thread([client = client_, mailbox = mailbox_, generation = generation_]() mutable {
        const bool connected = client->connectServer();
        mailbox->Post(generation, [connected](IndiConnection& c) { c.AttemptDone(connected); });
        // When the connection has let go of the client already, it ends here, before the
        // attempt counts as over.
        client.reset();
        mailbox->AttemptOver();
    }).detach();
}

void IndiConnection::AttemptDone(bool connected) {
    if (!connected) {
        Drop();
        RetryLater("Cannot reach the INDI server at " + QString::fromStdString(server_.Text()));
        return;
    }
    connected_ = true;
    pauseMs_ = 0;
    emit Report("Connected to the INDI server at " + QString::fromStdString(server_.Text()));
    emit ServerConnected();
}

void IndiConnection::Lost() {
    const bool was = connected_;
    Drop();
    if (was) {
        RetryLater("Lost the connection to the INDI server at " +
                   QString::fromStdString(server_.Text()));
        emit ServerLost();
    } else {
        RetryLater("Cannot reach the INDI server at " + QString::fromStdString(server_.Text()));
    }
}

void IndiConnection::Drop() {
    ++generation_;
    connected_ = false;
    client_.reset();
    properties_.clear();
}

void IndiConnection::RetryLater(const QString& why) {
    const int before = pauseMs_;
    pauseMs_ = pauseMs_ == 0 ? kFirstPauseMs : std::min(2 * pauseMs_, kLongestPauseMs);
    // At the longest pause the same line would come every time: it is said once.
    if (pauseMs_ != before) {
        emit Report(why + "; trying again in " + Seconds(pauseMs_));
    }
    retryTimer_.start(pauseMs_);
}

const IndiProperty* IndiConnection::Property(const std::string& device,
                                             const std::string& name) const {
    const auto it = properties_.find({device, name});
    return it == properties_.end() ? nullptr : &it->second;
}

std::vector<std::string> IndiConnection::Devices(unsigned interfaces) const {
    std::vector<std::string> found;
    for (const auto& [key, property] : properties_) {
        if (key.second != "DRIVER_INFO") {
            continue;
        }
        const IndiElement* element = property.Find("DRIVER_INTERFACE");
        unsigned offered = 0;
        if (element != nullptr) {
            const std::string& text = element->text;
            std::from_chars(text.data(), text.data() + text.size(), offered);
        }
        if ((offered & interfaces) == interfaces) {
            found.push_back(key.first);
        }
    }
    return found;  // the map's order is the names' order
}

void IndiConnection::SendNumbers(const std::string& device, const std::string& property,
                                 const std::vector<std::pair<std::string, double>>& values) {
    if (connected_) {
        client_->Send(OwnProperty<INDI::PropertyNumber>(
            device, property, values,
            [](auto& element, double value) { element.setValue(value); }));
    }
}

void IndiConnection::SendSwitches(const std::string& device, const std::string& property,
                                  const std::vector<std::pair<std::string, bool>>& states) {
    if (connected_) {
        client_->Send(OwnProperty<INDI::PropertySwitch>(
            device, property, states,
            [](auto& element, bool on) { element.setState(on ? ISS_ON : ISS_OFF); }));
    }
}

}  // namespace quib
