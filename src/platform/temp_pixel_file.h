#pragma once
// The temporary pixel file: a new file "~cor0000.tmp" in the temporary directory, the
// number raised while a file of that name exists, sized and mapped read-write. It is
// removed when the object goes, so nothing is left behind by a normal exit. While it
// lives it is held under its lock (FileClaim), which tells a living file from one left by
// a program that was killed.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_claim.h"

namespace corvane {

enum class TempFileError {
    None,
    CreateFailed,  // the directory cannot take a new file (missing, read-only, ...)
    NoSpace,       // the file could not be given its size: the disk is full
    MapFailed,
};

struct TempFileResult;

class TempPixelFile {
public:
    // The directory named by "temp", else by "TMPDIR", else /tmp.
    static std::string Directory();

    // Creates and maps a file of `bytes` bytes (at least 1), zero-filled.
    static TempFileResult Create(std::size_t bytes);

    TempPixelFile(TempPixelFile&& other) noexcept;
    TempPixelFile& operator=(TempPixelFile&& other) noexcept;
    TempPixelFile(const TempPixelFile&) = delete;
    TempPixelFile& operator=(const TempPixelFile&) = delete;
    ~TempPixelFile();

    std::int16_t* Pixels() const { return static_cast<std::int16_t*>(data_); }
    std::size_t Size() const { return size_; }
    const std::string& Path() const { return claim_.Path(); }

    // Writes `count` pixels from pixel `first` on through the file rather than the
    // mapping: the pages go straight into the page cache instead of faulting in one by
    // one, and the mapping sees them all the same. False when the file refuses the write
    // or the pixels do not fit.
    bool Write(std::size_t first, const std::int16_t* pixels, std::size_t count);

private:
    TempPixelFile(FileClaim claim, void* data, std::size_t size)
        : claim_(std::move(claim)), data_(data), size_(size) {}
    void Unmap();

    FileClaim claim_;
    void* data_ = nullptr;
    std::size_t size_ = 0;
};

// Removes the pixel files ("~cor*.tmp") in `directory` that no running program holds, and
// returns how many went. Files of other users, and anything that is not a plain file, stay.
int RemoveStaleTempPixelFiles(const std::string& directory);

struct TempFileResult {
    std::optional<TempPixelFile> file;
    TempFileError error = TempFileError::None;
    int errorCode = 0;      // errno of the failing call
    std::string directory;  // where creation was tried
};

}  // namespace corvane
