// Open, Next, Reload, Close and the command-line file, on FITS files written by cfitsio.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/acquisition.h"
#include "app/app_fixture.h"
#include "app/command_ids.h"
#include "app/commands.h"
#include "app/image_commands.h"
#include "app/tool_box.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::AppFixture;
using test::TempDir;
namespace cmd = command;

void WriteImage(const std::string& path, int width = 300, int height = 200) {
    test::FitsImage image;
    image.width = width;
    image.height = height;
    test::WriteFits(path, image);
}

struct Started : AppFixture {
    TempDir dir;
    Started() { StartMainWindow(program, host, dir.Path()); }
};

TEST(FileCommands, MenuStateAfterStartLoadFailedLoadAndClose) {
    Started f;
    // Start: the empty 520-pixel window, three menus and Next, Reload, Output Files grayed.
    EXPECT_EQ(f.host.windowSizes.back(), std::make_pair(520, 51 + 20));
    EXPECT_FALSE(f.host.sizeLimits.resizable);
    const MenuState& m = f.host.menu;
    EXPECT_TRUE(m.topEnabled[kMenuFile] && m.topEnabled[kMenuOptions]);
    EXPECT_FALSE(m.topEnabled[kMenuWindow] || m.topEnabled[kMenuFaceLift] ||
                 m.topEnabled[kMenuPhotometry]);
    EXPECT_FALSE(m.nextEnabled || m.reloadEnabled || m.outputFilesEnabled || m.acquireEnabled);
    EXPECT_EQ(m.titles, kFullMenuTitles);

    // A failed load from the empty window: Next is enabled by the attempt, nothing else.
    test::WriteBytes(f.dir.File("bad.fit"), "S");
    EXPECT_FALSE(LoadImage(f.program, f.host, f.dir.File("bad.fit")));
    EXPECT_EQ(f.host.MessageLines().back(), "MSG 27: Invalid image format.");
    EXPECT_TRUE(m.nextEnabled);
    EXPECT_FALSE(m.reloadEnabled || m.topEnabled[kMenuWindow]);

    // A load.
    WriteImage(f.dir.File("img009.fit"));
    ASSERT_TRUE(LoadImage(f.program, f.host, f.dir.File("img009.fit")));
    EXPECT_TRUE(m.topEnabled[kMenuWindow] && m.topEnabled[kMenuFaceLift] &&
                m.topEnabled[kMenuPhotometry]);
    EXPECT_TRUE(m.nextEnabled && m.reloadEnabled && m.outputFilesEnabled);
    EXPECT_EQ(f.host.title, "Corvane 32 - " + f.dir.File("img009.fit"));
    EXPECT_EQ(f.host.panes[2], "  Image: 300 x 200 - 0.1 MB");
    EXPECT_EQ(f.host.windowSizes.back(), std::make_pair(328, 287));
    EXPECT_TRUE(f.host.sizeLimits.resizable);

    // A failed load that released the image leaves the window empty.
    EXPECT_FALSE(LoadImage(f.program, f.host, f.dir.File("bad.fit")));
    EXPECT_FALSE(f.program.image.loaded);
    EXPECT_FALSE(m.nextEnabled || m.reloadEnabled || m.topEnabled[kMenuWindow]);
    EXPECT_EQ(f.host.title, "Corvane 32 - ");
    EXPECT_EQ(f.host.windowSizes.back(), std::make_pair(520, 71));

    // Close.
    ASSERT_TRUE(LoadImage(f.program, f.host, f.dir.File("img009.fit")));
    f.program.shell.view.zoom = 32;
    f.program.shell.closeUpOpen = true;
    OnCommand(f.program, f.host, cmd::kClose);
    EXPECT_FALSE(f.program.image.loaded);
    EXPECT_TRUE(f.program.image.path.empty());
    EXPECT_EQ(f.program.shell.view.zoom, 8);
    EXPECT_FALSE(m.nextEnabled || m.reloadEnabled || m.topEnabled[kMenuPhotometry]);
    EXPECT_TRUE(m.outputFilesEnabled);  // inside the grayed Photometry menu
    EXPECT_EQ(f.host.closedModeless, std::vector<ModelessWindow>{ModelessWindow::CloseUp});
    EXPECT_EQ(f.host.panes[0], "");
    EXPECT_EQ(f.host.panes[1], "");
    EXPECT_EQ(f.host.panes[2], "");
    EXPECT_EQ(f.host.windowSizes.back(), std::make_pair(520, 71));

    // Close without an image does nothing.
    const std::size_t sizes = f.host.windowSizes.size();
    OnCommand(f.program, f.host, cmd::kClose);
    EXPECT_EQ(f.host.windowSizes.size(), sizes);
}

TEST(FileCommands, NextFollowsTheNumberedSequence) {
    struct Case {
        const char* from;
        std::vector<const char*> present;
        std::vector<MessageAnswer> answers;
        const char* opened;  // nullptr: the image stays
        int questions;
    } cases[] = {
        {"img009.fit", {"img010.fit"}, {}, "img010.fit", 0},
        {"img999.fit", {"img1000.fit"}, {}, "img1000.fit", 0},
        {"dark.fit", {"dark1.fit"}, {}, nullptr, 0},
        {"img009.fit", {"img011.fit"}, {MessageAnswer::Yes}, "img011.fit", 1},
        {"img009.fit", {"img011.fit"}, {MessageAnswer::No}, nullptr, 1},
        {"img009.fit", {"img012.fit"}, {MessageAnswer::Yes, MessageAnswer::Yes}, "img012.fit", 2},
    };
    for (const Case& c : cases) {
        Started f;
        WriteImage(f.dir.File(c.from));
        for (const char* name : c.present) WriteImage(f.dir.File(name), 64, 4);
        ASSERT_TRUE(LoadImage(f.program, f.host, f.dir.File(c.from)));
        f.host.answers.assign(c.answers.begin(), c.answers.end());
        OnCommand(f.program, f.host, cmd::kNext);
        const std::string expected = f.dir.File(c.opened ? c.opened : c.from);
        EXPECT_EQ(f.program.image.path, expected) << c.from;
        EXPECT_TRUE(f.program.image.loaded);
        EXPECT_EQ(f.program.image.width, c.opened ? 64 : 300) << c.from;
        ASSERT_EQ(static_cast<int>(f.host.messages.size()), c.questions) << c.from;
        if (c.questions > 0) {
            EXPECT_EQ(f.host.messages[0].caption, "MSG 7");
            EXPECT_EQ(f.host.messages[0].text,
                      "Error in opening file  " + f.dir.File("img010.fit") + "\n\t Try Next ?");
            EXPECT_EQ(f.host.messages[0].buttons, MessageButtons::YesNo);
            EXPECT_EQ(f.host.messages[0].icon, MessageIcon::Warning);
        }
    }
}

TEST(FileCommands, NextWaitsForTheMouseMode) {
    Started f;
    WriteImage(f.dir.File("img009.fit"));
    WriteImage(f.dir.File("img010.fit"));
    ASSERT_TRUE(LoadImage(f.program, f.host, f.dir.File("img009.fit")));
    OnCommand(f.program, f.host, cmd::kSetRoi);
    OnCommand(f.program, f.host, cmd::kNext);
    EXPECT_EQ(f.program.image.path, f.dir.File("img009.fit"));
}

TEST(FileCommands, OpenUsesTheChosenFilter) {
    Started f;
    WriteImage(f.dir.File("a.fit"));
    // Cancel: nothing happens, and the start directory is still offered.
    OnCommand(f.program, f.host, cmd::kOpen);
    ASSERT_EQ(f.host.openRequests.size(), 1u);
    EXPECT_EQ(f.host.openRequests[0].filterIndex, 1);
    EXPECT_EQ(f.host.openRequests[0].initialDirectory, f.dir.Path());
    EXPECT_EQ(f.host.openRequests[0].filters.size(), 4u);
    EXPECT_FALSE(f.program.image.loaded);

    f.host.openDialogScript.push_back(OpenFileChoice{f.dir.File("a.fit"), 2});
    OnCommand(f.program, f.host, cmd::kOpen);
    EXPECT_TRUE(f.program.image.loaded);
    EXPECT_FALSE(f.program.shell.openAsRaw);
    EXPECT_TRUE(f.host.menu.reloadEnabled);

    // The raw filter makes the loader treat the file as raw; without raw options confirmed
    // the image is closed.
    f.host.openDialogScript.push_back(OpenFileChoice{f.dir.File("a.fit"), 3});
    OnCommand(f.program, f.host, cmd::kOpen);
    EXPECT_EQ(f.host.openRequests.back().initialDirectory, f.dir.Path()) << "a.fit's folder";
    EXPECT_EQ(f.host.openRequests.back().filterIndex, 2);
    EXPECT_TRUE(f.program.shell.openAsRaw);
    EXPECT_FALSE(f.program.image.loaded);
    EXPECT_EQ(f.program.shell.openFilterIndex, 3);

    // Reload keeps the raw flag.
    f.program.image.path = f.dir.File("a.fit");
    OnCommand(f.program, f.host, cmd::kReload);
    EXPECT_TRUE(f.program.shell.openAsRaw);
    EXPECT_FALSE(f.program.image.loaded);
}

TEST(FileCommands, OpenStartsInTheFolderOfTheLastImageShown) {
    Started f;
    std::filesystem::create_directory(f.dir.File("night"));
    WriteImage(f.dir.File("night/img001.fit"));
    test::WriteBytes(f.dir.File("bad.fit"), "S");
    auto offered = [&f] {
        OnCommand(f.program, f.host, cmd::kOpen);
        return f.host.openRequests.back().initialDirectory;
    };
    EXPECT_EQ(offered(), f.dir.Path()) << "before any image: the start directory";
    OpenCommandLineFile(f.program, f.host, f.dir.File("night/img001.fit"));
    ASSERT_TRUE(f.program.image.loaded);
    EXPECT_EQ(offered(), f.dir.File("night"));
    // Neither a file that failed to load nor closing the image moves it.
    f.host.openDialogScript.push_back(OpenFileChoice{f.dir.File("bad.fit"), 4});
    EXPECT_EQ(offered(), f.dir.File("night"));
    ASSERT_FALSE(f.program.image.loaded);
    EXPECT_EQ(offered(), f.dir.File("night"));
}

TEST(FileCommands, ADroppedFileOpensAsOpenWould) {
    Started f;
    WriteImage(f.dir.File("a.fit"));
    EXPECT_FALSE(AcceptsDrop(f.program, 2)) << "one file at a time";
    f.program.shell.mouseMode = MouseMode::SetRoi;
    OpenDroppedFile(f.program, f.host, f.dir.File("a.fit"));
    f.program.shell.mouseMode = MouseMode::None;
    f.program.shell.acquisitionSession = true;
    OpenDroppedFile(f.program, f.host, f.dir.File("a.fit"));
    f.program.shell.acquisitionSession = false;
    EXPECT_FALSE(f.program.image.loaded) << "not while a mode waits or a session runs";
    EXPECT_TRUE(f.host.messages.empty());

    OpenDroppedFile(f.program, f.host, f.dir.File("a.fit"));
    EXPECT_TRUE(f.program.image.loaded);
    EXPECT_EQ(f.host.title, "Corvane 32 - " + f.dir.File("a.fit"));
    // The raw filter chosen last in Open does not make a dropped FITS file raw.
    f.program.shell.openFilterIndex = kRawFilter;
    OpenDroppedFile(f.program, f.host, f.dir.File("a.fit"));
    EXPECT_EQ(f.host.rawDialogRuns, 0);
    EXPECT_TRUE(f.program.image.loaded);
}

// Wherever a load fails, the readout pane loses its "Loading image..." and the prompt
// pane shows its idle text again.
TEST(FileCommands, AFailedLoadLeavesTheStatusBarAtRest) {
    struct Case {
        const char* what;
        const char* caption;
        void (*fail)(Started&);
    } cases[] = {
        {"Reload from the tool box with no image", "Msg 213",
         [](Started& f) { PressToolButton(f.program, f.host, 1144); }},
        {"a file too short for any format", "MSG 27",
         [](Started& f) {
             test::WriteBytes(f.dir.File("s.fit"), "S");
             LoadImage(f.program, f.host, f.dir.File("s.fit"));
         }},
        {"raw options cancelled", "",
         [](Started& f) {
             WriteImage(f.dir.File("a.fit"));
             f.program.shell.openAsRaw = true;
             LoadImage(f.program, f.host, f.dir.File("a.fit"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Started f;
        f.host.idlePrompt = [&f] { return IdlePrompt(f.program); };
        // In a session the idle prompt is the image's path.
        f.program.shell.acquisitionSession = true;
        f.program.image.path = f.dir.File("gone.fit");
        c.fail(f);
        if (*c.caption != '\0') {
            ASSERT_FALSE(f.host.messages.empty());
            EXPECT_EQ(f.host.messages.back().caption, c.caption);
        }
        EXPECT_EQ(f.host.panes[0], "");
        EXPECT_EQ(f.host.panes[1], IdlePrompt(f.program));
        EXPECT_GE(f.host.progressEnds, 1);
    }
}

TEST(FileCommands, CommandLineFile) {
    TempDir dir;
    const std::string spaced = dir.File("my image.fit");
    WriteImage(spaced);
    test::WriteBytes(dir.File("bad.fit"), "SIMPLE  =     garbage");

    struct Case {
        std::string argument;
        bool loaded;
        std::vector<std::string> messages;
    } cases[] = {
        {"", false, {}},
        {dir.File("missing.fit"), false, {}},
        {"\"" + spaced + "\"", true, {}},
        {spaced, true, {}},
    };
    for (const Case& c : cases) {
        AppFixture f;
        StartMainWindow(f.program, f.host, dir.Path());
        OpenCommandLineFile(f.program, f.host, c.argument);
        EXPECT_EQ(f.program.image.loaded, c.loaded) << c.argument;
        EXPECT_EQ(f.host.MessageLines(), c.messages) << c.argument;
        if (c.loaded) {
            EXPECT_EQ(f.host.title, "Corvane 32 - " + spaced);
            EXPECT_EQ(f.program.shell.openFilterIndex, 2);
            EXPECT_FALSE(f.program.shell.openAsRaw);
        }
    }

    AppFixture f;
    StartMainWindow(f.program, f.host, dir.Path());
    OpenCommandLineFile(f.program, f.host, dir.File("bad.fit"));
    ASSERT_FALSE(f.host.messages.empty());
    EXPECT_EQ(f.host.messages.back().caption, "readfile failed");
    EXPECT_EQ(f.host.messages.back().text, dir.File("bad.fit"));
    EXPECT_FALSE(f.program.image.loaded);
}

// A file the lookup cannot find leaves the image shown as it was, whoever asked: its path
// and offset stay, so true values and later records stay right.
TEST(FileCommands, AFileThatCannotBeFoundChangesNothing) {
    struct Case {
        const char* name;
        void (*ask)(Started&, const std::string& shown, const std::string& missing);
    };
    const Case cases[] = {
        {"Reload after the file vanished",
         [](Started& f, const std::string& shown, const std::string&) {
             std::filesystem::remove(shown);
             OnCommand(f.program, f.host, cmd::kReload);
         }},
        {"Open", [](Started& f, const std::string&, const std::string& missing) {
             f.host.openDialogScript = {OpenFileChoice{missing, 2}};
             OnCommand(f.program, f.host, cmd::kOpen);
         }},
        {"a hand-over", [](Started& f, const std::string&, const std::string& missing) {
             ReceiveHandOver(f.program, f.host, CopyDataHandOver(2, test::PathData(missing), 0));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Started f;
        const std::string shown = f.dir.File("img009.fit");
        test::FitsImage image;
        image.values.assign(64 * 4, 100 - 32768);
        test::WriteFits(shown, image, {test::FitsKey::Dbl("BZERO", 32768.0)});
        ASSERT_TRUE(Acquire(f.program, f.host));
        ASSERT_TRUE(LoadImage(f.program, f.host, shown));
        const std::uint64_t generation = f.program.image.generation;
        f.host.messages.clear();

        c.ask(f, shown, f.dir.File("missing.fit"));
        EXPECT_EQ(f.host.MessageLines(),
                  std::vector<std::string>{"Msg 213: FindFirstFile function failed. Error 2."});
        EXPECT_TRUE(f.program.image.loaded);
        EXPECT_EQ(f.program.image.path, shown);
        EXPECT_EQ(f.program.image.bzero, 32768);
        EXPECT_EQ(TruePixel(f.program.image, 63, 3), 100);
        EXPECT_EQ(f.program.image.generation, generation);
    }

    // The generation outlives the image: a release and a new load never give a number an
    // earlier image had.
    Started f;
    WriteImage(f.dir.File("a.fit"), 64, 4);
    ASSERT_TRUE(LoadImage(f.program, f.host, f.dir.File("a.fit")));
    const std::uint64_t first = f.program.image.generation;
    ReleaseImage(f.program.image);
    ASSERT_TRUE(LoadImage(f.program, f.host, f.dir.File("a.fit")));
    EXPECT_GT(f.program.image.generation, first);
}

}  // namespace
}  // namespace corvane
