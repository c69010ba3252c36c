// quib's folder logic on a real folder with a clock the test turns: what is new, when a
// file is complete, and when the held file must be released.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "folder_watch.h"
#include "support/temp_dir.h"

namespace quib {
namespace {

using corvane::test::TempDir;

void Write(const std::string& path, std::size_t bytes, bool append = false) {
    std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out << std::string(bytes, 'x');
}

WatchAction HandOver(const std::string& path) { return {WatchActionKind::HandOver, path}; }
WatchAction Release(const std::string& path) { return {WatchActionKind::Release, path}; }
using Actions = std::vector<WatchAction>;

WatchSettings Settings(const TempDir& dir, std::string single = "") {
    return WatchSettings{dir.Path(), DefaultPatterns(), std::move(single), 1000};
}

TEST(FolderWatch, NewFilesGoOverOnceTheyHaveSettled) {
    TempDir dir;
    Write(dir.File("before.fit"), 100);
    FolderWatch watch(Settings(dir), 0);

    Write(dir.File("a.fit"), 100);
    Write(dir.File("log.txt"), 100);     // no image pattern
    Write(dir.File(".hidden.fit"), 100);  // a copier's temporary
    Write(dir.File("B.FIT"), 0);         // empty so far
    EXPECT_EQ(watch.Scan(10), Actions{});
    EXPECT_EQ(watch.Scan(1009), Actions{}) << "one millisecond short of settled";
    EXPECT_EQ(watch.Scan(1010), Actions{HandOver(dir.File("a.fit"))});
    EXPECT_EQ(watch.Scan(5000), Actions{}) << "handed over once";

    Write(dir.File("B.FIT"), 50);
    EXPECT_EQ(watch.Scan(5100), Actions{});
    Write(dir.File("B.FIT"), 50, true);  // still growing: the wait starts again
    EXPECT_EQ(watch.Scan(6000), Actions{});
    EXPECT_EQ(watch.Scan(6999), Actions{});
    EXPECT_EQ(watch.Scan(7000), Actions{HandOver(dir.File("B.FIT"))});
    EXPECT_EQ(watch.HeldPath(), dir.File("B.FIT"));
}

TEST(FolderWatch, SeveralCompleteFilesGoInNameOrder) {
    TempDir dir;
    FolderWatch watch(Settings(dir), 0);
    for (const char* name : {"m003.fit", "m001.fit", "m002.fits"}) {
        Write(dir.File(name), 10);
    }
    watch.Scan(0);
    EXPECT_EQ(watch.Scan(2000), (Actions{HandOver(dir.File("m001.fit")),
                                         HandOver(dir.File("m002.fits")),
                                         HandOver(dir.File("m003.fit"))}));
    EXPECT_EQ(watch.HeldPath(), dir.File("m003.fit"));
}

TEST(FolderWatch, TheHeldFileIsReleasedAtTheFirstSignOfWriting) {
    TempDir dir;
    const std::string camera = dir.File("cam.fit");
    Write(camera, 100);
    FolderWatch watch(Settings(dir, "cam.fit"), 0);

    Write(dir.File("other.fit"), 100);  // single-file mode watches the one name only
    Write(camera, 200);
    watch.Scan(100);
    EXPECT_EQ(watch.Scan(1100), Actions{HandOver(camera)});

    Write(camera, 10);  // the camera starts on the next exposure
    EXPECT_EQ(watch.Scan(1200), Actions{Release(camera)});
    EXPECT_EQ(watch.HeldPath(), "");
    Write(camera, 300);
    EXPECT_EQ(watch.Scan(1300), Actions{}) << "released once";
    EXPECT_EQ(watch.Scan(2300), Actions{HandOver(camera)});

    // Deleted and written anew between two looks: released as well.
    std::filesystem::remove(camera);
    EXPECT_EQ(watch.Scan(2400), Actions{});
    Write(camera, 300);
    EXPECT_EQ(watch.Scan(2500), Actions{Release(camera)});
}

TEST(FolderWatch, PatternLists) {
    EXPECT_EQ(SplitPatterns(" *.fit, *.fts;*.mt  "), (std::vector<std::string>{"*.fit", "*.fts", "*.mt"}));
    EXPECT_TRUE(SplitPatterns("  ").empty());
}

}  // namespace
}  // namespace quib
