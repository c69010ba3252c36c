#pragma once
// Finding a file by a name that may hold wildcards, as the loader's first step.

#include <optional>
#include <string>

namespace corvane {

struct LookupResult {
    bool found = false;
    int errorCode = 0;     // the system's error number when nothing was found
    std::string fileName;  // the name of the first match, without its directory
};

// Looks `pattern` up: a plain name or a pattern with * ? [ ]. The first match in sorted
// order counts. Directories do not match.
LookupResult FindFirstFile(const std::string& pattern);

// The absolute form of a path given relative to the current directory.
std::string AbsolutePath(const std::string& path);

// True when `path` names an existing regular file.
bool FileExists(const std::string& path);

}  // namespace corvane
