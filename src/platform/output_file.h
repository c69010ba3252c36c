#pragma once
// Writing a whole file at once: the bytes go out exactly as given, with no line-end
// translation.

#include <string>
#include <string_view>

namespace corvane {

// Creates or truncates `path` and writes `bytes` to it. False when the file could not be
// created, written in full or closed.
bool WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace corvane
