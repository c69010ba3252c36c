#include "lightcurve/printed_scan.h"

#include <charconv>

namespace corvane {

namespace {

// One conversion of a format: "%-17.17s", "%8.lf", "%5d", ...
struct Conversion {
    std::size_t length = 0;  // characters of the conversion in the format
    char kind = 0;           // 'd', 'f' or 's'
    int width = -1;          // -1: none
    int precision = 6;       // digits after the point of %f
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits at `i` as a number, `i` moved past them; `none` when there are none.
int ReadDigits(std::string_view format, std::size_t& i, int none) {
    if (i >= format.size() || !IsDigit(format[i])) {
        return none;
    }
    int value = 0;
    for (; i < format.size() && IsDigit(format[i]); ++i) {
        value = value * 10 + (format[i] - '0');
    }
    return value;
}

Conversion ReadConversion(std::string_view format, std::size_t at) {
    Conversion c;
    std::size_t i = at + 1;
    while (i < format.size() && format[i] == '-') {
        ++i;
    }
    c.width = ReadDigits(format, i, -1);
    if (i < format.size() && format[i] == '.') {
        ++i;
        c.precision = ReadDigits(format, i, 0);
    }
    while (i < format.size() && format[i] == 'l') {
        ++i;
    }
    if (i < format.size()) {
        c.kind = format[i] == 'f' ? 'f' : format[i] == 's' ? 's' : format[i] == 'd' ? 'd' : 0;
        ++i;
    }
    c.length = i - at;
    return c;
}

// A number at `at` after its padding blanks, with `decimals` digits after a point (none
// and no point for 0, or for -1: an integer); advances `at` past it. Digits beyond the
// decimals belong to the next number, as in "5.00123456.00".
bool TakeNumber(std::string_view line, std::size_t& at, int decimals, double& value) {
    while (at < line.size() && line[at] == ' ') {
        ++at;
    }
    const std::size_t start = at;
    if (at < line.size() && line[at] == '-') {
        ++at;
    }
    const std::size_t digits = at;
    while (at < line.size() && IsDigit(line[at])) {
        ++at;
    }
    if (at == digits) {
        return false;
    }
    if (decimals > 0) {
        if (at >= line.size() || line[at] != '.') {
            return false;
        }
        for (++at; decimals > 0; --decimals, ++at) {
            if (at >= line.size() || !IsDigit(line[at])) {
                return false;
            }
        }
    }
    auto [end, rc] = std::from_chars(line.data() + start, line.data() + at, value);
    return rc == std::errc() && end == line.data() + at;
}

}  // namespace

bool ScanPrinted(std::string_view line, std::string_view format, PrintedValues& values) {
    std::size_t at = 0;
    for (std::size_t f = 0; f < format.size();) {
        if (format[f] != '%') {
            if (at >= line.size() || line[at] != format[f]) {
                return false;
            }
            ++at;
            ++f;
            continue;
        }
        const Conversion c = ReadConversion(format, f);
        f += c.length;
        if (c.kind == 's') {
            const std::size_t n =
                c.width < 0 ? line.size() - at : static_cast<std::size_t>(c.width);
            if (line.size() - at < n) {
                return false;
            }
            values.texts.emplace_back(line.substr(at, n));
            at += n;
        } else if (c.kind == 'd' || c.kind == 'f') {
            double v = 0;
            if (!TakeNumber(line, at, c.kind == 'f' ? c.precision : 0, v)) {
                return false;
            }
            values.numbers.push_back(v);
        } else {
            return false;
        }
    }
    return at == line.size();
}

std::vector<std::string> CrLfLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string_view::npos;
         end = text.find("\r\n", from)) {
        lines.emplace_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

std::string DescribeFormat(std::string_view format) {
    std::string out;
    auto addBlank = [&out] {
        if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
    };
    for (std::size_t f = 0; f < format.size();) {
        const char ch = format[f];
        if (ch == '%') {
            const Conversion c = ReadConversion(format, f);
            f += c.length;
            addBlank();
            out += c.kind == 's' ? "<text>" : "<number>";
            addBlank();
        } else if (ch == ' ') {
            addBlank();
            ++f;
        } else if (ch == '\t') {
            out += "<tab>";
            ++f;
        } else {
            out += ch;
            ++f;
        }
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

}  // namespace corvane
