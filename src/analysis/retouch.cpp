#include "analysis/retouch.h"

#include <charconv>
#include <cmath>
#include <limits>

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

struct ClippedMoments {
    double mean = 0;
    double sigma = 0;
    bool usable = false;  // the variance was neither negative nor NaN
};

// Mean and sample deviation of the region's stored values in row order, each value outside
// [low, high] counted as `substitute` instead.
ClippedMoments RegionMoments(const ImageRecord& image, const RegionSpan& span, double low,
                             double high, double substitute) {
    double sum = 0, sumOfSquares = 0;
    for (int y = span.rowBegin; y < span.rowEnd; ++y) {
        for (int x = span.columnBegin; x < span.columnEnd; ++x) {
            const double p = StoredPixel(image, x, y);
            const double q = low <= p && p <= high ? p : substitute;
            sum += q;
            sumOfSquares += q * q;
        }
    }
    const double n = static_cast<double>(span.Count());
    ClippedMoments m;
    m.mean = sum / n;
    const double variance = SampleVariance(n, sum, sumOfSquares, m.mean);
    m.usable = variance >= 0;  // false for NaN as well
    m.sigma = m.usable ? std::sqrt(variance) : 0.0;
    return m;
}

}  // namespace

CleanRoiResult CleanRegion(ImageRecord& image, int column, int row, int width, int height,
                           Host& host, const PixelRefresh& refresh) {
    CleanRoiResult r;
    const RegionSpan span = ClippedRegion(image, column, row, width, height);
    r.count = span.Count();
    const auto refuse = [&host, &r] {
        host.ShowMessage("ClipROI", "error in evaluating RMS", MessageIcon::Warning);
        return r;
    };

    const double all = std::numeric_limits<double>::infinity();
    const ClippedMoments pass1 = RegionMoments(image, span, -all, all, 0);
    r.mean1 = pass1.mean;
    r.sigma1 = pass1.sigma;
    if (!pass1.usable) {
        return refuse();
    }
    // Outliers of pass 1 count as its mean, so that the count stays n.
    const ClippedMoments pass2 =
        RegionMoments(image, span, r.mean1 - 3.5 * r.sigma1, r.mean1 + 3.5 * r.sigma1, r.mean1);
    r.mean2 = pass2.mean;
    r.sigma2 = pass2.sigma;
    if (!pass2.usable) {
        return refuse();
    }
    r.usable = true;

    const double low2 = r.mean2 - 3.5 * r.sigma2;
    const double high2 = r.mean2 + 3.5 * r.sigma2;
    // The clipped mean rounded to the nearest stored value. truncate(m2 + 0.5) rounds only
    // non-negative means; stored values of unsigned data (bzero 32768) are negative, where
    // it would land up to one count high, so the rounding is floor(m2 + 0.5), which is
    // the same for every non-negative mean. mean2 lies within the stored range, so its
    // rounding does too.
    const auto replacement = static_cast<std::int16_t>(std::floor(r.mean2 + 0.5));
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
