#pragma once
// The folder watch as a frame source: looks at the folder on a timer and whenever the
// system reports a change, and watches the file the main window holds so that a camera
// starting on it again is noticed at once.

#include <QElapsedTimer>
#include <QTimer>

#include "folder_watch.h"
#include "frame_source.h"

class QFileSystemWatcher;

namespace quib {

class FolderSource : public FrameSource {
    Q_OBJECT
  public:
    FolderSource(WatchSettings settings, int pollMs, QObject* parent = nullptr);

    const WatchSettings& Settings() const { return watch_.Settings(); }

  private:
    void Scan();

    QElapsedTimer clock_;
    FolderWatch watch_;
    QTimer pollTimer_;
    QFileSystemWatcher* systemWatch_;
};

}  // namespace quib
