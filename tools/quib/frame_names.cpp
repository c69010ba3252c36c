#include "frame_names.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quib {

namespace {

constexpr int kMinDigits = 4;
constexpr std::string_view kExtension = ".fits";

// The number of `name` when it is a frame name of `prefix`, else 0.
int FrameNumber(std::string_view name, const std::string& prefix) {
    if (!name.starts_with(prefix) || !name.ends_with(kExtension)) {
        return 0;
    }
    const std::string_view digits =
        name.substr(prefix.size(), name.size() - prefix.size() - kExtension.size());
    if (digits.size() < kMinDigits || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    int number = 0;
    for (char c : digits) {
        number = number * 10 + (c - '0');
    }
    return number;
}

}  // namespace

bool ValidPrefix(const std::string& prefix) {
    return !prefix.empty() && prefix.front() != '.' && prefix.find('/') == std::string::npos;
}

std::string FrameName(const std::string& prefix, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%0*d", kMinDigits, number);
    return prefix + digits + std::string(kExtension);
}

int NextFrameNumber(const std::string& folder, const std::string& prefix) {
    int highest = 0;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        highest = std::max(highest, FrameNumber(it->path().filename().string(), prefix));
    }
    return highest + 1;
}

}  // namespace quib
