#pragma once
// Names of numbered files: img009.fit is followed by img010.fit.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The name that follows a numbered file name: the run of digits at the end of the base
// (the text before the last ".") is read as a signed 32-bit number, increased by one and
// written back, zero-padded to its old length when it became shorter. No digits, or no
// ".", means there is no next name. A number past the 32-bit range has no next name either.
std::optional<std::string> NextFileName(std::string_view path);

}  // namespace corvane
