#include "indi_source.h"

#include <QStringList>
#include <cmath>

#include "frame_names.h"

namespace quib {

namespace {

constexpr int kDeviceWaitMs = 5000;
// A connected camera defines its properties in a burst, with no sign of its end: they
// count as complete once this has passed after the exposure property came.
constexpr int kPropertiesSettleMs = 1000;
constexpr int kConnectRetryMs = 10000;
// Beyond the exposure itself: download, and a driver that is slow to say it failed.
constexpr int kFrameWaitMs = 60000;

int Milliseconds(double seconds) {
    return static_cast<int>(std::lround(seconds * 1000.0));
}

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

IndiSource::IndiSource(IndiRun run, QObject* parent)
    : FrameSource(parent), run_(std::move(run)), connection_(run_.server, run_.device) {
    writer_.setMaxThreadCount(1);
    for (QTimer* timer : {&deviceTimer_, &settleTimer_, &delayTimer_, &frameTimer_}) {
        timer->setSingleShot(true);
    }
    connect(&connection_, &IndiConnection::Report, this, &FrameSource::Report);
    connect(&connection_, &IndiConnection::ServerConnected, this, &IndiSource::OnConnected);
    connect(&connection_, &IndiConnection::ServerLost, this, &IndiSource::OnLost);
    connect(&connection_, &IndiConnection::PropertyChanged, this, &IndiSource::OnPropertyChanged);
    connect(&connection_, &IndiConnection::FrameArrived, this, &IndiSource::OnFrame);
    connect(&delayTimer_, &QTimer::timeout, this, &IndiSource::Advance);
    connect(&settleTimer_, &QTimer::timeout, this, [this] {
        settled_ = true;
        Advance();
    });
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        emit Report("No frame from " + Camera() + "; exposing again");
        exposing_ = false;
        Advance();
    });
    connect(&deviceTimer_, &QTimer::timeout, this, [this] {
        if (connection_.Property(run_.device, "CONNECTION") != nullptr) {
            return;
        }
        QStringList cameras;
        for (const std::string& name : connection_.Devices(kCameraInterface)) {
            cameras << FromStd(name);
        }
        emit Report(
            "No device \"" + Camera() + "\" on the INDI server at " + FromStd(run_.server.Text()) +
            (cameras.isEmpty() ? "; it has no cameras" : "; its cameras: " + cameras.join(", ")));
    });
}

IndiSource::~IndiSource() {
    if (exposing_) {
        connection_.SendSwitches(run_.device, "CCD_ABORT_EXPOSURE", {{"ABORT", true}});
    }
    writer_.waitForDone();  // what is on its way to the disk gets there
}

void IndiSource::OnConnected() {
    deviceTimer_.start(kDeviceWaitMs);
    if (run_.mode == IndiMode::Listen) {
        emit Report("Keeping the frames other clients take with " + Camera());
    }
    // The server's first answers may have come before the connection was reported.
    Advance();
}

void IndiSource::OnLost() {
    // The camera is set up afresh once the server is back; the frame under way is lost.
    exposing_ = false;
    connectAsked_ = settled_ = binningSent_ = wheelConnectAsked_ = filterAsked_ = false;
    settleTimer_.stop();
    frameTimer_.stop();
    delayTimer_.stop();
    deviceTimer_.stop();
}

void IndiSource::OnPropertyChanged(const QString& device, const QString& name) {
    if (run_.mode != IndiMode::Capture) {
        return;
    }
    const IndiProperty* connection = connection_.Property(run_.device, "CONNECTION");
    if (connectAsked_ && device == Camera() && name == "CONNECTION" && connection != nullptr &&
        connection->state == IndiState::Alert) {
        emit Report(Camera() + " did not connect; trying again in " +
                    QString::number(kConnectRetryMs / 1000) + " s");
        connectAsked_ = false;
        delayTimer_.start(kConnectRetryMs);
        return;
    }
    if (exposing_ && device == Camera() && name == "CCD_EXPOSURE") {
        const IndiProperty* exposure = connection_.Property(run_.device, "CCD_EXPOSURE");
        if (exposure != nullptr && exposure->state == IndiState::Alert) {
            emit Report("The exposure failed on " + Camera());
            exposing_ = false;
            frameTimer_.stop();
            NextExposureLater();
            return;
        }
    }
    Advance();
}

bool IndiSource::SwitchOn(const std::string& device, const char* property,
                          const char* element) const {
    const IndiProperty* found = connection_.Property(device, property);
    const IndiElement* on = found != nullptr ? found->Find(element) : nullptr;
    return on != nullptr && on->on;
}

void IndiSource::Advance() {
    if (run_.mode != IndiMode::Capture || finished_ || !connection_.IsConnected() || exposing_ ||
        delayTimer_.isActive()) {
        return;
    }
    if (connection_.Property(run_.device, "CONNECTION") == nullptr) {
        return;  // not announced (yet)
    }
    if (!SwitchOn(run_.device, "CONNECTION", "CONNECT")) {
        if (!connectAsked_) {
            connectAsked_ = true;
            emit Report("Connecting " + Camera());
            connection_.SendSwitches(run_.device, "CONNECTION",
                                     {{"CONNECT", true}, {"DISCONNECT", false}});
        }
        return;
    }
    if (connection_.Property(run_.device, "CCD_EXPOSURE") == nullptr) {
        return;  // the camera's properties follow its connection
    }
    if (!settled_) {
        if (!settleTimer_.isActive()) {
            settleTimer_.start(kPropertiesSettleMs);
        }
        return;
    }
    if (!binningSent_ && run_.capture.binning) {
        binningSent_ = true;
        const double bin = *run_.capture.binning;
        if (connection_.Property(run_.device, "CCD_BINNING") != nullptr) {
            connection_.SendNumbers(run_.device, "CCD_BINNING",
                                    {{"HOR_BIN", bin}, {"VER_BIN", bin}});
        } else {
            emit Report(Camera() + " has no binning; its frames come unbinned");
        }
    }
    if (run_.capture.filterSlot && !FilterReady()) {
        return;
    }
    Expose();
}

// The wheel the camera names as its filter, else the camera itself when it has one, else
// the first wheel on the server.
std::string IndiSource::FilterWheel() const {
    const std::vector<std::string> wheels = connection_.Devices(kFilterInterface);
    const auto has = [&](const std::string& name) {
        return std::find(wheels.begin(), wheels.end(), name) != wheels.end();
    };
    const IndiProperty* active = connection_.Property(run_.device, "ACTIVE_DEVICES");
    const IndiElement* named = active != nullptr ? active->Find("ACTIVE_FILTER") : nullptr;
    if (named != nullptr && has(named->text)) {
        return named->text;
    }
    if (has(run_.device)) {
        return run_.device;
    }
    return wheels.empty() ? std::string() : wheels.front();
}

bool IndiSource::FilterReady() {
    const int slot = *run_.capture.filterSlot;
    const std::string wheel = FilterWheel();
    if (wheel.empty()) {
        Finish("No filter wheel on the INDI server at " + FromStd(run_.server.Text()) +
               " for slot " + QString::number(slot));
        return false;
    }
    if (!SwitchOn(wheel, "CONNECTION", "CONNECT")) {
        if (!wheelConnectAsked_) {
            wheelConnectAsked_ = true;
            emit Report("Connecting " + FromStd(wheel));
            connection_.SendSwitches(wheel, "CONNECTION",
                                     {{"CONNECT", true}, {"DISCONNECT", false}});
        }
        return false;
    }
    const IndiProperty* position = connection_.Property(wheel, "FILTER_SLOT");
    const IndiElement* value = position != nullptr ? position->Find("FILTER_SLOT_VALUE") : nullptr;
    if (value == nullptr) {
        return false;
    }
    if (std::lround(value->number) == slot && position->state != IndiState::Busy) {
        return true;
    }
    if (filterAsked_ && position->state == IndiState::Alert) {
        Finish(FromStd(wheel) + " could not turn to slot " + QString::number(slot));
        return false;
    }
    if (!filterAsked_) {
        filterAsked_ = true;
        emit Report("Turning " + FromStd(wheel) + " to slot " + QString::number(slot));
        connection_.SendNumbers(wheel, "FILTER_SLOT", {{"FILTER_SLOT_VALUE", slot}});
    }
    return false;
}

void IndiSource::Expose() {
    exposing_ = true;
    frameTimer_.start(Milliseconds(run_.capture.exposureS) + kFrameWaitMs);
    connection_.SendNumbers(run_.device, "CCD_EXPOSURE",
                            {{"CCD_EXPOSURE_VALUE", run_.capture.exposureS}});
}

void IndiSource::NextExposureLater() {
    // Through the event loop even without a delay: the frame's property updates come first.
    delayTimer_.start(Milliseconds(run_.capture.delayS));
}

void IndiSource::Finish(const QString& why) {
    finished_ = true;
    emit Report(why + "; the capture has ended");
}

void IndiSource::OnFrame(const QString& device, const QByteArray& bytes, const QString& format) {
    if (device != Camera()) {
        return;
    }
    if (run_.mode == IndiMode::Capture) {
        if (!exposing_) {
            return;  // another client's frame: in Capture mode quib keeps its own
        }
        exposing_ = false;
        frameTimer_.stop();
    }
    // The frame is kept byte for byte, so only FITS can go under a ".fits" name.
    if (format.compare(".fits", Qt::CaseInsensitive) != 0 || !bytes.startsWith("SIMPLE  =")) {
        emit Report("A frame of " + Camera() + " in " + format +
                    " was not kept: set the camera to send FITS");
    } else {
        Write(bytes);
    }
    if (run_.mode == IndiMode::Capture) {
        ++taken_;
        if (run_.capture.count > 0 && taken_ >= run_.capture.count) {
            finished_ = true;
            emit Report("Capture finished: " + QString::number(taken_) + " frames");
        } else {
            NextExposureLater();
        }
    }
}

void IndiSource::Write(const QByteArray& bytes) {
    writer_.start([this, bytes] {
        if (nextNumber_ == 0) {
            nextNumber_ = NextFrameNumber(run_.folder, run_.prefix);
        }
        const corvane::NewFile file =
            corvane::WriteNewFile(run_.folder, std::span(bytes.constData(), bytes.size()),
                                  [this] { return FrameName(run_.prefix, nextNumber_++); });
        QMetaObject::invokeMethod(
            this, [this, file] { Written(file); }, Qt::QueuedConnection);
    });
}

void IndiSource::Written(const corvane::NewFile& file) {
    if (file.path.empty()) {
        const QString why =
            "Could not write a frame into " + FromStd(run_.folder) + ": " + FromStd(file.error);
        // Every later frame would be lost the same way.
        if (run_.mode == IndiMode::Capture && !finished_) {
            Finish(why);
        } else {
            emit Report(why);
        }
        return;
    }
    emit Report("Wrote " + FromStd(file.path));
    emit FrameReady(FromStd(file.path));
}

}  // namespace quib
