#include "platform/file_claim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace corvane {

namespace {

enum class Lock { Taken, Held, NameMoved, Failed };

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `path` still names the file open on `fd`.
bool NameLeadsTo(int fd, const std::string& path) {
    struct stat byDescriptor {};
    struct stat byName {};
    return ::fstat(fd, &byDescriptor) == 0 && ::lstat(path.c_str(), &byName) == 0 &&
           SameFile(byDescriptor, byName);
}

Lock LockByName(int fd, const std::string& path) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? Lock::Held : Lock::Failed;
    }
    return NameLeadsTo(fd, path) ? Lock::Taken : Lock::NameMoved;
}

int OpenFlags(ClaimOpen how) {
    // Non-blocking, so that a FIFO of that name cannot hold the open; it is refused below.
    const int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    switch (how) {
        case ClaimOpen::CreateNew: return flags | O_CREAT | O_EXCL;
        case ClaimOpen::OpenOrCreate: return flags | O_CREAT;
        case ClaimOpen::OpenExisting: return flags;
    }
    return flags;
}

}  // namespace

ClaimResult FileClaim::Take(const std::string& path, ClaimOpen how) {
    ClaimResult result;
    for (;;) {
        const int fd = ::open(path.c_str(), OpenFlags(how), 0600);
        if (fd < 0) {
            result.errorCode = errno;
            result.error = errno == EEXIST ? ClaimError::Exists : ClaimError::Failed;
            return result;
        }
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            ::close(fd);
            result.error = ClaimError::Failed;
            result.errorCode = EINVAL;
            return result;
        }
        const Lock lock = LockByName(fd, path);
        if (lock == Lock::Taken) {
            result.claim = FileClaim(fd, path);
            return result;
        }
        const int lockError = errno;
        ::close(fd);
        if (lock == Lock::Failed) {
            result.error = ClaimError::Failed;
            result.errorCode = lockError;
            return result;
        }
        if (lock == Lock::Held && how != ClaimOpen::CreateNew) {
            result.error = ClaimError::Held;
            result.errorCode = EWOULDBLOCK;
            return result;
        }
        // The name moved on (or, for a file just made, a sweep holds it to remove it): the
        // descriptor was not the named file. Open again; a new file gets a new chance.
    }
}

FileClaim::FileClaim(FileClaim&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::exchange(other.path_, {})) {}

FileClaim& FileClaim::operator=(FileClaim&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::exchange(other.path_, {});
    }
    return *this;
}

FileClaim::~FileClaim() { Release(); }

void FileClaim::Release() {
    if (fd_ < 0) {
        return;
    }
    // While the lock is held nobody else removes the name; the check only spares a file
    // that someone put there by hand.
    if (NameLeadsTo(fd_, path_)) {
        ::unlink(path_.c_str());
    }
    ::close(fd_);
    fd_ = -1;
    path_.clear();
}

}  // namespace corvane
