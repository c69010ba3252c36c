#include "platform/temp_pixel_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/file_names.h"

namespace corvane {

std::string TempPixelFile::Directory() {
    for (const char* name : {"temp", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "/tmp";
}

TempFileResult TempPixelFile::Create(std::size_t bytes) {
    TempFileResult result;
    result.directory = Directory();
    std::string dir = result.directory;
    if (dir.back() != '/') {
        dir += '/';
    }
    std::string path = dir + "~cor0000.tmp";

    int fd = -1;
    // Only an existing name moves on to the next number; any other failure ends here.
    for (;;) {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            break;
        }
        if (errno != EEXIST) {
            result.error = TempFileError::CreateFailed;
            result.errorCode = errno;
            return result;
        }
        std::optional<std::string> next = NextFileName(path);
        if (!next) {
            result.error = TempFileError::CreateFailed;
            result.errorCode = EEXIST;
            return result;
        }
        path = *next;
    }

    std::size_t size = bytes == 0 ? 1 : bytes;
    // Reserve the blocks now: a full disk must fail here, not as a fault while the
    // pixels are written through the mapping.
    int rc = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
    if (rc != 0) {
        ::close(fd);
        ::unlink(path.c_str());
        result.error = TempFileError::NoSpace;
        result.errorCode = rc;
        return result;
    }
    void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        result.errorCode = errno;
        ::close(fd);
        ::unlink(path.c_str());
        result.error = TempFileError::MapFailed;
        return result;
    }
    result.file = TempPixelFile(fd, data, size, std::move(path));
    return result;
}

TempPixelFile::TempPixelFile(TempPixelFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      path_(std::move(other.path_)) {
    other.path_.clear();
}

TempPixelFile& TempPixelFile::operator=(TempPixelFile&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

TempPixelFile::~TempPixelFile() { Release(); }

bool TempPixelFile::Write(std::size_t first, const std::int16_t* pixels, std::size_t count) {
    const std::size_t capacity = size_ / sizeof(std::int16_t);
    if (fd_ < 0 || first > capacity || count > capacity - first) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const char*>(pixels);
    const std::size_t total = count * sizeof(std::int16_t);
    std::size_t done = 0;
    while (done < total) {
        const ssize_t n = ::pwrite(fd_, bytes + done, total - done,
                                   static_cast<off_t>(first * sizeof(std::int16_t) + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void TempPixelFile::Release() {
    if (data_ != nullptr) {
        ::munmap(data_, size_);
        data_ = nullptr;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!path_.empty()) {
        ::unlink(path_.c_str());
        path_.clear();
    }
}

}  // namespace corvane
