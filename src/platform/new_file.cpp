#include "platform/new_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corvane {

namespace {

// A name offered that is taken this many times in a row means something else is wrong.
constexpr int kMaxTakenNames = 10000;

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool WriteAll(int fd, std::span<const char> bytes) {
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(done));
    }
    return true;
}

// The open file: nameless where the file system allows, else under `temporary`.
struct Unnamed {
    int fd = -1;
    std::string temporary;

    explicit Unnamed(const std::string& folder) {
        fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0) {
            return;
        }
        temporary = folder + "/.new-file-XXXXXX";
        fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd >= 0) {
            ::fchmod(fd, 0644);
        } else {
            temporary.clear();
        }
    }
    ~Unnamed() {
        if (fd >= 0) {
            ::close(fd);
        }
        if (!temporary.empty()) {
            ::unlink(temporary.c_str());
        }
    }
    Unnamed(const Unnamed&) = delete;
    Unnamed& operator=(const Unnamed&) = delete;

    // link() and linkat() fail on an existing name, so nothing is ever replaced.
    bool LinkAs(const std::string& path) const {
        if (!temporary.empty()) {
            return ::link(temporary.c_str(), path.c_str()) == 0;
        }
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
};

}  // namespace

NewFile WriteNewFile(const std::string& folder, std::span<const char> bytes,
                     const std::function<std::string()>& nextName) {
    Unnamed file(folder);
    if (file.fd < 0) {
        return {{}, SystemError("cannot create a file")};
    }
    if (!WriteAll(file.fd, bytes)) {
        return {{}, SystemError("cannot write")};
    }
    if (::fsync(file.fd) != 0) {
        return {{}, SystemError("cannot flush")};
    }
    for (int taken = 0; taken < kMaxTakenNames; ++taken) {
        const std::string path = folder + "/" + nextName();
        if (file.LinkAs(path)) {
            // The new name must survive a power cut as well as the bytes.
            const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (directory >= 0) {
                ::fsync(directory);
                ::close(directory);
            }
            return {path, {}};
        }
        if (errno != EEXIST) {
            return {{}, SystemError("cannot name the file")};
        }
    }
    return {{}, "no free name"};
}

}  // namespace corvane
