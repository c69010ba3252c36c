#pragma once
// Adding one record at the end of an existing text file, all of it or none of it, and
// the small file operations of choosing such files.

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace corvane {

// An existing file held open for writing at its end. Every failure comes back with the
// system's error number, and whatever was added since Open is cut off again, so the file
// holds either its old bytes or its old bytes and the whole record.
class AppendFile {
public:
    // Opens `path` for writing without creating it: a file that has gone is a failure.
    static std::optional<AppendFile> Open(const std::string& path, int& error);

    AppendFile(AppendFile&& other) noexcept;
    AppendFile& operator=(AppendFile&& other) noexcept;
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    ~AppendFile();

    // Writes all of `bytes` at the end; a short or failed write undoes itself.
    bool Append(std::string_view bytes, int& error);
    // Forces what was written to the disk (a full disk may only show here) and closes the
    // file; on failure the file is cut back to its old length first.
    bool Finish(int& error);
    // Cuts the file back to the length it had at Open, closing it if it is still open;
    // also after a Finish that succeeded, when a companion file failed.
    void Undo();

private:
    AppendFile(int fd, long long oldLength, std::string path)
        : fd_(fd), oldLength_(oldLength), path_(std::move(path)) {}
    void Close();
    int fd_ = -1;
    long long oldLength_ = 0;  // bytes before this record
    std::string path_;         // for the cut-back once the descriptor is gone
};

// Creates `path` empty, or empties it when it exists. False when that is not possible.
bool CreateEmptyFile(const std::string& path);

// The system's text for an error number.
std::string ErrorText(int error);

}  // namespace corvane
