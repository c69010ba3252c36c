#include "lightcurve/list_file_reader.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "lightcurve/printed_scan.h"
#include "photometry/list_record_format.h"
#include "photometry/output_files.h"
#include "platform/append_format.h"
#include "platform/file_access.h"

namespace corvane {

namespace {

struct Line {
    std::string_view text;   // without its line end
    bool terminated = true;  // false for a last line without "\n"
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        const bool terminated = end != std::string_view::npos;
        std::string_view line = text.substr(from, terminated ? end - from : text.size() - from);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back({line, terminated});
        from = terminated ? end + 1 : text.size();
    }
    return lines;
}

// The one-line formats of a record, built once per reading.
struct RecordFormats {
    std::string object = std::string(kListObjectFormat) + kListTakenAt + "%s";
    std::string filter = CrLfLines(std::string(kListFilterFormat) + kListMjdFormat).at(0);
    std::string preflash = CrLfLines(std::string(kListPreflashFormat) + kListUnixTimeFormat).at(0);
    std::string gain = CrLfLines(std::string(kListGainFormat) + kListExposureFormat).at(0);
    std::string headings = CrLfLines(kListColumnHeadings).at(0);
    std::string asteroidRow = CrLfLines(kListAsteroidRowFormat).at(0);
    std::string starRow = CrLfLines(kListStarRowFormat).at(0);
    std::string boxSizes = CrLfLines(kListBoxSizesFormat).at(0);
    std::string rowExpected = "an object row (\"" + DescribeFormat(asteroidRow) + "\" or \"" +
                              DescribeFormat(starRow) + "\") or an empty line";
};

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool WholeIn(double v, double low, double high) {
    return v >= low && v <= high && v == std::floor(v);
}

enum class Outcome { Record, CutOff, Damaged };

// One record's reading, line by line from `next`.
class RecordReader {
public:
    RecordReader(const std::vector<Line>& lines, const RecordFormats& formats)
        : lines_(lines), f_(formats) {}

    Outcome Read(std::size_t start, ListRecord& r);
    std::size_t next = 0;  // the line after the record
    int damagedLine = 0;   // from 1
    std::string expected;

private:
    // False when the file ends before line `j`: the record is cut off.
    bool Have(std::size_t j) {
        if (j < lines_.size()) {
            return true;
        }
        outcome_ = Outcome::CutOff;
        return false;
    }
    // Line `j` is not what belongs there. On the file's unfinished last line that is a
    // record cut short, anywhere else damage.
    bool Fail(std::size_t j, std::string what) {
        if (j + 1 == lines_.size() && !lines_[j].terminated) {
            outcome_ = Outcome::CutOff;
        } else {
            outcome_ = Outcome::Damaged;
            damagedLine = static_cast<int>(j) + 1;
            expected = std::move(what);
        }
        return false;
    }
    bool Scan(std::size_t j, std::string_view format, PrintedValues& v) {
        v = {};
        if (!Have(j)) {
            return false;
        }
        if (ScanPrinted(lines_[j].text, format, v)) {
            return true;
        }
        if (format.empty()) {
            return Fail(j, "an empty line");
        }
        const bool literal = format.find('%') == std::string_view::npos;
        return Fail(j, Quoted(literal ? format : DescribeFormat(format)));
    }
    // The lines from `j` must be those the writer prints for the values read; the last
    // `optional` of them may be missing where the file ends.
    bool Reprinted(std::size_t j, std::string_view printed, std::size_t optional = 0) {
        const std::vector<std::string> expect = CrLfLines(printed);
        for (std::size_t k = 0; k < expect.size(); ++k) {
            if (j + k >= lines_.size() && k >= expect.size() - optional) {
                return true;
            }
            if (!Have(j + k)) {
                return false;
            }
            if (lines_[j + k].text != expect[k]) {
                return Fail(j + k, expect[k].empty() ? "an empty line" : Quoted(expect[k]));
            }
        }
        return true;
    }
    bool ReadHead(std::size_t start, ListRecord& r);
    bool ReadRow(std::size_t j, ListRecord& r);
    bool ReadTail(std::size_t j, ListRecord& r);

    const std::vector<Line>& lines_;
    const RecordFormats& f_;
    Outcome outcome_ = Outcome::Record;
};

bool RecordReader::ReadHead(std::size_t start, ListRecord& r) {
    r.image = lines_[start].text;
    PrintedValues object, filter, preflash, gain, v;
    if (!Scan(start + 1, "", v) || !Scan(start + 2, f_.object, object) ||
        !Scan(start + 3, f_.filter, filter) || !Scan(start + 4, f_.preflash, preflash) ||
        !Scan(start + 5, f_.gain, gain) || !Scan(start + 6, kListAsterisks, v) ||
        !Scan(start + 7, f_.headings, v)) {
        return false;
    }
    r.object = object.texts[0];
    r.object.erase(r.object.find_last_not_of(' ') + 1);
    const double time = preflash.numbers[1];
    const double tenths = std::round(gain.numbers[1] * 10);
    constexpr double kInt32Max = std::numeric_limits<std::int32_t>::max();
    constexpr double kInt32Min = std::numeric_limits<std::int32_t>::min();
    if (!WholeIn(filter.numbers[0], 0, 65535)) {
        return Fail(start + 3, "a filter code from 0 to 65535");
    }
    if (!WholeIn(preflash.numbers[0], 0, 65535) || !WholeIn(time, kInt32Min, kInt32Max)) {
        return Fail(start + 4, "a preflash from 0 to 65535 and a Unix time within 32 bits");
    }
    if (!std::isfinite(gain.numbers[0]) || !WholeIn(tenths, kInt32Min, kInt32Max)) {
        return Fail(start + 5, "a gain and an exposure of at most 214748364.7 s");
    }
    r.filter = static_cast<int>(filter.numbers[0]);
    r.preflash = static_cast<int>(preflash.numbers[0]);
    r.time = static_cast<std::int32_t>(time);
    r.gain = gain.numbers[0];
    r.exposure = gain.numbers[1];

    alignas(4) HeaderRecord header;
    ClearHeader(header);
    SetHeaderText(header.object, r.object);
    header.filter = static_cast<std::uint16_t>(r.filter);
    header.preflash = static_cast<std::uint16_t>(r.preflash);
    header.electronGain = static_cast<float>(r.gain);
    header.observationTime = r.time;
    header.exposure = static_cast<std::int32_t>(tenths);
    return Reprinted(start, ListRecordHead(r.image, header));
}

bool RecordReader::ReadRow(std::size_t j, ListRecord& r) {
    PrintedValues v;
    const bool first = !r.asteroid && r.stars.empty();
    const int lastStar = r.stars.empty() ? 0 : r.stars.back().star;
    ListRow row;
    std::size_t n = 0;
    if (first && ScanPrinted(lines_[j].text, f_.asteroidRow, v)) {
        row.star = 0;
    } else if (v = {}; ScanPrinted(lines_[j].text, f_.starRow, v) &&
                       WholeIn(v.numbers[0], lastStar + 1, kMaxStars)) {
        row.star = static_cast<int>(v.numbers[0]);
        n = 1;
    } else {
        return Fail(j, f_.rowExpected + (lastStar > 0 ? " (stars in increasing order)" : ""));
    }
    row.x = v.numbers[n];
    row.y = v.numbers[n + 1];
    row.fluxRate = v.numbers[n + 2];
    row.background = v.numbers[n + 3];
    row.sigma = v.numbers[n + 4];
    row.snr = v.numbers[n + 5];
    constexpr double kIntMax = std::numeric_limits<int>::max();
    if (!WholeIn(v.numbers[n + 6], -kIntMax, kIntMax) ||
        !WholeIn(v.numbers[n + 7], -kIntMax, kIntMax)) {
        return Fail(j, "npix and clip within 32 bits");
    }
    row.npix = static_cast<long>(v.numbers[n + 6]);
    row.clip = static_cast<long>(v.numbers[n + 7]);

    ObjectResult result;
    result.mean = row.background;
    result.sigma = row.sigma;
    result.fluxRate = row.fluxRate;
    result.snr = row.snr;
    result.npix = static_cast<int>(row.npix);
    result.clip = static_cast<int>(row.clip);
    const FloatPoint at{static_cast<float>(row.x), static_cast<float>(row.y)};
    if (!Reprinted(j, ListRecordRow(row.star == 0 ? -1 : row.star, at, result, 0))) {
        return false;
    }
    if (row.star == 0) {
        r.asteroid = row;
    } else {
        r.stars.push_back(row);
    }
    return true;
}

bool RecordReader::ReadTail(std::size_t j, ListRecord& r) {
    PrintedValues v;
    if (!Scan(j + 1, f_.boxSizes, v)) {
        return false;
    }
    for (double size : v.numbers) {
        if (!WholeIn(size, -99999, 99999)) {
            return Fail(j + 1, "aperture sizes of at most five digits");
        }
    }
    ListBoxSizes& b = r.boxes;
    int* sizes[] = {&b.asteroidA, &b.asteroidB, &b.asteroidTheta, &b.starA, &b.starB, &b.starTheta};
    for (std::size_t k = 0; k < 6; ++k) {
        *sizes[k] = static_cast<int>(v.numbers[k]);
    }
    std::string tail = kListRowsEnd;
    AppendFormat(tail, kListBoxSizesFormat, b.asteroidA, b.asteroidB, b.asteroidTheta, b.starA,
                 b.starB, b.starTheta);
    AppendFormat(tail, kListClosingFormat, kListAsterisks);
    // The two empty lines that close a record may be missing at the file's end.
    if (!Reprinted(j, tail, 2)) {
        return false;
    }
    next = j + CrLfLines(tail).size();
    return true;
}

Outcome RecordReader::Read(std::size_t start, ListRecord& r) {
    outcome_ = Outcome::Record;
    if (!ReadHead(start, r)) {
        return outcome_;
    }
    std::size_t j = start + 8;
    for (; Have(j) && !lines_[j].text.empty(); ++j) {
        if (!ReadRow(j, r)) {
            return outcome_;
        }
    }
    if (outcome_ == Outcome::Record) {
        ReadTail(j, r);
    }
    return outcome_;
}

}  // namespace

std::string ListFileProblem::Text() const {
    if (line == 0) {
        return file + ": " + what;
    }
    return file + ", line " + std::to_string(line) + ": " + what;
}

bool ReadListText(std::string_view text, const std::string& source, ListFileContents& out,
                  ListFileProblem& problem) {
    const std::vector<Line> lines = SplitLines(text);
    const RecordFormats formats;
    RecordReader reader(lines, formats);
    ListFileContents read;
    std::size_t start = 0;
    while (start < lines.size()) {
        // Empty lines after the last record end the file.
        std::size_t content = start;
        while (content < lines.size() && lines[content].text.empty()) {
            ++content;
        }
        if (content == lines.size()) {
            break;
        }
        ListRecord record;
        record.source = source;
        record.line = static_cast<int>(start) + 1;
        const Outcome outcome = reader.Read(start, record);
        if (outcome == Outcome::CutOff) {
            read.cutOff.push_back({source, record.line});
            break;
        }
        if (outcome == Outcome::Damaged) {
            problem = {source, reader.damagedLine, "expected " + reader.expected};
            return false;
        }
        read.records.push_back(std::move(record));
        start = reader.next;
    }
    for (ListRecord& r : read.records) {
        out.records.push_back(std::move(r));
    }
    out.cutOff.insert(out.cutOff.end(), read.cutOff.begin(), read.cutOff.end());
    return true;
}

bool ReadListFile(const std::string& path, ListFileContents& out, ListFileProblem& problem) {
    std::optional<InputFile> file = InputFile::Open(path);
    std::string text;
    if (file) {
        text.resize(file->Size());
        text.resize(file->Read(text.data(), text.size()));
    }
    if (!file || text.size() != file->Size()) {
        problem = {path, 0, "cannot be read"};
        return false;
    }
    return ReadListText(text, path, out, problem);
}

}  // namespace corvane
