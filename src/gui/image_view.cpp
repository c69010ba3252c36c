#include "gui/image_view.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/mouse_modes.h"
#include "app/paint_geometry.h"

namespace corvane {

ColourTable MakeColourTable(const Program& program) {
    ColourTable table{};
    const auto& entries = program.display.palette.entries;
    for (std::size_t i = 0; i < table.size() && i < entries.size(); ++i) {
        table[i] = qRgb(entries[i].red, entries[i].green, entries[i].blue);
    }
    return table;
}

void RenderDisplay(const ImageRecord& image, const ViewState& view, const ColourTable& colours,
                   const PixelRect& destination, std::uint32_t background, QImage& target) {
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    if (width <= 0 || height <= 0 || target.width() < width || target.height() < height) {
        return;
    }
    const std::uint8_t* bytes = image.displayImage.data();
    const bool haveBytes = image.loaded && !image.displayImage.empty() &&
                           image.displayImage.size() >=
                               static_cast<std::size_t>(image.paddedWidth) *
                                   static_cast<std::size_t>(image.height);
    const int z = view.zoom;

    // Source column of every destination column. Columns beyond the image are the
    // destination columns from `inside` on; they show the background.
    std::vector<int> columns(static_cast<std::size_t>(width));
    int inside = width;
    for (int x = 0; x < width; ++x) {
        const int column = view.horizontalOffset + 8 * (destination.left + x) / z;
        if (column >= image.width && inside == width) {
            inside = x;
        }
        columns[static_cast<std::size_t>(x)] = std::max(0, std::min(column, image.width - 1));
    }
    const int firstColumn = columns.empty() ? 0 : columns[0];
    const bool contiguous = z == kOneToOne;

    int previousRow = -2;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        const int row = view.verticalOffset + 8 * (destination.top + y) / z;
        if (row == previousRow) {
            // Magnified: the row repeats the one above.
            std::memcpy(line, target.scanLine(y - 1), static_cast<std::size_t>(width) * 4);
            continue;
        }
        previousRow = row;
        if (!haveBytes || row < 0 || row >= image.height) {
            std::fill(line, line + width, background);
            continue;
        }
        const std::uint8_t* source =
            bytes + static_cast<std::size_t>(row) * static_cast<std::size_t>(image.paddedWidth);
        if (contiguous) {
            const std::uint8_t* run = source + firstColumn;
            for (int x = 0; x < inside; ++x) {
                line[x] = colours[run[x]];
            }
        } else {
            const int* index = columns.data();
            for (int x = 0; x < inside; ++x) {
                line[x] = colours[source[index[x]]];
            }
        }
        std::fill(line + inside, line + width, background);
    }
}

ImageView::ImageView(Program& program, QWidget* parent)
    : QWidget(parent), program_(program), colours_(MakeColourTable(program)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

QImage* ImageView::DirectTarget(QPainter& painter, const PixelRect& dest) {
    // The backing store is an image of 32-bit pixels on the raster engine: the display
    // bytes can go straight into it, without a copy through an intermediate image.
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
    if (device == nullptr || device->devType() != QInternal::Image) {
        return nullptr;
    }
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    const QTransform t = painter.deviceTransform();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
         format != QImage::Format_ARGB32_Premultiplied) ||
        t.type() > QTransform::TxTranslate || image->devicePixelRatio() != 1.0) {
        return nullptr;
    }
    const int x = dest.left + static_cast<int>(t.dx());
    const int y = dest.top + static_cast<int>(t.dy());
    const int w = dest.right - dest.left;
    const int h = dest.bottom - dest.top;
    if (x < 0 || y < 0 || x + w > image->width() || y + h > image->height()) {
        return nullptr;
    }
    direct_ = QImage(image->bits() + static_cast<qsizetype>(y) * image->bytesPerLine() + 4 * x, w,
                     h, image->bytesPerLine(), format);
    return &direct_;
}

void ImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QColor white(255, 255, 255);
    if (!program_.image.loaded) {
        painter.fillRect(event->rect(), white);
        return;
    }
    const ViewState& view = program_.shell.view;
    for (const QRect& r : event->region()) {
        const PixelRect update{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
        PixelRect dest = ComputePaintGeometry(view, update).destination;
        // Beyond the image area the window shows its white background.
        if (r.right() >= view.visibleWidth) {
            const int left = std::max(r.left(), view.visibleWidth);
            painter.fillRect(QRect(left, r.top(), r.right() + 1 - left, r.height()), white);
        }
        if (r.bottom() >= view.visibleHeight) {
            const int top = std::max(r.top(), view.visibleHeight);
            painter.fillRect(QRect(r.left(), top, r.width(), r.bottom() + 1 - top), white);
        }
        dest.right = std::min(dest.right, view.visibleWidth);
        dest.bottom = std::min(dest.bottom, view.visibleHeight);
        // Nearest neighbour maps every client pixel on its own, so writing the update
        // rectangle alone joins seamlessly with what is already on the screen.
        dest.left = std::max(dest.left, r.left());
        dest.top = std::max(dest.top, r.top());
        dest.right = std::min(dest.right, r.right() + 1);
        dest.bottom = std::min(dest.bottom, r.bottom() + 1);
        const int w = dest.right - dest.left;
        const int h = dest.bottom - dest.top;
        if (w <= 0 || h <= 0) {
            continue;
        }
        if (QImage* direct = DirectTarget(painter, dest)) {
            RenderDisplay(program_.image, view, colours_, dest, white.rgb(), *direct);
            continue;
        }
        if (buffer_.width() < w || buffer_.height() < h) {
            buffer_ = QImage(std::max(w, buffer_.width()), std::max(h, buffer_.height()),
                             QImage::Format_RGB32);
        }
        RenderDisplay(program_.image, view, colours_, dest, white.rgb(), buffer_);
        painter.drawImage(QPoint(dest.left, dest.top), buffer_, QRect(0, 0, w, h));
    }
    const std::vector<Polyline> overlays = ComputeOverlays(program_);
    if (!overlays.empty()) {
        painter.setPen(QPen(QColor(255, 0, 0), 1));
        for (const Polyline& line : overlays) {
            std::vector<QPoint> points;
            points.reserve(line.points.size());
            for (const ImagePoint& p : line.points) {
                points.emplace_back(p.column, p.row);
            }
            painter.drawPolyline(points.data(), static_cast<int>(points.size()));
        }
    }
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    if (host_ != nullptr) {
        const QPoint p = event->position().toPoint();
        OnMouseMove(program_, *host_, p.x(), p.y());
    }
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    if (host_ == nullptr) {
        return;
    }
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        OnLeftButtonDown(program_, *host_, p.x(), p.y());
    } else if (event->button() == Qt::RightButton) {
        OnCancel(program_, *host_, p.x(), p.y());
    }
}

void ImageView::wheelEvent(QWheelEvent* event) {
    if (host_ != nullptr) {
        OnWheel(program_, *host_, WheelTurnOf(*event, WheelTarget::Image));
    }
    event->accept();
}

WheelTurn WheelTurnOf(const QWheelEvent& event, WheelTarget target) {
    WheelTurn turn;
    turn.target = target;
    turn.vertical = event.angleDelta().y();
    turn.horizontal = event.angleDelta().x();
    turn.shift = event.modifiers().testFlag(Qt::ShiftModifier);
    turn.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    const QPoint p = event.position().toPoint();
    turn.x = p.x();
    turn.y = p.y();
    turn.linesPerNotch = QApplication::wheelScrollLines();
    return turn;
}

}  // namespace corvane
