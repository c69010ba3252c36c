#pragma once
// The screen around the main window as the program's placement rules read it.

#include <QGuiApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include "app/screen_placement.h"

namespace corvane {

inline PixelRect ToPixelRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The window manager's frame around a window; none before it is shown.
inline QMargins FrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

// A window's outer size for a client of `client`, framed as `framedLike` is.
inline PixelSize OuterSize(QSize client, const QWidget& framedLike) {
    const QSize outer = client.grownBy(FrameMargins(framedLike));
    return {outer.width(), outer.height()};
}

inline QRect AvailableArea(const QWidget& window) {
    QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// `imageArea` may be null when the placement does not look at the image.
inline DesktopGeometry DesktopOf(const QWidget& window, const QWidget* imageArea) {
    DesktopGeometry desk;
    desk.available = ToPixelRect(AvailableArea(window));
    desk.frame = ToPixelRect(window.frameGeometry());
    if (imageArea != nullptr) {
        desk.imageArea =
            ToPixelRect(QRect(imageArea->mapToGlobal(QPoint(0, 0)), imageArea->size()));
    }
    return desk;
}

}  // namespace corvane
