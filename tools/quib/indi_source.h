#pragma once
// An INDI camera as a frame source. In Capture mode quib drives the camera: it connects
// it, sets the binning and the filter slot, and takes the exposures one after another;
// in Listen mode it only keeps the frames another client triggers. Every frame is written
// as it came from the driver, header and all, under the next numbered name of the
// session folder, and reported once it is complete on disk. A lost server is only a
// pause: the exposure under way is taken again once the server is back.

#include <QByteArray>
#include <QThreadPool>
#include <QTimer>

#include "frame_source.h"
#include "indi_connection.h"
#include "indi_settings.h"
#include "platform/new_file.h"

namespace quib {

class IndiSource : public FrameSource {
    Q_OBJECT
  public:
    explicit IndiSource(IndiRun run, QObject* parent = nullptr);
    ~IndiSource() override;

    const IndiConnection& Connection() const { return connection_; }

  private:
    void OnConnected();
    void OnLost();
    void OnPropertyChanged(const QString& device, const QString& name);
    void OnFrame(const QString& device, const QByteArray& bytes, const QString& format);
    void Write(const QByteArray& bytes);
    void Written(const corvane::NewFile& file);

    // Capture: the next thing to do, from what the server shows now.
    void Advance();
    bool FilterReady();
    std::string FilterWheel() const;
    void Expose();
    void NextExposureLater();
    void Finish(const QString& why);
    bool SwitchOn(const std::string& device, const char* property, const char* element) const;

    QString Camera() const { return QString::fromStdString(run_.device); }

    const IndiRun run_;
    IndiConnection connection_;
    QTimer deviceTimer_;  // reports a camera the server does not have
    QTimer settleTimer_;  // the camera's properties are all there
    QTimer delayTimer_;   // the pause between frames
    QTimer frameTimer_;   // an exposure that never brings its frame
    int taken_ = 0;       // frames received in this capture
    bool exposing_ = false;
    bool connectAsked_ = false;
    bool settled_ = false;
    bool binningSent_ = false;
    bool wheelConnectAsked_ = false;
    bool filterAsked_ = false;
    bool finished_ = false;

    // Frames are written one after another off the GUI thread (a flush can take long on
    // slow cards); the number is only touched there.
    QThreadPool writer_;
    int nextNumber_ = 0;  // 0: not looked up yet
};

}  // namespace quib
