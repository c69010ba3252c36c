#pragma once
// A fresh directory for one test, removed with everything in it at the end. It is also
// made the temporary directory of the pixel files while the object lives.

#include <string>
#include <vector>

namespace corvane::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Names of the entries in the directory, sorted.
    std::vector<std::string> Entries() const;

private:
    std::string path_;
    std::string oldTemp_;
    bool hadTemp_ = false;
};

// Writes `bytes` to `path`, replacing it.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

}  // namespace corvane::test
