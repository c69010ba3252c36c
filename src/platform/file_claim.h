#pragma once
// A named file held under an advisory lock (flock) for as long as the object lives: the
// temporary pixel files and the lock beside the local server's socket. Whoever holds the
// lock owns the name: it is removed only by a holder of the lock, and a holder removes it
// before it lets go. So a file that can be locked belongs to nobody (its program ended
// without removing it) and may be taken over or removed.
//
// Opening and locking are two steps. Between them another program may lock the file,
// remove its name and let go (a start-up sweep finding a file just created); then the
// descriptor here is a nameless file. So after locking, the name is checked to still lead
// to the locked file, and when it does not, the open is tried again.

#include <optional>
#include <string>
#include <utility>

namespace corvane {

enum class ClaimOpen {
    CreateNew,     // only a file that did not exist (O_EXCL)
    OpenOrCreate,  // the file of that name, made when missing
    OpenExisting,  // only a file that exists
};

enum class ClaimError {
    None,
    Held,    // another open of the file holds its lock
    Exists,  // CreateNew: the name is taken
    Failed,  // anything else (missing, not a regular file, no permission, ...)
};

struct ClaimResult;

class FileClaim {
public:
    // Opens `path` read-write (mode 0600 when made, never through a symbolic link), takes
    // its lock without waiting and checks that the name still leads to it.
    static ClaimResult Take(const std::string& path, ClaimOpen how);

    FileClaim(FileClaim&& other) noexcept;
    FileClaim& operator=(FileClaim&& other) noexcept;
    FileClaim(const FileClaim&) = delete;
    FileClaim& operator=(const FileClaim&) = delete;
    // Removes the name, then lets go of the lock.
    ~FileClaim();

    int Descriptor() const { return fd_; }
    const std::string& Path() const { return path_; }

private:
    FileClaim(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    void Release();

    int fd_ = -1;
    std::string path_;
};

struct ClaimResult {
    std::optional<FileClaim> claim;
    ClaimError error = ClaimError::None;
    int errorCode = 0;  // errno of the failing call
};

}  // namespace corvane
