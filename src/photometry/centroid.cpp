#include "photometry/centroid.h"

#include <cmath>
#include <optional>
#include <string>

#include "photometry/format_text.h"

namespace corvane {

namespace {

constexpr int kIterations = 3;

// The weighted centre of the aperture around `c`, or nothing when a pixel lies outside
// the picture or the centre has no usable value. Weights are stored value - M of any sign.
std::optional<FloatPoint> Centroid(const ImageRecord& image, const ApertureSpans& spans,
                                   PixelPoint c, double M) {
    double Sx = 0, Sy = 0, Sw = 0;
    bool inside = WalkAperture(spans, c, [&](int column, int row) {
        if (OutsidePicture(image, column, row)) {
            return false;
        }
        double w = StoredPixel(image, column, row) - M;
        Sx += column * w;
        Sy += row * w;
        Sw += w;
        return true;
    });
    if (!inside || Sw == 0) {
        return std::nullopt;
    }
    double x = Sx / Sw;
    double y = Sy / Sw;
    // Beyond the position limit no picture has pixels; it also keeps the conversions to
    // float and int defined.
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > kPositionLimit ||
        std::fabs(y) > kPositionLimit) {
        return std::nullopt;
    }
    return FloatPoint{static_cast<float>(x), static_cast<float>(y)};
}

// Rounded half up: truncate(v + 0.5).
PixelPoint RoundHalfUp(FloatPoint p) {
    return {ClampPosition(static_cast<long long>(static_cast<double>(p.x) + 0.5)),
            ClampPosition(static_cast<long long>(static_cast<double>(p.y) + 0.5))};
}

double Distance(double x0, double y0, FloatPoint p) {
    double dx = p.x - x0;
    double dy = p.y - y0;
    return std::sqrt(dx * dx + dy * dy);
}

double Distance(FloatPoint p, FloatPoint q) { return Distance(p.x, p.y, q); }

// The two warnings of a completed centring: a shift of 2 pixels or more from the start,
// and a change of 0.4 pixel or more between the last two iterations.
void Warn(Host& host, double offCentre, double residual, const std::string& offCentreText,
          const std::string& residualText) {
    if (offCentre >= 2.0) {
        host.ShowMessage(kDoCaption, offCentreText, MessageIcon::Warning);
    }
    if (residual >= 0.4) {
        host.ShowMessage(kDoCaption, residualText, MessageIcon::Warning);
    }
}

bool CentroidAsteroid(MeasureTarget& t) {
    ObjectList& list = t.objects;
    const PixelPoint start = list.asteroidPosition;
    PixelPoint c = start;
    FloatPoint previous{}, centroid{};
    for (int k = 0; k < kIterations; ++k) {
        std::optional<FloatPoint> next =
            Centroid(t.image, t.params.asteroid.spans, c, list.asteroidResult.mean);
        if (!next) {
            t.host.ShowMessage(kDoCaption,
                               "Error - Asteroid integration box\nlies partly out of picture.",
                               MessageIcon::Error);
            return false;
        }
        previous = centroid;
        centroid = *next;
        c = RoundHalfUp(centroid);
        list.asteroidCentroid = centroid;
        list.asteroidCentre = c;
    }
    const double offCentre = Distance(start.x, start.y, centroid);
    const double residual = Distance(previous, centroid);
    Warn(t.host, offCentre, residual,
         FormatText("Warning ! - Asteroid was\n %.1lf pixels off-centered", offCentre),
         FormatText("Warning ! - Asteroid centroiding does not converge\n %.1lf pixels residuals",
                    residual));
    return true;
}

void CentroidStar(MeasureTarget& t, int i) {
    ObjectList& list = t.objects;
    const PixelPoint start = MoveBy(list.referencePosition, list.starOffset[i]);
    FloatPoint previous{}, centroid{};
    for (int k = 0; k < kIterations; ++k) {
        PixelPoint c = MoveBy(list.referencePosition, list.starCentroidOffset[i]);
        std::optional<FloatPoint> next =
            Centroid(t.image, t.params.star.spans, c, list.starResults[i].mean);
        if (!next) {
            t.host.ShowMessage(kDoCaption,
                               "Warning - Star integration box\nlies partly out of picture.",
                               MessageIcon::Error);
            return;
        }
        previous = centroid;
        centroid = *next;
        list.starPosition[i] = centroid;
        list.starCentroidOffset[i] = OffsetBetween(RoundHalfUp(centroid), list.referencePosition);
    }
    const int number = i + 1;
    const double offCentre = Distance(start.x, start.y, centroid);
    const double residual = Distance(previous, centroid);
    Warn(t.host, offCentre, residual,
         FormatText("Warning ! - Star %d  was\n %.1f pixels off-centered", number, offCentre),
         FormatText("Warning ! - Star %d centroiding does not converge\n %.1lf pixels residuals",
                    number, residual));
}

}  // namespace

bool CentroidAllObjects(MeasureTarget& t) {
    ObjectList& list = t.objects;
    for (int i = 0; i < kMaxStars; ++i) {
        list.starCentroidOffset[i] = list.starOffset[i];
    }
    if (list.asteroidSelected && !CentroidAsteroid(t)) {
        return false;
    }
    for (int i = 0; i < t.params.numberOfStars && i < kMaxStars; ++i) {
        list.starCentroidOffset[i] = list.starOffset[i];
        if (!list.starSelected[i]) {
            continue;
        }
        // The printed position of a star given up at once is where its aperture started.
        PixelPoint start = MoveBy(list.referencePosition, list.starOffset[i]);
        list.starPosition[i] = FloatPoint{static_cast<float>(start.x), static_cast<float>(start.y)};
        CentroidStar(t, i);
    }
    return true;
}

}  // namespace corvane
