#pragma once
// The four cursors of the image area: "lcross", "smallsq", "wsquare" and "wcircle".

#include <QCursor>

#include "platform/host.h"

namespace corvane {

struct ImageCursors {
    QCursor cross;
    QCursor smallBox;
    QCursor largeBox;
    QCursor circle;

    const QCursor& For(CursorShape shape) const;
};

ImageCursors LoadImageCursors();

}  // namespace corvane
