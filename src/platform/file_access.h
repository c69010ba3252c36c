#pragma once
// Files as the readers need them: an open file with bounded reads. Image files are read,
// never mapped, so that a file changed or cut short by another program cannot fault a
// read of its pixels.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

// An open file, read-only, closed when the object goes.
class InputFile {
public:
    static std::optional<InputFile> Open(const std::string& path);

    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // Reads up to `count` bytes at the current position; returns how many arrived.
    std::size_t Read(void* buffer, std::size_t count);
    // Reads up to `count` bytes at `offset` without moving the position.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;
    bool Seek(std::uint64_t offset);
    std::uint64_t Size() const;
    int Descriptor() const { return fd_; }
    void Close();

private:
    explicit InputFile(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace corvane
