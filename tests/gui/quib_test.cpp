// quib against a stand-in main window: a local server of the test that records every
// frame and answers it. quib runs as a real process on a folder the test writes into.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLocalSocket>
#include <filesystem>

#include "platform/acquisition_protocol.h"
#include "quib_process.h"
#include "stand_in_main_window.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

FitsImage Frame(int width, int value) {
    FitsImage image;
    image.width = width;
    image.height = 64;
    image.values.assign(static_cast<std::size_t>(width) * 64, value);
    return image;
}

TEST(Quib, HandsOverEachNewImageOnceItHasStoppedGrowing) {
    ASSERT_FALSE(QuibPath().isEmpty());
    TempDir dir;
    WriteFits(dir.File("old.fit"), Frame(64, 1));  // there before the session: not new
    const std::string scope = UniqueScope("quib");
    StandInMainWindow main(scope);
    Quib quib(dir.Path(), scope, 1500);

    WriteFits(dir.File("m001.fit"), Frame(64, 5));
    WriteBytes(dir.File("notes.txt"), "not an image");
    ASSERT_TRUE(WaitUntil([&] { return !main.frames.empty(); })) << quib.Log().toStdString();

    // A file written in pieces, with pauses shorter than the settle time, goes over once,
    // complete.
    WriteFits(dir.File("whole.fit"), Frame(256, 9));
    const std::string whole = ReadBytes(dir.File("whole.fit"));
    std::filesystem::remove(dir.File("whole.fit"));
    const std::string growing = dir.File("m002.fit");
    for (std::size_t done = 0; done < whole.size();) {
        const std::size_t piece = std::min<std::size_t>(8 * 2880, whole.size() - done);
        std::FILE* f = std::fopen(growing.c_str(), done == 0 ? "wb" : "ab");
        ASSERT_NE(f, nullptr);
        std::fwrite(whole.data() + done, 1, piece, f);
        std::fclose(f);
        done += piece;
        Pump(150);
    }
    ASSERT_TRUE(WaitUntil([&] { return main.frames.size() >= 2; }));
    Pump(1800);

    ASSERT_EQ(main.frames.size(), 2u);
    EXPECT_EQ(main.frames[0].message, kCopyDataMessage);
    EXPECT_EQ(main.frames[0].number, 1u);
    EXPECT_EQ(main.frames[0].path, dir.File("m001.fit"));
    EXPECT_EQ(main.frames[1].path, growing);
    EXPECT_EQ(main.frames[1].sizeWhenReceived, static_cast<qint64>(whole.size()));

    quib.Terminate();
    ASSERT_TRUE(WaitUntil([&] { return quib.Ended(); }));
    ASSERT_EQ(main.frames.size(), 3u);
    EXPECT_EQ(main.frames[2].message, kSessionEndedMessage);
    EXPECT_FALSE(QuibRunning(scope)) << "the server goes with the window";
    const QString log = quib.Log();
    EXPECT_TRUE(log.contains("Handed over " + QString::fromStdString(growing))) << log.toStdString();
}

TEST(Quib, SingleFileModeReleasesTheFileBeforeItIsWrittenAgain) {
    ASSERT_FALSE(QuibPath().isEmpty());
    TempDir dir;
    const std::string camera = dir.File("cam.fit");
    WriteFits(camera, Frame(64, 1));
    const std::string scope = UniqueScope("single");
    StandInMainWindow main(scope);
    Quib quib(dir.Path(), scope, 600, {"--single-file", "cam.fit"});

    WriteFits(camera, Frame(128, 2));
    WriteFits(dir.File("other.fit"), Frame(64, 3));  // not the camera's file
    ASSERT_TRUE(WaitUntil([&] { return !main.frames.empty(); }));
    WriteFits(camera, Frame(192, 4));
    ASSERT_TRUE(WaitUntil([&] { return main.frames.size() >= 3; }));
    Pump(900);

    ASSERT_EQ(main.frames.size(), 3u);
    EXPECT_EQ(main.frames[0].message, kCopyDataMessage);
    EXPECT_EQ(main.frames[0].path, camera);
    EXPECT_EQ(main.frames[1].message, kCloseImageMessage);
    EXPECT_EQ(main.frames[2].message, kCopyDataMessage);
    EXPECT_EQ(main.frames[2].path, camera);
    EXPECT_EQ(main.frames[2].sizeWhenReceived, QFileInfo(QString::fromStdString(camera)).size());
}

// True while quib's event loop runs: its server lets a new connection go at once.
bool QuibLetsGo(const std::string& scope) {
    QLocalSocket probe;
    probe.connectToServer(QString::fromStdString(QuibServerName(scope)));
    return probe.waitForConnected(500) && probe.waitForDisconnected(1000);
}

TEST(Quib, KeepsAFrameUntilAMainWindowHasTakenItWithoutWaitingOnIt) {
    ASSERT_FALSE(QuibPath().isEmpty());
    TempDir dir;
    const std::string scope = UniqueScope("retry");
    Quib quib(dir.Path(), scope, 300);  // no main window yet
    const std::string path = dir.File("m001.fit");
    WriteFits(path, Frame(64, 5));
    ASSERT_TRUE(quib.WaitForLog("Could not hand over")) << quib.Log().toStdString();
    EXPECT_TRUE(quib.Log().contains("Corvane32 is not running")) << quib.Log().toStdString();
    Pump(1000);  // several retries

    StandInMainWindow main(scope);
    main.holdReplies = true;
    ASSERT_TRUE(WaitUntil([&] { return !main.frames.empty(); }));
    EXPECT_TRUE(QuibLetsGo(scope)) << "quib's window waits on the main window's reply";
    EXPECT_FALSE(quib.Log().contains("Handed over")) << "counted before the main window took it";

    main.SendHeldReplies();
    ASSERT_TRUE(quib.WaitForLog("Handed over " + QString::fromStdString(path)));
    Pump(700);
    ASSERT_EQ(main.frames.size(), 1u) << "taken once, not sent again";
    EXPECT_EQ(main.frames[0].path, path);
    EXPECT_EQ(quib.Log().count("Could not hand over"), 1) << "each retry logged:\n"
                                                          << quib.Log().toStdString();
}

TEST(Quib, RefusesCommandLinesItCannotFollow) {
    const std::pair<QStringList, const char*> cases[] = {
        {{"--indi", "localhost:7624"}, "--indi needs --device NAME"},
        {{"--indi", "localhost:port", "--device", "C"}, "--indi wants HOST:PORT"},
        {{"--indi", "h", "--device", "C", "--capture", "--listen"}, "exclude each other"},
        {{"--indi", "h", "--device", "C", "--count", "3"}, "--count needs --capture"},
        {{"--indi", "h", "--device", "C", "--capture", "--exposure", "0"}, "--exposure wants"},
        {{"--indi", "h", "--device", "C", "--capture", "--bin", "1.5"}, "--bin wants a whole"},
        {{"--indi", "h", "--device", "C", "--prefix", "../up"}, "--prefix wants"},
        {{"--device", "C"}, "--device belongs to --indi"},
    };
    for (const auto& [arguments, message] : cases) {
        QProcess quib;
        quib.start(QuibPath(), arguments + QStringList{"-platform", "offscreen"});
        ASSERT_TRUE(quib.waitForFinished(10000));
        EXPECT_EQ(quib.exitCode(), 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(quib.readAllStandardError().contains(message)) << message;
    }
}

TEST(Quib, NoSecondQuibOnOneScope) {
    ASSERT_FALSE(QuibPath().isEmpty());
    TempDir dir;
    const std::string scope = UniqueScope("twice");
    StandInMainWindow main(scope);
    Quib first(dir.Path(), scope, 500);
    QProcess second;
    second.start(QuibPath(), QuibArguments(dir.Path(), scope, 500));
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(QuibRunning(scope));
    EXPECT_TRUE(main.frames.empty()) << "the second quib ends no session";
}

}  // namespace
}  // namespace corvane::test
