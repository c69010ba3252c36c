#include "photometry/photometry_parameters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane {

int RoundOutlineCoordinate(double v) {
    double sign = v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
    return static_cast<int>(v + 0.501 * sign);
}

OutlineResult ComputeOutline(int a, int b, int theta) {
    a = std::clamp(a, 1, kMaxSemiAxis);
    b = std::clamp(b, 1, kMaxSemiAxis);
    OutlineResult result;
    ApertureOutline& out = result.outline;

    const double m = std::max(a, b);
    const double phi = (theta + 90) * 0.017453292519943295;
    // At most about 0.63 pixel along the curve per step, so consecutive rounded points
    // differ by at most 1 in each coordinate.
    const double dt = 0.1 * 2 * std::numbers::pi / m;
    const double tEnd = 2 * std::numbers::pi + 0.1 * dt;

    auto pointAt = [&](double t) {
        double X = b * std::cos(t);
        double Y = a * std::sin(t);
        double r = std::sqrt(X * X + Y * Y);
        double psi = phi + std::atan2(Y, X);
        return OutlinePoint{RoundOutlineCoordinate(r * std::cos(psi)),
                            RoundOutlineCoordinate(r * std::sin(psi))};
    };

    out.points[0] = pointAt(0.0);
    out.count = 1;
    // The parameter advances by repeated addition, as the curve has always been traced.
    for (double t = dt; t < tEnd; t += dt) {
        OutlinePoint p = pointAt(t);
        const OutlinePoint& last = out.points[out.count - 1];
        if (p.x == last.x && p.y == last.y) {
            continue;
        }
        out.points[out.count++] = p;
        if (out.count == kOutlineCapacity) {
            result.overflow = true;
            break;
        }
    }
    result.xMismatch = out.points[out.count - 1].x != out.points[0].x;
    result.yMismatch = out.points[out.count - 1].y != out.points[0].y;
    return result;
}

int GenerateOutline(int a, int b, int theta, ApertureOutline& outline, Host& host) {
    OutlineResult result = ComputeOutline(a, b, theta);
    outline = result.outline;
    if (result.overflow) {
        host.ShowMessage("MSG 124", "ERROR ! Vector Dimension Exceeded", MessageIcon::Error);
    }
    if (result.xMismatch) {
        host.ShowMessage("", "Warning! Last elpsdpnt.x != First", MessageIcon::Error);
    }
    if (result.yMismatch) {
        host.ShowMessage("", "Warning! Last elpsdpnt.y != First", MessageIcon::Error);
    }
    return outline.count;
}

int BuildSpans(const ApertureOutline& outline, ApertureSpans& spans) {
    spans.count = 0;
    const int n = std::min(outline.count, kOutlineCapacity) - 1;  // without the closing point
    if (n <= 0) {
        return 0;
    }
    // Indirect sort: the points stay in place.
    std::array<int, kOutlineCapacity> order{};
    for (int i = 0; i < n; ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.begin() + n, [&](int i, int j) {
        const OutlinePoint& p = outline.points[i];
        const OutlinePoint& q = outline.points[j];
        return p.y != q.y ? p.y < q.y : p.x < q.x;
    });

    for (int k = 0; k < n; ++k) {
        const OutlinePoint& p = outline.points[order[k]];
        bool opensRow = k == 0 || p.y != outline.points[order[k - 1]].y;
        if (opensRow) {
            if (spans.count == kSpanCapacity) {
                break;  // cannot happen while |y| <= 99
            }
            spans.rows[spans.count++] = SpanRow{p.y, p.x, p.x};
        }
        spans.rows[spans.count - 1].xmax = p.x;
    }
    return spans.count;
}

bool InsideAperture(const ApertureSpans& spans, int cx, int cy, int column, int row) {
    const int y = cy - row;
    for (int i = 0; i < spans.count; ++i) {
        const SpanRow& s = spans.rows[i];
        if (s.y == y) {
            return cx + s.xmin <= column && column <= cx + s.xmax;
        }
    }
    return false;
}

void GenerateOutlines(PhotometryParameters& params, Host& host) {
    for (ApertureShape* shape : {&params.asteroid, &params.star}) {
        GenerateOutline(shape->a, shape->b, shape->theta, shape->outline, host);
    }
}

void BuildSpanTables(PhotometryParameters& params) {
    for (ApertureShape* shape : {&params.asteroid, &params.star}) {
        BuildSpans(shape->outline, shape->spans);
    }
}

}  // namespace corvane
