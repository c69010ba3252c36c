// The local server name goes to whoever holds its lock: a second program that asks in the
// same moment as the first is refused even before the first listens.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalServer>
#include <cstring>
#include <filesystem>

#include "gui/local_server.h"
#include "gui_test_support.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

// A socket file as a killed program leaves it: bound, never removed.
void LeaveSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

TEST(ListenAlone, TheNameGoesToTheHolderOfItsLock) {
    TestApplication();
    TempDir dir;
    const std::string path = dir.File("link");
    const QString name = QString::fromStdString(path);
    {
        // Another program between taking the lock and listening.
        ClaimResult other =
            FileClaim::Take(ServerNameLockPath(name).toStdString(), ClaimOpen::OpenOrCreate);
        ASSERT_TRUE(other.claim);
        QLocalServer server;
        EXPECT_FALSE(ListenAlone(server, name));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    LeaveSocket(path);
    {
        QLocalServer server;
        ASSERT_TRUE(ListenAlone(server, name)) << "a socket nobody holds is taken over";
        QLocalServer second;
        EXPECT_FALSE(ListenAlone(second, name));
        server.close();
        EXPECT_TRUE(ListenAlone(server, name)) << "listening again is not blocked by itself";
    }
    EXPECT_TRUE(dir.Entries().empty()) << "the socket and its lock go with the server";
}

}  // namespace
}  // namespace corvane::test
