#include "platform/acquisition_process.h"

#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

namespace corvane {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string Join(std::string_view directory, std::string_view name) {
    if (directory.empty()) {
        directory = ".";
    }
    std::string path(directory);
    if (path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

}  // namespace

std::string CurrentUserName() {
    const uid_t uid = ::geteuid();
    // getpwuid_r with a buffer of the size the system suggests.
    long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr && found->pw_name[0] != '\0') {
        return found->pw_name;
    }
    char number[32];
    std::snprintf(number, sizeof number, "%lu", static_cast<unsigned long>(uid));
    return number;
}

int PeerProcessId(int socketDescriptor) {
#ifdef SO_PEERCRED
    struct ucred credentials {};
    socklen_t length = sizeof credentials;
    if (::getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
        length == sizeof credentials && credentials.pid > 0) {
        return static_cast<int>(credentials.pid);
    }
#else
    (void)socketDescriptor;
#endif
    return 0;
}

std::string FindProgram(std::string_view name, const std::string& besideDirectory,
                        std::string_view searchPath) {
    if (name.empty()) {
        return {};
    }
    if (!besideDirectory.empty()) {
        std::string candidate = Join(besideDirectory, name);
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos) {
            end = searchPath.size();
        }
        std::string candidate = Join(searchPath.substr(start, end - start), name);
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

std::optional<ProcessWatch> ProcessWatch::Open(int pid) {
    if (pid <= 0) {
        return std::nullopt;
    }
    // The system call directly: the C library's wrapper of this age is not declared for C++.
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (fd >= 0) {
        return ProcessWatch(pid, fd);
    }
    if (errno == ESRCH) {
        return std::nullopt;
    }
    // Without process descriptors the watch falls back to asking after the pid.
    if (::kill(pid, 0) != 0 && errno == ESRCH) {
        return std::nullopt;
    }
    return ProcessWatch(pid, -1);
}

ProcessWatch::ProcessWatch(ProcessWatch&& other) noexcept
    : pid_(other.pid_), fd_(std::exchange(other.fd_, -1)) {}

ProcessWatch& ProcessWatch::operator=(ProcessWatch&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        pid_ = other.pid_;
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

ProcessWatch::~ProcessWatch() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool ProcessWatch::Ended() const {
    if (fd_ >= 0) {
        struct pollfd entry {fd_, POLLIN, 0};
        return ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    }
    return ::kill(pid_, 0) != 0 && errno == ESRCH;
}

}  // namespace corvane
