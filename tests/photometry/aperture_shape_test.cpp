#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

#include "photometry/photometry_parameters.h"
#include "support/fake_host.h"

namespace corvane {
namespace {

using Pixels = std::set<std::pair<int, int>>;  // offsets (x, y) inside an aperture

Pixels PixelSet(const ApertureSpans& spans) {
    Pixels set;
    for (int i = 0; i < spans.count; ++i) {
        for (int x = spans.rows[i].xmin; x <= spans.rows[i].xmax; ++x) {
            set.insert({x, spans.rows[i].y});
        }
    }
    return set;
}

ApertureSpans SpansOf(int a, int b, int theta) {
    ApertureSpans spans;
    BuildSpans(ComputeOutline(a, b, theta).outline, spans);
    return spans;
}

TEST(OutlineRounding, MovesAFractionOf0499AwayFromZero) {
    struct Case {
        double v;
        int rounded;
    } cases[] = {{2.5, 3},   {2.49, 2}, {2.499, 3},  {2.498, 2}, {-2.5, -3}, {-2.49, -2},
                 {0.3, 0},   {-0.3, 0}, {0.0, 0},    {0.499, 1}, {-0.499, -1}, {98.6, 99},
                 {1e-300, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(RoundOutlineCoordinate(c.v), c.rounded) << c.v;
    }
}

TEST(Outline, DefaultCircleStartsOnTopAndRunsLeftwards) {
    test::FakeHost host;
    PhotometryParameters params;
    GenerateOutlines(params, host);
    EXPECT_TRUE(host.messages.empty());

    const ApertureOutline& o = params.star.outline;
    ASSERT_GE(o.count, 4);
    EXPECT_EQ(o.points[0].x, 0);
    EXPECT_EQ(o.points[0].y, 15);
    EXPECT_EQ(o.points[1].x, -1);
    EXPECT_EQ(o.points[1].y, 15);
    EXPECT_EQ(o.points[2].x, -2);
    EXPECT_EQ(o.points[2].y, 15);
    EXPECT_EQ(o.points[o.count - 1].x, 0);
    EXPECT_EQ(o.points[o.count - 1].y, 15);
    // The default record carries the same outline before any dialog.
    PhotometryParameters fresh;
    ASSERT_EQ(fresh.asteroid.outline.count, o.count);

    BuildSpanTables(params);
    const ApertureSpans& s = params.star.spans;
    ASSERT_EQ(s.count, 31);
    for (int i = 0; i < s.count; ++i) {
        EXPECT_EQ(s.rows[i].y, i - 15);
    }
    EXPECT_EQ(s.rows[0].xmin, -4);
    EXPECT_EQ(s.rows[0].xmax, 4);
    EXPECT_EQ(s.rows[30].xmin, -4);
    EXPECT_EQ(s.rows[30].xmax, 4);
    EXPECT_EQ(s.rows[15].xmin, -15);
    EXPECT_EQ(s.rows[15].xmax, 15);
}

TEST(Outline, EveryAcceptedSizeIsAChainOfNeighbouringPixels) {
    // Over the sizes the dialog admits: steps of at most one pixel, a closed curve unless
    // the capacity ran out, and a span row for every y between the extremes.
    for (int a = 3; a <= 99; a += 8) {
        for (int b = 3; b <= 99; b += 12) {
            for (int theta : {-90, -45, -1, 0, 30, 90}) {
                OutlineResult r = ComputeOutline(a, b, theta);
                const ApertureOutline& o = r.outline;
                for (int i = 1; i < o.count; ++i) {
                    ASSERT_LE(std::abs(o.points[i].x - o.points[i - 1].x), 1) << a << b << theta;
                    ASSERT_LE(std::abs(o.points[i].y - o.points[i - 1].y), 1) << a << b << theta;
                }
                if (!r.overflow) {
                    EXPECT_FALSE(r.xMismatch || r.yMismatch) << a << " " << b << " " << theta;
                }
                ApertureSpans s;
                BuildSpans(o, s);
                for (int i = 1; i < s.count; ++i) {
                    ASSERT_EQ(s.rows[i].y, s.rows[i - 1].y + 1);
                }
            }
        }
    }
}

TEST(Outline, ThetaTurnsTheASemiAxisCounterClockwise) {
    EXPECT_EQ(PixelSet(SpansOf(20, 5, 90)), PixelSet(SpansOf(5, 20, 0)));
    EXPECT_EQ(PixelSet(SpansOf(20, 5, -90)), PixelSet(SpansOf(5, 20, 0)));

    Pixels flat = PixelSet(SpansOf(20, 5, 0));
    EXPECT_TRUE(flat.count({20, 0}));
    EXPECT_TRUE(flat.count({0, 5}));
    EXPECT_FALSE(flat.count({0, 6}));
    EXPECT_FALSE(flat.count({21, 0}));

    // At +45 degrees the long axis points up and to the right: offset y grows upwards.
    Pixels tilted = PixelSet(SpansOf(20, 3, 45));
    EXPECT_TRUE(tilted.count({12, 12}));
    EXPECT_TRUE(tilted.count({-12, -12}));
    EXPECT_FALSE(tilted.count({12, -12}));
}

TEST(Outline, LargestCircleOverflowsTheCapacity) {
    test::FakeHost host;
    ApertureOutline outline;
    int count = GenerateOutline(99, 99, 0, outline, host);
    EXPECT_EQ(count, 630);
    EXPECT_EQ(outline.count, 630);
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].caption, "MSG 124");
    EXPECT_EQ(host.messages[0].text, "ERROR ! Vector Dimension Exceeded");
    // The 630th point falls short of the start in both coordinates.
    EXPECT_EQ(host.messages[1].text, "Warning! Last elpsdpnt.x != First");
    EXPECT_EQ(host.messages[2].text, "Warning! Last elpsdpnt.y != First");
    for (const test::RecordedMessage& m : host.messages) {
        EXPECT_EQ(m.icon, MessageIcon::Error);
    }
    EXPECT_EQ(host.messages[1].caption, "");
    EXPECT_EQ(host.messages[2].caption, "");

    // Measuring then uses the table of the truncated outline.
    ApertureSpans spans;
    EXPECT_GT(BuildSpans(outline, spans), 0);
    EXPECT_LE(spans.count, kSpanCapacity);
}

TEST(InsideAperture, RowsCountUpwardsFromTheCentre) {
    ApertureSpans s = SpansOf(20, 3, 45);
    const int cx = 100, cy = 50;
    EXPECT_TRUE(InsideAperture(s, cx, cy, cx, cy));
    EXPECT_TRUE(InsideAperture(s, cx, cy, cx + 12, cy - 12));   // up and right on screen
    EXPECT_FALSE(InsideAperture(s, cx, cy, cx + 12, cy + 12));  // down and right
    EXPECT_FALSE(InsideAperture(s, cx, cy, cx, cy - 40));       // above every row
}

}  // namespace
}  // namespace corvane
