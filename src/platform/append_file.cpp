#include "platform/append_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace corvane {

std::optional<AppendFile> AppendFile::Open(const std::string& path, int& error) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = errno != 0 ? errno : EINVAL;
        ::close(fd);
        return std::nullopt;
    }
    off_t end = ::lseek(fd, 0, SEEK_END);
    if (end < 0) {
        error = errno;
        ::close(fd);
        return std::nullopt;
    }
    return AppendFile(fd, static_cast<long long>(end), path);
}

AppendFile::AppendFile(AppendFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      oldLength_(other.oldLength_),
      path_(std::move(other.path_)) {}

AppendFile& AppendFile::operator=(AppendFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        oldLength_ = other.oldLength_;
        path_ = std::move(other.path_);
    }
    return *this;
}

AppendFile::~AppendFile() { Close(); }

void AppendFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool AppendFile::Append(std::string_view bytes, int& error) {
    if (fd_ < 0) {
        error = EBADF;
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // A write that makes no progress without an error would loop for ever.
            error = n < 0 ? errno : EIO;
            Undo();
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool AppendFile::Finish(int& error) {
    if (fd_ < 0) {
        error = EBADF;
        return false;
    }
    if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
        // EINVAL/EROFS: the file lives where syncing is not offered; the writes stand.
        error = errno;
        Undo();
        return false;
    }
    int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0 && errno != EINTR) {
        // A late write error reported by close: the record may be partly on disk.
        error = errno;
        Undo();
        return false;
    }
    return true;
}

void AppendFile::Undo() {
    const auto length = static_cast<off_t>(oldLength_);
    if (fd_ >= 0) {
        while (::ftruncate(fd_, length) != 0 && errno == EINTR) {
        }
        Close();
        return;
    }
    while (::truncate(path_.c_str(), length) != 0 && errno == EINTR) {
    }
}

bool CreateEmptyFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    return ::close(fd) == 0;
}

std::string ErrorText(int error) { return std::strerror(error); }

}  // namespace corvane
