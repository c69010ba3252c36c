// Where the confirmation bar, the tool box and the close-up window go on the screen.
#include <gtest/gtest.h>

#include "app/screen_placement.h"

namespace corvane {
namespace {

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

PixelRect At(ScreenPoint p, PixelSize s) {
    return {p.x, p.y, p.x + s.width, p.y + s.height};
}

// A 1280 × 800 screen; the window at (100, 50) shows 512 × 512 image pixels from (104, 100).
DesktopGeometry Desk(int frameBottom) {
    DesktopGeometry d;
    d.available = {0, 0, 1280, 800};
    d.frame = {100, 50, 100 + 540, frameBottom};
    d.imageArea = {104, 100, 104 + 512, 100 + 512};
    return d;
}

TEST(ConfirmBarPlace, BelowTheWindowElseTheImageCornerFarthestFromTheMarks) {
    const PixelSize bar{460, 34};
    const PixelRect asteroid{230, 400, 270, 440};  // low left, as on the sample frames
    const PixelRect star{500, 150, 540, 190};      // high right
    struct Case {
        const char* what;
        int frameBottom;
        std::vector<PixelRect> marks;
        ScreenPoint expected;
    } cases[] = {
        {"room below: under the frame, its left edges aligned", 700, {asteroid}, {100, 700}},
        {"exactly room below", 766, {asteroid}, {100, 766}},
        {"no room: no marks, bottom left", 767, {}, {104, 578}},
        {"asteroid low left: top left", 767, {asteroid}, {104, 100}},
        {"a star high right as well: the bar is wide, bottom left is farther",
         767,
         {asteroid, star},
         {104, 578}},
        {"a mark across the bottom and one in the top left: top right",
         767,
         {{104, 560, 616, 612}, {104, 100, 150, 140}},
         {156, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DesktopGeometry d = Desk(c.frameBottom);
        const ScreenPoint p = PlaceConfirmBar(d, bar, c.marks);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
        for (const PixelRect& m : c.marks) {
            EXPECT_FALSE(Overlap(At(p, bar), m));
        }
    }
}

TEST(ConfirmBarPlace, MarksInEveryCornerSendItAboveOrCoverTheLeast) {
    const PixelSize bar{460, 34};
    const std::vector<PixelRect> corners{
        {104, 100, 150, 140}, {570, 100, 616, 140}, {104, 590, 150, 612}, {560, 570, 616, 612}};
    DesktopGeometry d = Desk(780);
    ScreenPoint p = PlaceConfirmBar(d, bar, corners);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 16) << "above the frame, which starts at 50";

    // The frame at the top of the screen: the corner whose mark is smallest is covered.
    d.frame.top = 0;
    p = PlaceConfirmBar(d, bar, corners);
    EXPECT_EQ(p.x, 104);
    EXPECT_EQ(p.y, 578);

    // A bar wider than the screen's right part is kept on the screen.
    d = Desk(700);
    d.frame.left = 1000;
    p = PlaceConfirmBar(d, bar, {});
    EXPECT_EQ(p.x, 1280 - 460);
}

TEST(CompanionPlace, ToolBoxAboveCloseUpBesideTheWindow) {
    const PixelSize tools{172, 46};
    const PixelSize closeUp{132, 150};
    struct Case {
        const char* what;
        PixelRect frame;
        ScreenPoint toolBox;
        ScreenPoint closeUp;
    } cases[] = {
        {"room on the right", {100, 50, 640, 620}, {640, 50}, {640, 96}},
        {"right edge near the screen's: left of the window",
         {300, 50, 1200, 620},
         {128, 50},
         {168, 96}},
        {"no room either side: the screen's right edge",
         {60, 50, 1250, 620},
         {1108, 50},
         {1148, 96}},
        {"low on the screen: the column is lifted onto it",
         {100, 700, 640, 790},
         {640, 604},
         {640, 650}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DesktopGeometry d;
        d.available = {0, 0, 1280, 800};
        d.frame = c.frame;
        const ScreenPoint t = PlaceCompanion(d, tools, closeUp, ModelessWindow::ToolBox);
        const ScreenPoint u = PlaceCompanion(d, tools, closeUp, ModelessWindow::CloseUp);
        EXPECT_EQ(t.x, c.toolBox.x);
        EXPECT_EQ(t.y, c.toolBox.y);
        EXPECT_EQ(u.x, c.closeUp.x);
        EXPECT_EQ(u.y, c.closeUp.y);
        EXPECT_FALSE(Overlap(At(t, tools), At(u, closeUp)));
    }
}

}  // namespace
}  // namespace corvane
