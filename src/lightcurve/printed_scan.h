#pragma once
// Reading back a line that printf wrote, guided by the same format: the format is the
// definition of the line, so the reader needs no second description of it.

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct PrintedValues {
    std::vector<double> numbers;     // every %d, %ld, %f and %lf in order
    std::vector<std::string> texts;  // every %s in order
};

// Scans `line` (no line end) with `format` (one line of a format, no line end). Literal
// characters must match; a numeric conversion takes its padding blanks and a decimal
// number ('-', digits, and for %f a point and as many digits as its precision); "%-W.Ws"
// takes W characters and a bare "%s" the rest of the line. True when the whole line was taken.
// Widths and precisions are not checked here: the reader compares the line with the writer's own
// printing of the values.
bool ScanPrinted(std::string_view line, std::string_view format, PrintedValues& values);

// The lines of a text or format written with CR LF: split at each "\r\n", the text after
// the last one dropped, so "%s\r\n\r\n" gives "%s" and an empty line.
std::vector<std::string> CrLfLines(std::string_view text);

// A format as a reader would describe it: conversions as <number> or <text>, tabs as
// <tab>, runs of blanks as one, e.g. "Filter <number> <tab><tab> MJD <number>".
std::string DescribeFormat(std::string_view format);

}  // namespace corvane
