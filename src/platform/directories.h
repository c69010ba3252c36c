#pragma once
// Directories as the output-file dialog shows them: the file system's roots, the
// subdirectories of one directory, and the current working directory.

#include <string>
#include <vector>

namespace corvane {

// The working directory of the process; empty when it cannot be read.
std::string CurrentDirectory();

// The roots a directory walk can start from: "/" here.
std::vector<std::string> FileSystemRoots();

// Names of the subdirectories of `directory`, sorted, without "." and without hidden ones
// (a leading "."); ".." first unless `directory` is a root.
std::vector<std::string> Subdirectories(const std::string& directory);

// `directory` joined with `name` and made canonical (no "..", no symbolic links); empty
// when the result is not a directory that can be entered.
std::string EnterDirectory(const std::string& directory, const std::string& name);

// `name` as an absolute path: taken as it is when it starts with "/", else under
// `directory`.
std::string PathUnder(const std::string& directory, const std::string& name);

}  // namespace corvane
