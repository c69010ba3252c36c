#include "platform/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace corvane {

std::optional<InputFile> InputFile::Open(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    return InputFile(fd);
}

InputFile::InputFile(InputFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

InputFile::~InputFile() { Close(); }

void InputFile::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

namespace {

// Calls `once(done)` until `count` bytes have arrived, the file ends or an error other than
// an interrupted call stops it.
template <class ReadOnce>
std::size_t ReadFully(std::size_t count, ReadOnce once) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = once(done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

}  // namespace

std::size_t InputFile::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<char*>(buffer);
    return ReadFully(count, [&](std::size_t done) { return ::read(fd_, out + done, count - done); });
}

std::size_t InputFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
    auto* out = static_cast<char*>(buffer);
    return ReadFully(count, [&](std::size_t done) {
        return ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
    });
}

bool InputFile::Seek(std::uint64_t offset) {
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

std::uint64_t InputFile::Size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(st.st_size);
}

}  // namespace corvane
