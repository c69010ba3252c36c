// The acquisition session as the main window keeps it: Acquire, the handed-over images,
// the release request, the end of the session and the close guard.

#include <gtest/gtest.h>

#include "app/acquisition.h"
#include "app/app_fixture.h"
#include "app/commands.h"
#include "app/image_commands.h"
#include "platform/acquisition_protocol.h"
#include "support/fits_writer.h"
#include "support/load_helpers.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

constexpr const char* kNotStarted =
    "Cannot load aquisition module. Make sure the program quib.exe is stored in the Windows "
    "System directory";

// A program showing one image; the host answers for the acquisition program.
struct Bench {
    TempDir dir;
    Loaded l;

    Bench() {
        for (const char* name : {"before.fit", "a1.fit", "a2.fit"}) {
            FitsImage image;
            image.values.assign(64 * 4, 100);
            WriteFits(dir.File(name), image);
        }
        LoadInto(l, dir.File("before.fit"));
        EXPECT_TRUE(l.ok);
        ApplyAcquisitionProbe(l.program, l.host, true);
        l.host.messages.clear();
    }
    Program& program() { return l.program; }
    FakeHost& host() { return l.host; }
    HandOverTaken Hand(std::uint32_t number, const std::string& name) {
        return ReceiveHandOver(l.program, l.host,
                               CopyDataHandOver(number, PathData(dir.File(name)), 0));
    }
    HandOverTaken Send(HandOverKind kind) {
        PendingHandOver handOver;
        handOver.kind = kind;
        return ReceiveHandOver(l.program, l.host, handOver);
    }
    // What the event loop does when the drain the host was asked for runs.
    void Drain() {
        DrainHandOvers(l.program, l.host);
    }
};

TEST(Acquisition, ProbeDecidesWhetherAcquireIsOffered) {
    Loaded l;
    ApplyAcquisitionProbe(l.program, l.host, false);
    EXPECT_FALSE(l.host.menu.acquireEnabled);
    ApplyAcquisitionProbe(l.program, l.host, true);
    EXPECT_TRUE(l.host.menu.acquireEnabled);
}

TEST(Acquisition, AcquireRefusals) {
    struct Case {
        bool quibOpen;
        bool startWorks;
        const char* caption;
        const char* text;
        int starts;
    };
    const Case cases[] = {
        {true, true, "MSG 713", "Acquisition module already loaded", 0},
        {false, false, "MSG 712", kNotStarted, 1},
    };
    for (const Case& c : cases) {
        Bench b;
        b.host().acquisitionWindowOpen = c.quibOpen;
        b.host().acquisitionStartWorks = c.startWorks;
        const std::string titleBefore = b.host().title;
        EXPECT_FALSE(Acquire(b.program(), b.host()));
        ASSERT_EQ(b.host().messages.size(), 1u) << c.caption;
        EXPECT_EQ(b.host().messages[0].caption, c.caption);
        EXPECT_EQ(b.host().messages[0].text, c.text);
        EXPECT_EQ(b.host().messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(b.host().acquisitionStarts, c.starts);
        EXPECT_FALSE(b.program().shell.acquisitionSession);
        EXPECT_TRUE(b.program().image.loaded) << "the image shown stays";
        EXPECT_EQ(b.host().title, titleBefore);
        EXPECT_TRUE(b.host().menu.acquireEnabled);
    }
}

TEST(Acquisition, AcquireOpensTheSessionOnAnEmptyWindow) {
    Bench b;
    ASSERT_TRUE(Acquire(b.program(), b.host()));
    EXPECT_TRUE(b.program().shell.acquisitionSession);
    EXPECT_EQ(b.host().title, "Corvane32 - (Acquiring...)");
    EXPECT_FALSE(b.host().menu.acquireEnabled);
    EXPECT_FALSE(b.host().menu.topEnabled[kMenuWindow]);
    EXPECT_FALSE(b.host().menu.reloadEnabled);
    EXPECT_FALSE(b.program().image.loaded);
    EXPECT_EQ(b.program().image.pixels, nullptr) << "the old image is released at once";
    EXPECT_FALSE(b.program().image.tempFile.has_value());
    EXPECT_EQ(b.host().panes[static_cast<int>(Pane::Prompt)], "");
    EXPECT_TRUE(b.host().messages.empty());
}

TEST(Acquisition, NumberOneLoadsOnlyWhenTheInboxIsDrained) {
    Bench b;
    ASSERT_TRUE(Acquire(b.program(), b.host()));
    b.program().shell.mouseMode = MouseMode::SetRoi;
    b.program().shell.openAsRaw = true;

    EXPECT_EQ(b.Hand(1, "a1.fit"), HandOverTaken::Waiting);
    EXPECT_FALSE(b.program().image.loaded) << "nothing is loaded before the reply";
    EXPECT_EQ(b.program().image.path, "");
    EXPECT_EQ(b.host().drainPosts, 1);

    // The drain that was asked for.
    b.Drain();
    EXPECT_TRUE(b.program().image.loaded);
    EXPECT_EQ(b.program().shell.mouseMode, MouseMode::None);
    EXPECT_FALSE(b.program().shell.openAsRaw);
    EXPECT_EQ(b.host().restores, 1);
    EXPECT_EQ(b.host().panes[static_cast<int>(Pane::Prompt)], b.dir.File("a1.fit"));
    EXPECT_EQ(b.host().title, "Corvane32 - (Acquiring...)");
    EXPECT_FALSE(b.host().menu.topEnabled[kMenuFaceLift]) << "no retouching during a session";
    EXPECT_TRUE(b.host().menu.topEnabled[kMenuWindow]);
}

TEST(Acquisition, OtherNumbersLoadBeforeReplying) {
    Bench b;
    ASSERT_TRUE(Acquire(b.program(), b.host()));
    for (std::uint32_t number : {0u, 2u, 0xFFFFFFFFu}) {
        EXPECT_EQ(b.Hand(number, number == 2 ? "a2.fit" : "a1.fit"), HandOverTaken::Handled);
        EXPECT_TRUE(b.program().image.loaded) << number;
        EXPECT_EQ(b.host().panes[static_cast<int>(Pane::Prompt)], b.program().image.path);
    }
    EXPECT_EQ(b.host().title, "Corvane32 - (Acquiring...)");
}

TEST(Acquisition, BadPointerChangesNothing) {
    Bench b;
    ASSERT_TRUE(Acquire(b.program(), b.host()));
    ASSERT_EQ(b.Hand(2, "a1.fit"), HandOverTaken::Handled);
    b.program().shell.mouseMode = MouseMode::EditPixel;
    const int menuUpdates = b.host().menuUpdates;

    const std::string path = b.dir.File("a2.fit");
    const std::vector<std::uint8_t> unterminated(path.begin(), path.end());
    EXPECT_EQ(ReceiveHandOver(b.program(), b.host(), CopyDataHandOver(1, unterminated, 0)),
              HandOverTaken::Handled);
    ASSERT_EQ(b.host().messages.size(), 1u);
    EXPECT_EQ(b.host().messages[0].caption, "Error 423");
    EXPECT_EQ(b.host().messages[0].text, "Bad pointer");
    EXPECT_EQ(b.host().messages[0].icon, MessageIcon::None);
    EXPECT_EQ(b.program().image.path, b.dir.File("a1.fit"));
    EXPECT_TRUE(b.program().image.loaded);
    EXPECT_EQ(b.program().shell.mouseMode, MouseMode::EditPixel);
    EXPECT_EQ(b.host().menuUpdates, menuUpdates);
    EXPECT_EQ(b.host().restores, 1);
}

TEST(Acquisition, ReleaseRequestClosesTheImageButKeepsTheSessionTitle) {
    Bench b;
    ASSERT_TRUE(Acquire(b.program(), b.host()));
    ASSERT_EQ(b.Hand(2, "a1.fit"), HandOverTaken::Handled);
    b.program().shell.mouseMode = MouseMode::Photometry;  // Do! waiting for its clicks
    b.Send(HandOverKind::Release);
    EXPECT_EQ(b.program().shell.mouseMode, MouseMode::None) << "no click on a closed image";
    EXPECT_FALSE(b.program().image.loaded);
    EXPECT_FALSE(b.program().image.tempFile.has_value());
    EXPECT_EQ(b.host().title, "Corvane32 - (Acquiring...)");
    EXPECT_TRUE(b.program().shell.acquisitionSession);
}

TEST(Acquisition, EndOfSessionKeepsTheLastImage) {
    Bench b;
    ASSERT_TRUE(Acquire(b.program(), b.host()));
    ASSERT_EQ(b.Hand(2, "a2.fit"), HandOverTaken::Handled);
    EndAcquisitionSession(b.program(), b.host());
    EXPECT_FALSE(b.program().shell.acquisitionSession);
    EXPECT_EQ(b.host().title, "Corvane 32 - " + b.dir.File("a2.fit"));
    EXPECT_EQ(b.host().panes[static_cast<int>(Pane::Prompt)], "");
    EXPECT_TRUE(b.host().menu.acquireEnabled);
    EXPECT_TRUE(b.host().menu.topEnabled[kMenuFaceLift]);
    EXPECT_TRUE(b.program().image.loaded);
    EXPECT_EQ(IdlePrompt(b.program()), "");
}

TEST(Acquisition, EndOfSessionAfterTheImageWasReleased) {
    Bench b;
    ASSERT_TRUE(Acquire(b.program(), b.host()));
    ASSERT_EQ(b.Hand(2, "a2.fit"), HandOverTaken::Handled);
    b.Send(HandOverKind::Release);
    EndAcquisitionSession(b.program(), b.host());
    EXPECT_EQ(b.host().title, "Corvane 32 - ");
    EXPECT_FALSE(b.host().menu.topEnabled[kMenuFaceLift]);
    EXPECT_TRUE(b.host().menu.acquireEnabled);
}

TEST(Acquisition, CloseGuard) {
    Bench b;
    EXPECT_FALSE(!OnCloseRequest(b.program(), b.host()));
    ASSERT_TRUE(Acquire(b.program(), b.host()));
    EXPECT_TRUE(!OnCloseRequest(b.program(), b.host()));
    ASSERT_EQ(b.host().messages.size(), 1u);
    EXPECT_EQ(b.host().messages[0].caption, "Corvane");
    EXPECT_EQ(b.host().messages[0].text,
              "There is an open acquisition session. Please close it first.");
    EXPECT_EQ(b.host().messages[0].icon, MessageIcon::Error);
    EndAcquisitionSession(b.program(), b.host());
    EXPECT_FALSE(!OnCloseRequest(b.program(), b.host()));
    EXPECT_EQ(b.host().messages.size(), 1u);
}

}  // namespace
}  // namespace corvane::test
