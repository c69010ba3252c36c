#include "platform/file_names.h"

#include <cstdint>
#include <limits>

namespace corvane {

std::optional<std::string> NextFileName(std::string_view path) {
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view base = path.substr(0, dot);
    std::string_view extension = path.substr(dot);

    std::size_t digitsStart = base.size();
    while (digitsStart > 0 && base[digitsStart - 1] >= '0' && base[digitsStart - 1] <= '9') {
        --digitsStart;
    }
    std::string_view digits = base.substr(digitsStart);
    if (digits.empty()) {
        return std::nullopt;
    }
    // A sign or blank in front of the digits is part of the name, not of the number.
    std::int64_t number = 0;
    for (char c : digits) {
        number = number * 10 + (c - '0');
        if (number > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
    }
    if (number == std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    // "%ld" of the new number, with zeros in front up to the old digit count.
    std::string text = std::to_string(number + 1);
    if (text.size() < digits.size()) {
        text.insert(0, digits.size() - text.size(), '0');
    }
    std::string next(base.substr(0, digitsStart));
    next += text;
    next += extension;
    return next;
}

}  // namespace corvane
