// An acquisition session in the real main window: Acquire starts quib on a folder of the
// test, each FITS file written there is shown, Exit is refused until quib ends the session.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <csignal>

#include "app/command_ids.h"
#include "gui/acquisition_link.h"
#include "gui/main_window.h"
#include "gui/modeless_windows.h"
#include "gui_test_support.h"
#include "platform/acquisition_protocol.h"
#include "quib_process.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

void WriteFrame(const std::string& path, int value) {
    FitsImage image;
    image.width = 96;
    image.height = 80;
    image.values.assign(96 * 80, value);
    WriteFits(path, image);
}

struct Session {
    QApplication& application = TestApplication();
    TempDir dir;
    std::string scope = UniqueScope("session");
    Program program;
    MainWindow window{program};
    MessageWatcher messages;

    Session() {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.Start("");
        AcquisitionLink::Options options;
        options.scope = scope;
        options.quibProgram = QuibPath();
        options.quibArguments = QuibArguments(dir.Path(), scope, 400);
        window.Modeless().Acquisition().Start(options);
    }
    ~Session() {
        if (const int pid = window.Modeless().Acquisition().QuibPid(); pid > 0) {
            ::kill(pid, SIGKILL);
        }
    }
    QAction* Item(int id) const { return window.Menu().items.at(id); }
    void Run(int id) {
        Item(id)->trigger();
        QApplication::processEvents();
    }
    std::string Title() const { return window.windowTitle().toStdString(); }
    std::string Prompt() const { return window.Pane(1)->text().toStdString(); }
    bool Shows(const std::string& path) const {
        return program.image.loaded && program.image.path == path;
    }
};

TEST(AcquisitionSession, QuibHandsItsImagesToTheMainWindow) {
    Session s;
    ASSERT_TRUE(s.window.Modeless().Acquisition().Listening());
    ASSERT_TRUE(s.Item(command::kAcquire)->isEnabled());

    // A quib already running (started by hand): Acquire starts nothing.
    {
        QProcess byHand;
        byHand.start(QuibPath(), QuibArguments(s.dir.Path(), s.scope, 400));
        ASSERT_TRUE(WaitUntil([&] { return QuibRunning(s.scope); }));
        s.Run(command::kAcquire);
        EXPECT_EQ(s.messages.seen,
                  std::vector<std::string>{"MSG 713: Acquisition module already loaded"});
        EXPECT_FALSE(s.program.shell.acquisitionSession);
        byHand.kill();
        byHand.waitForFinished(5000);
        s.messages.seen.clear();
    }

    s.Run(command::kAcquire);
    ASSERT_TRUE(s.program.shell.acquisitionSession) << ::testing::PrintToString(s.messages.seen);
    EXPECT_EQ(s.Title(), "Corvane32 - (Acquiring...)");
    EXPECT_FALSE(s.Item(command::kAcquire)->isEnabled());
    ASSERT_TRUE(WaitUntil([&] { return QuibRunning(s.scope); }));

    for (const char* name : {"m001.fit", "m002.fit"}) {
        const std::string path = s.dir.File(name);
        WriteFrame(path, 50);
        ASSERT_TRUE(WaitUntil([&] { return s.Shows(path); })) << name;
        QApplication::processEvents();
        EXPECT_EQ(s.Title(), "Corvane32 - (Acquiring...)");
        EXPECT_EQ(s.Prompt(), path);
    }

    s.Run(command::kExit);
    EXPECT_TRUE(s.window.isVisible());
    EXPECT_EQ(s.messages.seen,
              std::vector<std::string>{
                  "Corvane: There is an open acquisition session. Please close it first."});

    const std::string path = s.dir.File("m002.fit");
    std::vector<std::uint8_t> unterminated(path.begin(), path.end());
    const std::vector<AcquisitionReply> replies =
        SendRaw(s.scope, EncodeCopyDataBytes(1, unterminated), 1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].result, 0);
    EXPECT_EQ(s.messages.seen.back(), "Error 423: Bad pointer");
    EXPECT_TRUE(s.Shows(path));

    ::kill(s.window.Modeless().Acquisition().QuibPid(), SIGTERM);  // quib's window closes: 1034
    ASSERT_TRUE(WaitUntil([&] { return !s.program.shell.acquisitionSession; }));
    EXPECT_EQ(s.Title(), "Corvane 32 - " + path);
    EXPECT_EQ(s.Prompt(), "");
    EXPECT_TRUE(s.Item(command::kAcquire)->isEnabled());
    EXPECT_TRUE(s.window.Menu().top[kMenuFaceLift]->menuAction()->isEnabled());

    const std::size_t shown = s.messages.seen.size();
    s.Run(command::kExit);
    EXPECT_FALSE(s.window.isVisible());
    EXPECT_EQ(s.messages.seen.size(), shown);
}

}  // namespace
}  // namespace corvane::test
