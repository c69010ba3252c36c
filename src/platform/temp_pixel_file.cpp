#include "platform/temp_pixel_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/file_names.h"

namespace corvane {

namespace {

std::string InDirectory(std::string directory, const std::string& name) {
    if (directory.empty() || directory.back() != '/') {
        directory += '/';
    }
    return directory + name;
}

}  // namespace

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
    std::string path = InDirectory(result.directory, "~cor0000.tmp");

    std::optional<FileClaim> claim;
    // Only an existing name moves on to the next number; any other failure ends here.
    for (;;) {
        ClaimResult taken = FileClaim::Take(path, ClaimOpen::CreateNew);
        if (taken.claim) {
            claim = std::move(taken.claim);
            break;
        }
        if (taken.error != ClaimError::Exists) {
            result.error = TempFileError::CreateFailed;
            result.errorCode = taken.errorCode;
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

    // Leaving early drops the claim, which removes the half-made file.
    const int fd = claim->Descriptor();
    std::size_t size = bytes == 0 ? 1 : bytes;
    // Reserve the blocks now: a full disk must fail here, not as a fault while the
    // pixels are written through the mapping.
    int rc = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
    if (rc != 0) {
        result.error = TempFileError::NoSpace;
        result.errorCode = rc;
        return result;
    }
    void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        result.errorCode = errno;
        result.error = TempFileError::MapFailed;
        return result;
    }
    result.file = TempPixelFile(std::move(*claim), data, size);
    return result;
}

TempPixelFile::TempPixelFile(TempPixelFile&& other) noexcept
    : claim_(std::move(other.claim_)),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

TempPixelFile& TempPixelFile::operator=(TempPixelFile&& other) noexcept {
    if (this != &other) {
        Unmap();
        claim_ = std::move(other.claim_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

// The claim, a member, goes after the mapping: the name is removed, then the lock.
TempPixelFile::~TempPixelFile() { Unmap(); }

bool TempPixelFile::Write(std::size_t first, const std::int16_t* pixels, std::size_t count) {
    const int fd = claim_.Descriptor();
    const std::size_t capacity = size_ / sizeof(std::int16_t);
    if (fd < 0 || first > capacity || count > capacity - first) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const char*>(pixels);
    const std::size_t total = count * sizeof(std::int16_t);
    std::size_t done = 0;
    while (done < total) {
        const ssize_t n = ::pwrite(fd, bytes + done, total - done,
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

void TempPixelFile::Unmap() {
    if (data_ != nullptr) {
        ::munmap(data_, size_);
        data_ = nullptr;
        size_ = 0;
    }
}

int RemoveStaleTempPixelFiles(const std::string& directory) {
    DIR* listing = ::opendir(directory.c_str());
    if (listing == nullptr) {
        return 0;
    }
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(listing)) {
        if (::fnmatch("~cor*.tmp", entry->d_name, 0) == 0) {
            candidates.push_back(InDirectory(directory, entry->d_name));
        }
    }
    ::closedir(listing);
    int removed = 0;
    for (const std::string& path : candidates) {
        // A file nobody holds is claimed here, and the claim removes it as it goes.
        if (FileClaim::Take(path, ClaimOpen::OpenExisting).claim) {
            ++removed;
        }
    }
    return removed;
}

}  // namespace corvane
