#include "gui/cursors.h"

#include <QPixmap>

namespace corvane {

namespace {

// Every cursor is drawn 32 × 32 with its hot spot on the centre pixel (15, 15).
QCursor Load(const char* name) { return QCursor(QPixmap(QString(":/%1.xpm").arg(name)), 15, 15); }

}  // namespace

const QCursor& ImageCursors::For(CursorShape shape) const {
    switch (shape) {
        case CursorShape::SmallBox: return smallBox;
        case CursorShape::LargeBox: return largeBox;
        case CursorShape::Circle: return circle;
        case CursorShape::Cross:
        case CursorShape::Arrow: break;
    }
    return cross;
}

ImageCursors LoadImageCursors() {
    return {Load("lcross"), Load("smallsq"), Load("wsquare"), Load("wcircle")};
}

}  // namespace corvane
