#pragma once
// printf onto the end of a string.

#include <string>

namespace corvane {

// Appends `format` filled with the arguments to `out`, no length limit.
[[gnu::format(printf, 2, 3)]] void AppendFormat(std::string& out, const char* format, ...);

}  // namespace corvane
