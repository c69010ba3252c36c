#pragma once
// Where quib's frames come from. Each source (the folder watch, an INDI camera) runs from
// its construction to its destruction and says what the main window must be told; the
// window hands that over the same way for every source.

#include <QObject>
#include <QString>

namespace quib {

class FrameSource : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  signals:
    // `path` is complete and may be handed to the main window.
    void FrameReady(const QString& path);
    // `path` is being written again: the main window must let go of it first.
    void FrameRewritten(const QString& path);
    // A line for quib's log.
    void Report(const QString& line);
};

}  // namespace quib
