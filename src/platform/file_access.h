#pragma once
// Files as the readers need them: an open file with bounded reads, and whole-file views
// (read-only, or copy-on-write so that pixels can be changed without touching the file).

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

enum class ViewKind { ReadOnly, CopyOnWrite };

// A view of a whole file. A copy-on-write view may be written; the file never changes.
class FileView {
public:
    // Maps all `file.Size()` bytes. Fails for an empty file.
    static std::optional<FileView> Map(const InputFile& file, ViewKind kind);

    FileView(FileView&& other) noexcept;
    FileView& operator=(FileView&& other) noexcept;
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;
    ~FileView();

    std::byte* Data() const { return data_; }
    std::size_t Size() const { return size_; }

private:
    FileView(std::byte* data, std::size_t size) : data_(data), size_(size) {}
    std::byte* data_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace corvane
