// The real corvane32 as the system sees it: ended by a signal it leaves neither its pixel
// file nor its socket; at start it removes pixel files nobody holds; of two started at
// once, one takes the link. Each test gives the programs a temporary directory of its own.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gui_test_support.h"
#include "platform/acquisition_process.h"
#include "platform/acquisition_protocol.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

extern char** environ;

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

std::string Corvane32Path() {
    const char* chosen = std::getenv("CORVANE32");
    return chosen ? chosen : CORVANE32_PATH;
}

// corvane32 offscreen with `tmp` as its temporary directory, the three signals at their
// defaults whatever this test inherited (nohup ignores SIGHUP).
class Corvane32 {
public:
    Corvane32(const std::string& tmp, const std::string& image) {
        std::vector<std::string> env{"TMPDIR=" + tmp, "temp=" + tmp, "QT_QPA_PLATFORM=offscreen"};
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry(*e);
            if (entry.rfind("TMPDIR=", 0) != 0 && entry.rfind("temp=", 0) != 0 &&
                entry.rfind("QT_QPA_PLATFORM=", 0) != 0) {
                env.push_back(entry);
            }
        }
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        std::string program = Corvane32Path();
        std::string argument = image;
        std::vector<char*> argv{program.data()};
        if (!argument.empty()) argv.push_back(argument.data());
        argv.push_back(nullptr);

        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&defaults, s);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        EXPECT_EQ(::posix_spawn(&pid_, program.c_str(), nullptr, &attributes, argv.data(),
                                envp.data()),
                  0);
        posix_spawnattr_destroy(&attributes);
    }
    ~Corvane32() {
        if (status_ < 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    pid_t Pid() const { return pid_; }
    // The wait status once it ended; -1 when it is still running after `timeoutMs`.
    int WaitEnd(int timeoutMs = 30000) {
        WaitUntil([&] {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
            return status_ >= 0;
        }, timeoutMs);
        return status_;
    }
    // Whether the process has `path` open.
    bool HasOpen(const std::string& path) const {
        std::error_code error;
        for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid_) + "/fd", error)) {
            if (fs::read_symlink(fd.path(), error) == path) return true;
        }
        return false;
    }

private:
    pid_t pid_ = 0;
    int status_ = -1;
};

// A process that is not corvane32 holding a pixel file's lock, as a running instance does.
class LockHolder {
public:
    explicit LockHolder(const std::string& path) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
            const char byte = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? '1' : '0';
            [[maybe_unused]] ssize_t n = ::write(ready[1], &byte, 1);
            ::pause();
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        EXPECT_EQ(byte, '1');
        ::close(ready[0]);
    }
    ~LockHolder() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_ = 0;
};

struct Night {
    TempDir images;
    std::string tmp = images.File("tmp");
    std::string socket = tmp + "/" + MainWindowServerName(CurrentUserName());

    Night() { fs::create_directory(tmp); }
    // A 96 × 80 FITS frame; with `rows` below 80 the file ends early.
    std::string Frame(const std::string& name, int rows = 80) const {
        FitsImage image;
        image.width = 96;
        image.height = 80;
        image.values.assign(96 * 80, 100);
        const std::string path = images.File(name);
        WriteFits(path, image);
        if (rows < 80) {
            fs::resize_file(path, 2880 + static_cast<std::uintmax_t>(96 * 2 * rows));
        }
        return path;
    }
    std::vector<std::string> PixelFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(tmp)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("~cor", 0) == 0) names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // Listening sockets bound under the temporary directory, from the kernel's table: a
    // socket whose name another listener took over is still counted.
    int Listeners() const {
        std::ifstream table("/proc/net/unix");
        std::string line;
        int count = 0;
        while (std::getline(table, line)) {
            std::istringstream fields(line);
            std::string slot, refs, protocol, flags, type, state, inode, path;
            fields >> slot >> refs >> protocol >> flags >> type >> state >> inode >> path;
            const bool listening = (std::stoul(flags, nullptr, 16) & 0x10000) != 0;
            if (listening && path.rfind(tmp + "/", 0) == 0) ++count;
        }
        return count;
    }
    // Nothing of a corvane32 is left: no pixel file, no socket, no lock beside it.
    void ExpectNothingLeft(const std::vector<std::string>& kept = {}) const {
        EXPECT_EQ(PixelFiles(), kept);
        EXPECT_FALSE(fs::exists(fs::symlink_status(socket)));
        EXPECT_FALSE(fs::exists(socket + ".lock"));
    }
};

bool EndedBy(int status, int signal) { return WIFSIGNALED(status) && WTERMSIG(status) == signal; }

TEST(ProcessLifetime, ASignalEndsItAsAClose) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        Night night;
        Corvane32 program(night.tmp, night.Frame("m67.fit"));
        ASSERT_TRUE(WaitUntil([&] {
            return night.PixelFiles().size() == 1 && fs::exists(night.socket);
        }));
        ::kill(program.Pid(), signal);
        EXPECT_TRUE(EndedBy(program.WaitEnd(), signal));
        night.ExpectNothingLeft();
    }
}

TEST(ProcessLifetime, ABoxOpenDuringALoadDoesNotHoldIt) {
    Night night;
    const std::string frame = night.Frame("short.fit", 40);
    Corvane32 program(night.tmp, frame);
    // The reader keeps the file open while "Some lines are missing" waits for its OK.
    ASSERT_TRUE(WaitUntil([&] { return program.HasOpen(frame); }));
    ::kill(program.Pid(), SIGTERM);
    EXPECT_TRUE(EndedBy(program.WaitEnd(), SIGTERM));
    night.ExpectNothingLeft();
}

TEST(ProcessLifetime, TwoStartedTogetherLeaveHeldFilesAndOneListens) {
    Night night;
    WriteBytes(night.tmp + "/~cor0007.tmp", "left by a killed program");
    LockHolder holder(night.tmp + "/~cor0005.tmp");
    const std::string frame = night.Frame("m67.fit");
    Corvane32 first(night.tmp, frame);
    Corvane32 second(night.tmp, frame);

    // Each has swept and claimed (or not) the link before it loads its frame.
    ASSERT_TRUE(WaitUntil([&] { return night.PixelFiles().size() == 3; }))
        << ::testing::PrintToString(night.PixelFiles());
    const std::vector<std::string> files = night.PixelFiles();
    EXPECT_TRUE(std::find(files.begin(), files.end(), "~cor0005.tmp") != files.end());
    EXPECT_TRUE(std::find(files.begin(), files.end(), "~cor0007.tmp") == files.end());
    EXPECT_EQ(night.Listeners(), 1);

    ::kill(first.Pid(), SIGTERM);
    ::kill(second.Pid(), SIGTERM);
    EXPECT_TRUE(EndedBy(first.WaitEnd(), SIGTERM));
    EXPECT_TRUE(EndedBy(second.WaitEnd(), SIGTERM));
    night.ExpectNothingLeft({"~cor0005.tmp"});
}

}  // namespace
}  // namespace corvane::test
