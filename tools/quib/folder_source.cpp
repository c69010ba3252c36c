#include "folder_source.h"

#include <QDir>
#include <QFileSystemWatcher>

namespace quib {

namespace {

QElapsedTimer Started() {
    QElapsedTimer clock;
    clock.start();
    return clock;
}

}  // namespace

// The folder's baseline is taken here: every file written from now on counts as new.
FolderSource::FolderSource(WatchSettings settings, int pollMs, QObject* parent)
    : FrameSource(parent),
      clock_(Started()),
      watch_(std::move(settings), clock_.elapsed()),
      systemWatch_(new QFileSystemWatcher(this)) {
    const QString folder = QString::fromStdString(watch_.Settings().folder);
    systemWatch_->addPath(folder);
    connect(systemWatch_, &QFileSystemWatcher::directoryChanged, this, &FolderSource::Scan);
    connect(systemWatch_, &QFileSystemWatcher::fileChanged, this, &FolderSource::Scan);
    connect(&pollTimer_, &QTimer::timeout, this, &FolderSource::Scan);
    pollTimer_.start(pollMs);
    // Reported once the window has connected to this source.
    QTimer::singleShot(0, this, [this, folder] {
        const std::string& single = watch_.Settings().singleFile;
        if (!QDir(folder).exists()) {
            emit Report("No such folder: " + folder);
        } else if (single.empty()) {
            emit Report("Watching " + folder + " for new images");
        } else {
            emit Report("Watching " + folder + "/" + QString::fromStdString(single));
        }
    });
}

void FolderSource::Scan() {
    for (const WatchAction& action : watch_.Scan(clock_.elapsed())) {
        const QString path = QString::fromStdString(action.path);
        if (action.kind == WatchActionKind::Release) {
            if (systemWatch_->files().contains(path)) {
                systemWatch_->removePath(path);
            }
            emit FrameRewritten(path);
            continue;
        }
        emit FrameReady(path);
        // Told at once when the camera starts on the held file again.
        if (!systemWatch_->files().isEmpty()) {
            systemWatch_->removePaths(systemWatch_->files());
        }
        systemWatch_->addPath(path);
    }
}

}  // namespace quib
