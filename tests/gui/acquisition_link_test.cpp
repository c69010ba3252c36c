// The main window's link on its own: quib that dies or cannot start, and frames from any
// sender, well-formed or not. The whole session runs in acquisition_session_test.

#include <gtest/gtest.h>

#include <QLocalSocket>
#include <QWidget>
#include <csignal>
#include <span>

#include "app/acquisition.h"
#include "app/commands.h"
#include "gui/acquisition_link.h"
#include "platform/acquisition_protocol.h"
#include "quib_process.h"
#include "support/fake_host.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

FitsImage Frame(int value) {
    FitsImage image;
    image.width = 64;
    image.height = 64;
    image.values.assign(64 * 64, value);
    return image;
}

// The main window's host as far as the acquisition program goes: it asks the link.
class LinkHost : public FakeHost {
public:
    AcquisitionLink* link = nullptr;
    bool AcquisitionWindowOpen() override { return link->QuibWindowOpen(); }
    bool StartAcquisitionProgram() override { return link->StartQuib(); }
    void WatchAcquisitionProgram(int pid) override { link->WatchQuib(pid); }
    void PostHandOverDrain() override { link->PostDrain(); }
};

struct LinkBench {
    QApplication& application = TestApplication();
    TempDir dir;
    std::string scope = UniqueScope("link");
    QWidget window;
    Program program;
    LinkHost host;
    AcquisitionLink link{window, program, host};

    explicit LinkBench(const QString& quib = QuibPath()) {
        host.link = &link;
        AcquisitionLink::Options options;
        options.scope = scope;
        options.quibProgram = quib;
        options.quibArguments = QuibArguments(dir.Path(), scope, 400);
        link.Start(options);
    }
    ~LinkBench() {
        // A session opened by this test's own frames watches the test itself.
        if (link.QuibPid() > 0 && link.QuibPid() != ::getpid()) {
            ::kill(link.QuibPid(), SIGKILL);
        }
    }
};

TEST(AcquisitionLink, QuibThatDiesEndsTheSession) {
    ASSERT_FALSE(QuibPath().isEmpty());
    LinkBench b;
    int vanished = 0;
    QObject::connect(&b.link, &AcquisitionLink::QuibVanished, [&] { ++vanished; });
    Acquire(b.program, b.host);
    ASSERT_TRUE(b.program.shell.acquisitionSession);
    ASSERT_TRUE(WaitUntil([&] { return QuibRunning(b.scope); }));
    ::kill(b.link.QuibPid(), SIGKILL);
    ASSERT_TRUE(WaitUntil([&] { return !b.program.shell.acquisitionSession; }));
    EXPECT_EQ(vanished, 1);
    EXPECT_FALSE(!OnCloseRequest(b.program, b.host));
    EXPECT_TRUE(b.host.menu.acquireEnabled);
}

TEST(AcquisitionLink, QuibThatCannotStart) {
    TempDir elsewhere;
    LinkBench b(QString::fromStdString(elsewhere.File("quib")));
    Acquire(b.program, b.host);
    EXPECT_FALSE(b.program.shell.acquisitionSession);
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_EQ(b.host.messages[0].caption, "MSG 712");
}

TEST(AcquisitionLink, ASecondWindowLeavesTheLinkToTheFirst) {
    LinkBench first;
    QWidget window;
    Program program;
    FakeHost host;
    AcquisitionLink second(window, program, host);
    AcquisitionLink::Options options;
    options.scope = first.scope;
    options.quibProgram = QuibPath();
    second.Start(options);
    EXPECT_FALSE(second.Listening());
    EXPECT_FALSE(host.menu.acquireEnabled) << "its quib would serve the other window";
    ASSERT_TRUE(first.link.Listening());
    EXPECT_TRUE(first.host.menu.acquireEnabled);
    EXPECT_EQ(SendRaw(first.scope, EncodeMessage(kCloseImageMessage), 1).size(), 1u);
}

TEST(AcquisitionLink, FramesFromAnySender) {
    LinkBench b;
    WriteFits(b.dir.File("x.fit"), Frame(3));
    const std::string path = b.dir.File("x.fit");

    // No terminator within the byte count.
    std::vector<std::uint8_t> bad(path.begin(), path.end());
    std::vector<AcquisitionReply> replies = SendRaw(b.scope, EncodeCopyDataBytes(1, bad), 1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].message, kCopyDataMessage);
    EXPECT_EQ(replies[0].result, 0);
    EXPECT_EQ(b.host.MessageLines(), std::vector<std::string>{"Error 423: Bad pointer"});
    EXPECT_EQ(b.host.messages[0].icon, MessageIcon::None);

    // Number 2 loads before the reply; then 1035 releases the image; all on one stream.
    std::vector<std::uint8_t> stream = EncodeCopyData(2, path);
    const std::vector<std::uint8_t> release = EncodeMessage(kCloseImageMessage);
    stream.insert(stream.end(), release.begin(), release.end());
    int loadedAtRelease = -1;
    QObject::connect(&b.link, &AcquisitionLink::FrameHandled, [&](quint32 message) {
        if (message == kCopyDataMessage) {
            loadedAtRelease = b.program.image.loaded ? 1 : 0;
        }
    });
    replies = SendRaw(b.scope, stream, 2);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].result, 1);
    EXPECT_EQ(replies[1].message, kCloseImageMessage);
    EXPECT_EQ(loadedAtRelease, 1);
    EXPECT_FALSE(b.program.image.loaded);

    // Number 1: answered first, loaded from the event loop after it.
    loadedAtRelease = -1;
    replies = SendRaw(b.scope, EncodeCopyData(1, path), 1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].result, 1);
    EXPECT_EQ(loadedAtRelease, 0) << "not loaded when the reply went";
    ASSERT_TRUE(WaitUntil([&] { return b.program.image.loaded; }));

    // A copy-data frame too large to read, then an unknown message: both end the stream.
    std::vector<std::uint8_t> huge = EncodeCopyDataBytes(1, {});
    huge[8] = 0xFF;
    huge[9] = 0xFF;
    huge[10] = 0xFF;
    replies = SendRaw(b.scope, huge, 1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].result, 0);
    EXPECT_EQ(b.host.messages.size(), 2u);
    EXPECT_TRUE(SendRaw(b.scope, EncodeMessage(4711), 1).empty());
    EXPECT_EQ(b.host.messages.size(), 2u);
}

}  // namespace
}  // namespace corvane::test
