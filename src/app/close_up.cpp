#include "app/close_up.h"

#include <algorithm>
#include <cstddef>

namespace corvane {

CloseUpSource ComputeCloseUpSource(const CloseUpView& view, int px, int py, int width,
                                   int height) {
    CloseUpSource s;
    s.centreColumn = (8 * px) / view.zoom + view.horizontalOffset;
    s.centreRow = (8 * py) / view.zoom + view.verticalOffset;

    s.xSrc = s.centreColumn - 15;
    if (s.xSrc <= 0) {
        s.xSrc = 0;
    }
    if (s.xSrc >= width - kCloseUpBlockSize) {
        s.xSrc = width - kCloseUpBlockSize;
    }
    s.ySrc = height - s.centreRow - 16;
    if (s.ySrc <= 0) {
        s.ySrc = 0;
    }
    if (s.ySrc >= height - kCloseUpBlockSize) {
        s.ySrc = height - kCloseUpBlockSize;
    }

    // ySrc counts 32 rows up from the bottom; the block's top row is height − 32 − ySrc.
    // Below 32 columns or rows the origin would lie before the image: start at its edge.
    s.firstColumn = std::max(0, s.xSrc);
    s.firstRow = std::max(0, height - kCloseUpBlockSize - s.ySrc);
    s.columns = std::clamp(width - s.firstColumn, 0, kCloseUpBlockSize);
    s.rows = std::clamp(height - s.firstRow, 0, kCloseUpBlockSize);
    return s;
}

bool CopyCloseUpBlock(const ImageRecord& image, const CloseUpView& view, int px, int py,
                      CloseUpBlock& block) {
    block = CloseUpBlock{};
    if (!image.loaded || image.displayImage.empty() || image.paddedWidth < image.width ||
        view.zoom <= 0) {
        return false;
    }
    block.source = ComputeCloseUpSource(view, px, py, image.width, image.height);
    CloseUpSource& s = block.source;
    const std::size_t rowBytes = static_cast<std::size_t>(image.paddedWidth);
    int rows = 0;
    for (int r = 0; r < s.rows; ++r) {
        const std::size_t start =
            static_cast<std::size_t>(s.firstRow + r) * rowBytes + static_cast<std::size_t>(s.firstColumn);
        if (start + static_cast<std::size_t>(s.columns) > image.displayImage.size()) {
            break;
        }
        std::copy_n(image.displayImage.begin() + static_cast<std::ptrdiff_t>(start), s.columns,
                    block.bytes.begin() + r * kCloseUpBlockSize);
        ++rows;
    }
    s.rows = rows;
    return true;
}

void OpenCloseUp(Program& program, Host& host) {
    if (!program.image.loaded || program.shell.closeUpOpen) {
        return;
    }
    program.shell.closeUpOpen = true;
    host.OpenModeless(ModelessWindow::CloseUp);
}

void OnCloseUpClosed(Program& program) {
    program.shell.closeUpOpen = false;
    program.shell.frozen = false;
}

CloseUpView CloseUpViewOf(const ViewState& view) {
    return {view.zoom, view.horizontalOffset, view.verticalOffset};
}

}  // namespace corvane
