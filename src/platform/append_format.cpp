#include "platform/append_format.h"

#include <cstdarg>
#include <cstdio>

namespace corvane {

void AppendFormat(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (n > 0) {
        std::size_t old = out.size();
        out.resize(old + static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data() + old, static_cast<std::size_t>(n) + 1, format, again);
        out.resize(old + static_cast<std::size_t>(n));
    }
    va_end(again);
}

}  // namespace corvane
