#pragma once
// A file that nobody sees half-written: its bytes are written without a name (or, where
// the file system cannot do that, under a hidden temporary name), flushed to the disk,
// and only then linked under its final name. An existing file is never replaced.

#include <functional>
#include <span>
#include <string>

namespace corvane {

struct NewFile {
    std::string path;   // where the bytes now are; empty on failure
    std::string error;  // why not, for a log
};

// Writes `bytes` into `folder` under the first name from `nextName` (called again each
// time the name offered is taken) that does not exist yet.
NewFile WriteNewFile(const std::string& folder, std::span<const char> bytes,
                     const std::function<std::string()>& nextName);

}  // namespace corvane
