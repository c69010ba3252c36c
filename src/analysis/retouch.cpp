#include "analysis/retouch.h"

#include <charconv>
#include <cmath>

#include "analysis/region_pixels.h"

namespace corvane {

std::optional<std::int16_t> EditPixelStoredValue(std::string_view entry, std::int32_t bzero) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!entry.empty() && blank(entry.front())) {
        entry.remove_prefix(1);
    }
    while (!entry.empty() && blank(entry.back())) {
        entry.remove_suffix(1);
    }
    std::int32_t typed = 0;
    const char* end = entry.data() + entry.size();
    const auto [stop, error] = std::from_chars(entry.data(), end, typed);
    if (entry.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    const std::int64_t v = static_cast<std::int64_t>(typed) - bzero;
    if (v < -32768 || v > 32767) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(v);
}

namespace {

// (Σx² + n·m² − 2·m·Σx) / (n − 1)
double SampleVariance(double n, double sum, double sumOfSquares, double mean) {
    return (sumOfSquares + n * mean * mean - 2 * mean * sum) / (n - 1);
}

}  // namespace

CleanRoiResult CleanRegion(ImageRecord& image, int column, int row, int width, int height,
                           Host& host, const PixelRefresh& refresh) {
    CleanRoiResult r;
    const RegionSpan span = ClippedRegion(image, column, row, width, height);
    r.count = span.Count();
    const double n = static_cast<double>(r.count);
    const auto refuse = [&host, &r] {
        host.ShowMessage("ClipROI", "error in evaluating RMS", MessageIcon::Warning);
        return r;
    };

    double sum = 0, sumOfSquares = 0;
    for (int y = span.rowBegin; y < span.rowEnd; ++y) {
        for (int x = span.columnBegin; x < span.columnEnd; ++x) {
            const double p = StoredPixel(image, x, y);
            sum += p;
            sumOfSquares += p * p;
        }
    }
    r.mean1 = sum / n;
    const double var1 = SampleVariance(n, sum, sumOfSquares, r.mean1);
    if (!(var1 >= 0)) {
        return refuse();
    }
    r.sigma1 = std::sqrt(var1);

    const double low1 = r.mean1 - 3.5 * r.sigma1;
    const double high1 = r.mean1 + 3.5 * r.sigma1;
    sum = 0;
    sumOfSquares = 0;
    for (int y = span.rowBegin; y < span.rowEnd; ++y) {
        for (int x = span.columnBegin; x < span.columnEnd; ++x) {
            const double p = StoredPixel(image, x, y);
            const double q = low1 <= p && p <= high1 ? p : r.mean1;
            sum += q;
            sumOfSquares += q * q;
        }
    }
    r.mean2 = sum / n;
    const double var2 = SampleVariance(n, sum, sumOfSquares, r.mean2);
    if (!(var2 >= 0)) {
        return refuse();
    }
    r.sigma2 = std::sqrt(var2);
    r.usable = true;

    const double low2 = r.mean2 - 3.5 * r.sigma2;
    const double high2 = r.mean2 + 3.5 * r.sigma2;
    // mean2 lies within the stored range, so its rounding does too.
    const auto replacement = static_cast<std::int16_t>(std::trunc(r.mean2 + 0.5));
    const auto w = static_cast<std::size_t>(image.width);
    for (int y = span.rowBegin; y < span.rowEnd; ++y) {
        for (int x = span.columnBegin; x < span.columnEnd; ++x) {
            std::int16_t& p =
                image.pixels[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)];
            if (p > high2 || p < low2) {
                p = replacement;
                ++r.replaced;
                if (!refresh(x, y)) {
                    r.refreshFailed = true;
                    return r;
                }
            }
        }
    }
    return r;
}

int PatchRegion(ImageRecord& image, int xs, int ys, int xd, int yd, int width, int height,
                Host& host, const PixelRefresh& refresh) {
    const int halfW = width / 2;
    const int halfH = height / 2;
    if (halfW == 0 || halfH == 0) {
        return 0;
    }
    // Destination columns xd − W/2 + 1 … xd + W/2 and rows yd − H/2 … yd + H/2 − 1, walked
    // away from the source so that no source pixel is overwritten before it is read.
    const int leftColumn = xd - halfW + 1, rightColumn = xd + halfW;
    const int topRow = yd - halfH, bottomRow = yd + halfH - 1;
    const bool leftToRight = xd < xs;
    const bool topToBottom = yd < ys;
    const int columnStep = leftToRight ? 1 : -1;
    const int rowStep = topToBottom ? 1 : -1;
    const int firstColumn = leftToRight ? leftColumn : rightColumn;
    const int firstRow = topToBottom ? topRow : bottomRow;
    const int dx = xs - xd, dy = ys - yd;
    const auto w = static_cast<std::size_t>(image.width);
    const auto at = [&image, w](int x, int y) -> std::int16_t& {
        return image.pixels[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)];
    };

    int copied = 0;
    for (int i = 0; i < 2 * halfW; ++i) {
        const int x = firstColumn + i * columnStep;
        for (int j = 0; j < 2 * halfH; ++j) {
            const int y = firstRow + j * rowStep;
            if (!InsideImage(image, x, y) || !InsideImage(image, x + dx, y + dy)) {
                continue;
            }
            at(x, y) = at(x + dx, y + dy);
            ++copied;
            if (!refresh(x, y)) {
                host.ShowMessage("MSG 91", "problems", MessageIcon::Warning);
                return copied;
            }
        }
    }
    return copied;
}

}  // namespace corvane
