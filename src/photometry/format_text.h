#pragma once
// printf-style formatting of the texts the photometry shows.

#include <cstdio>
#include <string>

namespace corvane {

template <class... Args>
std::string FormatText(const char* format, Args... args) {
    char text[160];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace corvane
