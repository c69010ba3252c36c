// quib against a stand-in main window: a local server of the test that records every
// frame and answers it. quib runs as a real process on a folder the test writes into.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <csignal>
#include <filesystem>
#include <span>

#include "platform/acquisition_protocol.h"
#include "quib_process.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

struct Received {
    std::uint32_t message = 0;
    std::uint32_t number = 0;
    std::string path;
    qint64 sizeWhenReceived = -1;  // of the named file, when the frame arrived
};

// Records frames and answers each at once, or, while `holdReplies` is set, when told.
class StandInMainWindow {
public:
    explicit StandInMainWindow(const std::string& scope) {
        TestApplication();
        QObject::connect(&server_, &QLocalServer::newConnection, [this] {
            while (QLocalSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QLocalSocket::readyRead, [this, socket] { Read(socket); });
            }
        });
        const QString name = QString::fromStdString(MainWindowServerName(scope));
        QLocalServer::removeServer(name);
        EXPECT_TRUE(server_.listen(name));
    }

    std::vector<Received> frames;
    bool holdReplies = false;

    void SendHeldReplies() {
        for (auto& [socket, reply] : held_) {
            socket->write(reinterpret_cast<const char*>(reply.data()),
                          static_cast<qint64>(reply.size()));
            socket->flush();
        }
        held_.clear();
    }

private:
    void Read(QLocalSocket* socket) {
        pending_ += socket->readAll();
        for (;;) {
            AcquisitionFrame frame;
            const DecodeResult decoded = DecodeFrame(
                std::span(reinterpret_cast<const std::uint8_t*>(pending_.constData()),
                          static_cast<std::size_t>(pending_.size())),
                frame);
            if (decoded.status != FrameStatus::Complete) {
                EXPECT_EQ(decoded.status, FrameStatus::Incomplete);
                return;
            }
            pending_.remove(0, static_cast<qsizetype>(decoded.consumed));
            Received r{frame.message, frame.number, CopyDataString(frame.data).value_or(""), -1};
            if (!r.path.empty()) {
                r.sizeWhenReceived = QFileInfo(QString::fromStdString(r.path)).size();
            }
            frames.push_back(r);
            held_.emplace_back(socket, EncodeReply(frame.message, 1));
            if (!holdReplies) {
                SendHeldReplies();
            }
        }
    }

    QLocalServer server_;
    QByteArray pending_;
    std::vector<std::pair<QLocalSocket*, std::vector<std::uint8_t>>> held_;
};

FitsImage Frame(int width, int value) {
    FitsImage image;
    image.width = width;
    image.height = 64;
    image.values.assign(static_cast<std::size_t>(width) * 64, value);
    return image;
}

class Quib {
public:
    Quib(const std::string& folder, const std::string& scope, int settleMs,
         const QStringList& extra = {}) : scope_(scope) {
        TestApplication();  // before the start, or its output is never read while it runs
        process_.setProgram(QuibPath());
        process_.setArguments(QuibArguments(folder, scope, settleMs, extra));
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        EXPECT_TRUE(process_.waitForStarted(10000));
        EXPECT_TRUE(WaitUntil([&] { return QuibRunning(scope_); }));
    }
    ~Quib() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    void Terminate() { ::kill(static_cast<pid_t>(process_.processId()), SIGTERM); }
    bool Ended() const { return process_.state() == QProcess::NotRunning; }
    QString Log() { return QString::fromLocal8Bit(process_.readAllStandardOutput()); }
    QProcess& Process() { return process_; }

private:
    std::string scope_;
    QProcess process_;
};

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
    QString log;
    ASSERT_TRUE(WaitUntil([&] {
        log += quib.Log();
        return log.contains("Could not hand over");
    })) << log.toStdString();
    EXPECT_TRUE(log.contains("Corvane32 is not running")) << log.toStdString();
    Pump(1000);  // several retries

    StandInMainWindow main(scope);
    main.holdReplies = true;
    ASSERT_TRUE(WaitUntil([&] { return !main.frames.empty(); }));
    EXPECT_TRUE(QuibLetsGo(scope)) << "quib's window waits on the main window's reply";
    log += quib.Log();
    EXPECT_FALSE(log.contains("Handed over")) << "counted before the main window took it";

    main.SendHeldReplies();
    ASSERT_TRUE(WaitUntil([&] {
        log += quib.Log();
        return log.contains("Handed over " + QString::fromStdString(path));
    }));
    Pump(700);
    ASSERT_EQ(main.frames.size(), 1u) << "taken once, not sent again";
    EXPECT_EQ(main.frames[0].path, path);
    EXPECT_EQ(log.count("Could not hand over"), 1) << "each retry logged:\n" << log.toStdString();
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
