#pragma once
// The image area of the main window: paints the display bytes of the update rectangle
// through the palette at the zoom, draws the red overlays and forwards the mouse.

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <array>
#include <cstdint>

#include "app/program.h"
#include "app/wheel.h"
#include "platform/host.h"

class QWheelEvent;

namespace corvane {

// The 193 palette entries as 32-bit colours.
using ColourTable = std::array<std::uint32_t, 193>;
ColourTable MakeColourTable(const Program& program);

// Fills `target` (RGB32, at least the destination's size) with the display bytes under the
// client rectangle `destination`, by nearest neighbour at the view's zoom. Client pixels
// that lie beyond the image get `background`.
void RenderDisplay(const ImageRecord& image, const ViewState& view, const ColourTable& colours,
                   const PixelRect& destination, std::uint32_t background, QImage& target);

// A wheel event as the program takes it, over `target`; the pointer in `event`'s widget.
WheelTurn WheelTurnOf(const QWheelEvent& event, WheelTarget target);

class ImageView : public QWidget {
    Q_OBJECT
public:
    ImageView(Program& program, QWidget* parent);
    void SetHost(Host* host) { host_ = host; }
    // Called once the palette is known, and again whenever it changes.
    void SetColours(const ColourTable& colours) { colours_ = colours; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The painter's own image under `dest`, when the display can be written into it.
    QImage* DirectTarget(QPainter& painter, const PixelRect& dest);

    Program& program_;
    Host* host_ = nullptr;
    ColourTable colours_{};
    QImage buffer_;  // reused from paint to paint
    QImage direct_;  // a window onto the painter's image, for one rectangle
};

}  // namespace corvane
