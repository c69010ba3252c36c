#include "app/photometry_clicks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "photometry/params_box.h"
#include "photometry/select_box.h"
#include "support/fake_host.h"

namespace corvane {
namespace {

std::string Printf(const char* format, int a, int b = 0) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// A program with an image shown and the output files chosen; no pixels are needed.
struct Shell {
    Program program;
    test::FakeHost host;
    Shell() {
        program.image.loaded = true;
        program.outputFilesChosen = true;
    }
    void Click(int column, int row) { ASSERT_TRUE(StarInputClick(program, host, column, row)); }
    // Initialises n stars with nB boxes: star k at (100 + 50k, 200 - 10k), its box j at
    // star + (j + 1, -(j + 1)) * 40.
    void InitialiseList() {
        InitializeStarListCommand(program, host);
        for (int k = 0; k < program.photometry.numberOfStars; ++k) {
            Click(100 + 50 * k, 200 - 10 * k);
            for (int j = 0; j < program.photometry.numberOfBoxes; ++j) {
                Click(100 + 50 * k + 40 * (j + 1), 200 - 10 * k - 40 * (j + 1));
            }
        }
    }
};

TEST(InitializeStarList, TwentySevenClicksWithTheirPrompts) {
    Shell s;
    s.program.objects.starSelected[1] = false;
    s.program.objects.asteroidSelected = false;
    s.program.objects.referenceStar = 2;
    InitializeStarListCommand(s.program, s.host);
    EXPECT_EQ(s.program.shell.mouseMode, MouseMode::InitStarList);
    EXPECT_TRUE(s.program.objects.starSelected[1]);
    EXPECT_TRUE(s.program.objects.asteroidSelected);
    EXPECT_EQ(s.program.objects.referenceStar, 0);

    std::vector<std::string> expected{"Input Ref. Star"};
    for (int k = 1; k <= 3; ++k) {
        if (k > 1) {
            expected.push_back(Printf("Input Star %d  (%d)", k, 3));
        }
        expected.push_back(Printf("Input Bckgnd 1 of Star %d", k));
        for (int j = 2; j <= 8; ++j) {
            expected.push_back(Printf("Input Bckgnd %d of Star %d", j, k));
        }
    }
    expected.push_back("");  // idle: no acquisition session

    int clicks = 0;
    for (int k = 0; k < 3; ++k) {
        s.Click(100 + 50 * k, 200 - 10 * k);
        ++clicks;
        EXPECT_EQ(s.host.cursor, CursorShape::LargeBox);
        EXPECT_TRUE(s.program.shell.overlaysShown);
        for (int j = 0; j < 8; ++j) {
            EXPECT_EQ(s.program.shell.mouseMode, MouseMode::InitStarList) << clicks;
            EXPECT_FALSE(s.program.objects.initialised);
            s.Click(100 + 50 * k + 40 * (j + 1), 200 - 10 * k - 40 * (j + 1));
            ++clicks;
        }
        if (k < 2) {
            EXPECT_EQ(s.host.cursor, CursorShape::Circle);
        }
    }
    EXPECT_EQ(clicks, 27);
    EXPECT_EQ(s.host.paneHistory[static_cast<int>(Pane::Prompt)], expected);
    EXPECT_EQ(s.program.shell.mouseMode, MouseMode::None);
    EXPECT_EQ(s.host.cursor, CursorShape::Cross);
    EXPECT_TRUE(s.program.objects.initialised);
    EXPECT_EQ(s.program.starInput.star, 0);

    const ObjectList& list = s.program.objects;
    EXPECT_EQ(list.referencePosition, (PixelPoint{100, 200}));
    EXPECT_EQ(list.starOffset[0], (PixelPoint{0, 0}));
    EXPECT_EQ(list.starOffset[2], (PixelPoint{100, -20}));
    // Box offsets count from the reference star, not from their own star.
    EXPECT_EQ(list.starBoxOffsets[0][0], (PixelPoint{40, -40}));
    EXPECT_EQ(list.starBoxOffsets[7][2], (PixelPoint{100 + 320, -20 - 320}));
}

TEST(InitializeStarList, SmallRoiBoxesUseTheSmallCursor) {
    Shell s;
    s.program.roi.side = 16;
    InitializeStarListCommand(s.program, s.host);
    s.Click(10, 10);
    EXPECT_EQ(s.host.cursor, CursorShape::SmallBox);
}

TEST(InitializeStarList, IgnoredWithoutAnImage) {
    Shell s;
    s.program.image.loaded = false;
    InitializeStarListCommand(s.program, s.host);
    EXPECT_EQ(s.program.shell.mouseMode, MouseMode::None);
    EXPECT_TRUE(s.host.log.empty());
}

TEST(InitializeStarList, RestartingClearsAShownOverlay) {
    Shell s;
    InitializeStarListCommand(s.program, s.host);
    s.Click(10, 10);
    int repaints = s.host.fullInvalidations;
    InitializeStarListCommand(s.program, s.host);
    EXPECT_FALSE(s.program.shell.overlaysShown);
    EXPECT_EQ(s.host.fullInvalidations, repaints + 1);
    EXPECT_EQ(s.host.panes[static_cast<int>(Pane::Prompt)], "Input Ref. Star");
    EXPECT_TRUE(s.program.starInput.expectingStar);
}

TEST(CancelObjectInput, AfterTheFifthClickTheListIsUninitialised) {
    Shell s;
    s.InitialiseList();
    ASSERT_TRUE(s.program.objects.initialised);
    InitializeStarListCommand(s.program, s.host);
    for (int i = 0; i < 5; ++i) {
        s.Click(20 + i, 30);
    }
    s.host.beeps.clear();
    CancelObjectInput(s.program, s.host);
    EXPECT_EQ(s.host.beeps, std::vector<BeepKind>{BeepKind::Default});
    EXPECT_EQ(s.program.shell.mouseMode, MouseMode::None);
    EXPECT_FALSE(s.program.objects.initialised);
    EXPECT_FALSE(s.program.shell.overlaysShown);
    EXPECT_EQ(s.host.cursor, CursorShape::Cross);
    EXPECT_EQ(s.host.panes[static_cast<int>(Pane::Prompt)], "");

    s.host.messages.clear();
    AddStarCommand(s.program, s.host);
    ASSERT_EQ(s.host.MessageLines(), std::vector<std::string>{"MSG 28: Please complete initialization"});
    EXPECT_EQ(s.host.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(s.program.shell.mouseMode, MouseMode::None);
}

TEST(AddStar, AppendsTheFourthStarPlacedFromTheClickedReference) {
    Shell s;
    s.InitialiseList();
    s.program.objects.starSelected[1] = false;
    s.host = test::FakeHost{};
    AddStarCommand(s.program, s.host);
    ASSERT_EQ(s.program.shell.mouseMode, MouseMode::AddStar);
    EXPECT_EQ(s.program.photometry.asteroid.spans.count, 31);  // built by the preparation
    EXPECT_EQ(s.program.photometry.star.spans.count, 31);

    // The field moved by (5, 7) on this image.
    std::vector<Mark> marks;
    StarInput in = MakeStarInput(s.program, s.host);
    in.draw = [&](const Mark& m) { marks.push_back(m); };
    EXPECT_EQ(AddStarClick(in, {105, 207}), SequenceStep::Continues);
    // Stars 1 and 3 (star 2 is not selected), each with its 8 boxes.
    ASSERT_EQ(marks.size(), 18u);
    EXPECT_EQ(marks[0].kind, MarkKind::StarAperture);
    EXPECT_EQ(marks[0].at, (PixelPoint{105, 207}));
    EXPECT_EQ(marks[9].kind, MarkKind::StarAperture);
    EXPECT_EQ(marks[9].at, (PixelPoint{205, 187}));
    EXPECT_EQ(marks[10].kind, MarkKind::BackgroundBox);
    EXPECT_EQ(s.host.panes[static_cast<int>(Pane::Prompt)], "Input New Star");
    EXPECT_EQ(s.host.cursor, CursorShape::Circle);

    s.Click(300, 150);
    EXPECT_EQ(s.host.panes[static_cast<int>(Pane::Prompt)], "Input Bckgnd 1 of New Star");
    EXPECT_EQ(s.host.cursor, CursorShape::LargeBox);
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(s.program.photometry.numberOfStars, 3);
        s.Click(300 + j, 100);
        if (j < 7) {
            EXPECT_EQ(s.host.panes[static_cast<int>(Pane::Prompt)],
                      Printf("Input Bckgnd %d of New Star", j + 2));
        }
    }
    EXPECT_EQ(s.program.shell.mouseMode, MouseMode::None);
    EXPECT_EQ(s.program.photometry.numberOfStars, 4);
    EXPECT_TRUE(s.program.objects.starSelected[3]);
    EXPECT_EQ(s.program.objects.starOffset[3], (PixelPoint{195, -57}));
    EXPECT_EQ(s.program.objects.starBoxOffsets[7][3], (PixelPoint{202, -107}));
    EXPECT_EQ(s.program.objects.starOffset[2], (PixelPoint{100, -20}));  // untouched
    EXPECT_EQ(ParamsDialogOpening(s.program.photometry).stars, "4");
    EXPECT_TRUE(s.program.objects.initialised);
}

TEST(AddStar, RefusalsAndCancel) {
    {
        Shell s;
        s.InitialiseList();
        s.program.outputFilesChosen = false;
        AddStarCommand(s.program, s.host);
        EXPECT_EQ(s.host.MessageLines().back(), "MSG 28: Please open output files");
        EXPECT_EQ(s.program.shell.mouseMode, MouseMode::None);
    }
    {
        Shell s;
        s.program.photometry.numberOfStars = 16;
        s.program.objects.initialised = true;
        AddStarCommand(s.program, s.host);
        EXPECT_EQ(s.program.shell.mouseMode, MouseMode::None);
        EXPECT_TRUE(s.host.log.empty());
    }
    {
        Shell s;
        s.InitialiseList();
        AddStarCommand(s.program, s.host);
        s.Click(100, 200);
        s.Click(300, 150);
        s.Click(310, 150);
        CancelObjectInput(s.program, s.host);
        EXPECT_EQ(s.program.photometry.numberOfStars, 3);
        EXPECT_TRUE(s.program.objects.initialised);
        EXPECT_FALSE(s.program.starInput.referenceClicked);
        // The next "Add star" starts again at the reference star.
        AddStarCommand(s.program, s.host);
        EXPECT_EQ(s.host.panes[static_cast<int>(Pane::Prompt)], "Input Ref. Star");
        s.Click(100, 200);
        EXPECT_EQ(s.host.panes[static_cast<int>(Pane::Prompt)], "Input New Star");
    }
}

TEST(SelectBox, ReferenceChangeKeepsEveryAbsolutePosition) {
    Shell s;
    s.InitialiseList();
    SelectDialogFields before = SelectDialogOpening(s.program.objects, s.program.photometry);
    EXPECT_EQ(before.stars[1].x, "150");
    EXPECT_EQ(before.stars[1].y, "190");
    EXPECT_TRUE(before.stars[0].reference);
    EXPECT_TRUE(before.stars[2].enabled);
    EXPECT_FALSE(before.stars[3].enabled);
    const PixelPoint box = s.program.objects.starBoxOffsets[3][2];

    SelectDialogFields press = before;
    press.stars[0].reference = false;
    press.stars[1].reference = true;
    press.stars[3].checked = true;  // disabled: reads as unchecked
    s.host.selectDialogScript = {press};
    SelectStarsCommand(s.program, s.host);

    const ObjectList& list = s.program.objects;
    EXPECT_EQ(list.referenceStar, 1);
    EXPECT_EQ(list.starOffset[1], (PixelPoint{0, 0}));
    EXPECT_EQ(list.referencePosition, (PixelPoint{150, 190}));
    EXPECT_EQ(list.starBoxOffsets[3][2], (PixelPoint{box.x - 50, box.y + 10}));
    EXPECT_FALSE(list.starSelected[3]);
    SelectDialogFields after = SelectDialogOpening(list, s.program.photometry);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(after.stars[i].x, before.stars[i].x);
        EXPECT_EQ(after.stars[i].y, before.stars[i].y);
    }
    EXPECT_TRUE(after.stars[1].reference);
    EXPECT_FALSE(after.stars[0].reference);
}

TEST(SelectBox, UncheckedReferenceKeepsTheDialogOpen) {
    Shell s;
    s.InitialiseList();
    SelectDialogFields press = SelectDialogOpening(s.program.objects, s.program.photometry);
    press.stars[0].checked = false;
    press.stars[2].checked = false;
    press.asteroidChecked = false;
    s.host.selectDialogScript = {press, std::nullopt};
    SelectStarsCommand(s.program, s.host);
    EXPECT_EQ(s.host.selectDialogOpenings.size(), 1u);
    EXPECT_TRUE(s.host.selectDialogScript.empty());  // the second press (Cancel) was used
    // The star flags of the refused OK stay; the asteroid flag was not reached.
    EXPECT_FALSE(s.program.objects.starSelected[0]);
    EXPECT_FALSE(s.program.objects.starSelected[2]);
    EXPECT_TRUE(s.program.objects.asteroidSelected);
}

TEST(SelectBox, RefusedOnAnUninitialisedList) {
    Shell s;
    SelectStarsCommand(s.program, s.host);
    EXPECT_EQ(s.host.MessageLines(), std::vector<std::string>{"MSG 28: Please complete initialization"});
    EXPECT_TRUE(s.host.selectDialogOpenings.empty());
}

TEST(ParametersCommand, LoweringTheStarsKeepsTheListUsable) {
    Shell s;
    s.program.photometry.numberOfStars = 5;
    s.InitialiseList();
    ParamsDialogFields f = ParamsDialogOpening(s.program.photometry);
    f.stars = "2";
    s.host.paramsDialogScript = {f};
    ParametersCommand(s.program, s.host);
    EXPECT_EQ(s.program.photometry.numberOfStars, 2);
    AddStarCommand(s.program, s.host);
    EXPECT_EQ(s.program.shell.mouseMode, MouseMode::AddStar);
}

}  // namespace
}  // namespace corvane
