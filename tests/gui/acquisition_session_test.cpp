// An acquisition session in the real main window: Acquire starts quib on a folder of the
// test, each FITS file written there is shown, Exit is refused until quib ends the session.

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTimer>
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

// A quib started by hand opens the session with its first image, as Acquire would. The
// image arrives while a dialog is open: quib is answered at once, and the image waits
// until the dialog has closed.
TEST(AcquisitionSession, QuibStartedByHandOpensTheSessionOnceTheDialogCloses) {
    Session s;
    Host& host = s.window.GetHost();
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    host.UpdateWindow();
    EXPECT_FALSE(timerRan) << "a repaint inside an operation runs nothing else";

    QProcess byHand;
    byHand.start(QuibPath(), QuibArguments(s.dir.Path(), s.scope, 400));
    ASSERT_TRUE(WaitUntil([&] { return QuibRunning(s.scope); }));
    const std::string path = s.dir.File("h001.fit");

    int loadedAtAnswer = -1;
    QObject scope;  // ends the connection before the locals it uses
    QObject::connect(&s.window.Modeless().Acquisition(), &AcquisitionLink::FrameHandled, &scope,
                     [&](quint32 message) {
                         if (message == kCopyDataMessage && loadedAtAnswer < 0) {
                             loadedAtAnswer = s.program.image.loaded ? 1 : 0;
                             // Long enough for a drain to have run, were it allowed to.
                             QTimer::singleShot(300, &scope, [] {
                                 if (auto* dialog =
                                         qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                                     dialog->reject();
                                 }
                             });
                         }
                     });
    QTimer::singleShot(100, &scope, [&] { WriteFrame(path, 60); });
    QTimer::singleShot(20000, &scope, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    });
    host.RunConfirmBox();  // open as during a photometry run
    EXPECT_EQ(loadedAtAnswer, 0) << "answered before the load";
    EXPECT_FALSE(s.program.image.loaded) << "nothing loaded while the dialog was open";
    EXPECT_FALSE(s.program.shell.acquisitionSession);

    ASSERT_TRUE(WaitUntil([&] { return s.Shows(path); }));
    EXPECT_EQ(s.Title(), "Corvane32 - (Acquiring...)");
    EXPECT_FALSE(s.Item(command::kAcquire)->isEnabled());
    EXPECT_FALSE(s.window.Menu().top[kMenuFaceLift]->menuAction()->isEnabled());
    s.Run(command::kExit);
    EXPECT_TRUE(s.window.isVisible());

    // A modal dialog of another window (the lightcurve window's export) holds the next
    // frame too, and lets it go when it closes.
    const std::string next = s.dir.File("h002.fit");
    bool shownInside = false;
    QDialog foreign;
    QTimer::singleShot(100, &scope, [&] { WriteFrame(next, 70); });
    QTimer::singleShot(2500, &scope, [&] {
        shownInside = s.Shows(next);
        foreign.reject();
    });
    foreign.exec();
    EXPECT_FALSE(shownInside) << "loaded inside another window's dialog";
    ASSERT_TRUE(WaitUntil([&] { return s.Shows(next); }));

    // It dies without a word: the session ends with it, and the program can be closed.
    ::kill(static_cast<pid_t>(byHand.processId()), SIGKILL);
    ASSERT_TRUE(WaitUntil([&] { return !s.program.shell.acquisitionSession; }));
    EXPECT_EQ(s.Title(), "Corvane 32 - " + next);
    s.Run(command::kExit);
    EXPECT_FALSE(s.window.isVisible());
}

}  // namespace
}  // namespace corvane::test
