#pragma once
// Sizing the main window around the image, placing its children, zoom and scrolling.

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// Sizes the window around the image at the current zoom, no larger than `requested`
// (its right and bottom, client pixels) and the work area, in whole display pixels; then
// clamps the offsets and sets the scroll bars.
void FitWindowToImage(Program& program, Host& host, const PixelRect& requested);

// A change of zoom or offsets shown: fit, lay out, repaint the whole window.
void RefitAndRedraw(Program& program, Host& host, const PixelRect& requested);

// Places scroll bars, corner box, status bar with its panes and progress bar in the client,
// and tells the window its size limits.
void LayoutChildren(Program& program, Host& host);

// The request a load fits to: the work area, limited to the image at the current zoom.
PixelRect LoadFitRectangle(const Program& program, const WindowMetrics& metrics);

// How far the user may drag the window; fixed while no image is shown.
SizeLimits ComputeSizeLimits(const Program& program, const WindowMetrics& metrics);

enum class SizeKind { Restored, Maximized, Other };
void OnSize(Program& program, Host& host, SizeKind kind, int clientWidth, int clientHeight);

// The size and maximize commands of the window menu; false refuses them.
bool AllowSizeCommand(const Program& program);

void ZoomIn(Program& program, Host& host);
void ZoomOut(Program& program, Host& host);  // Squeeze
// Back to 1:1 at the top-left corner, fitted to the work area.
void ResizeToOneToOne(Program& program, Host& host);

enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Other };
void OnScroll(Program& program, Host& host, ScrollBarKind bar, ScrollCode code, int thumb);

// Keyboard scrolling, commands 133 to 144.
void ScrollByKey(Program& program, Host& host, int commandId);

// The smallest zoom Squeeze reaches for an image `width` pixels wide.
int SmallestZoom(int width);

// The width of the empty window, before and after every image.
inline constexpr int kEmptyWindowWidth = 520;

}  // namespace corvane
