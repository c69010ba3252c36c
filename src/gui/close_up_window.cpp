#include "gui/close_up_window.h"

#include <QCloseEvent>
#include <QImage>
#include <QPainter>
#include <QPolygon>

namespace corvane {

namespace {

// The display palette as a colour table of 256 entries: a byte past the palette shows
// black rather than whatever lies beyond the table.
QList<QRgb> ColourTable(const DisplayPalette& palette) {
    QList<QRgb> colours(256, qRgb(0, 0, 0));
    for (int i = 0; i < kPaletteEntries; ++i) {
        const PaletteEntry& e = palette.entries[static_cast<std::size_t>(i)];
        colours[i] = qRgb(e.red, e.green, e.blue);
    }
    return colours;
}

}  // namespace

CloseUpWindow::CloseUpWindow(QWidget& owner, const Program& program,
                             std::function<CloseUpView()> view)
    : QWidget(&owner, Qt::Tool),
      owner_(owner),
      program_(program),
      view_(std::move(view)),
      colours_(ColourTable(program.display.palette)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(CloseUpTitle(false));
    setFixedSize(kCloseUpClientSize, kCloseUpClientSize);
}

void CloseUpWindow::SetPointer(int x, int y) {
    pointer_ = {x, y};
    update();
    ReturnFocus();
}

void CloseUpWindow::ReturnFocus() {
    if (isActiveWindow()) {
        owner_.activateWindow();
    }
}

void CloseUpWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ReturnFocus();
}

void CloseUpWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    CloseUpBlock block;
    if (!CopyCloseUpBlock(program_.image, view_ ? view_() : CloseUpView{}, pointer_.x,
                          pointer_.y, block)) {
        ReturnFocus();
        return;
    }
    QImage image(block.bytes.data(), kCloseUpBlockSize, kCloseUpBlockSize, kCloseUpBlockSize,
                 QImage::Format_Indexed8);
    image.setColorTable(colours_);
    // Nearest neighbour: every image pixel a four-by-four cell.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const int columns = block.source.columns;
    const int rows = block.source.rows;
    painter.drawImage(QRect(0, 0, columns * kCloseUpScale, rows * kCloseUpScale), image,
                      QRect(0, 0, columns, rows));

    QPolygon marker;
    for (const ClientPoint& p : kCloseUpMarker) {
        marker << QPoint(p.x, p.y);
    }
    painter.setPen(QPen(QColor(kMarkerRed, kMarkerGreen, kMarkerBlue), 1));
    painter.drawPolyline(marker);
    ReturnFocus();
}

void CloseUpWindow::closeEvent(QCloseEvent* event) {
    emit Closed();
    event->accept();
}

}  // namespace corvane
