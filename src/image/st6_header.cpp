// The text header of both ST-6 formats: 2048 bytes of lines in a fixed order.

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "image/reader_support.h"
#include "image/readers.h"

namespace corvane {

namespace {

constexpr std::size_t kSt6HeaderBytes = 2048;
// One read of the line reader takes at most this many characters; a longer line is
// consumed by two reads.
constexpr std::size_t kLineLimit = 79;

// The header read as a text file: a CR before a LF is not part of the text, and each read
// returns up to 79 characters, through the line feed if one comes within them.
class HeaderLines {
public:
    explicit HeaderLines(std::vector<char> bytes) : bytes_(std::move(bytes)) {}

    // The next read, without its line feed; empty once the header has run out.
    std::string Next() {
        std::string line;
        while (line.size() < kLineLimit && at_ < bytes_.size()) {
            char c = bytes_[at_];
            if (c == '\r' && at_ + 1 < bytes_.size() && bytes_[at_ + 1] == '\n') {
                ++at_;
                continue;
            }
            ++at_;
            if (c == '\n') {
                return line;
            }
            line += c;
        }
        return line;
    }

private:
    std::vector<char> bytes_;
    std::size_t at_ = 0;
};

// Characters `first` to `first` + `count` − 1 of a line, as far as the line reaches, and
// ending early at a NUL.
std::string Characters(const std::string& line, std::size_t first, std::size_t count) {
    if (first >= line.size()) {
        return {};
    }
    std::string part = line.substr(first, count);
    return part.substr(0, strnlen(part.c_str(), part.size()));
}

// The third blank-separated token of a line ("Exposure = 4000" gives "4000").
std::string ThirdToken(const std::string& line) {
    char a[kLineLimit + 1];
    char b[kLineLimit + 1];
    char c[kLineLimit + 1];
    if (std::sscanf(line.c_str(), "%79s %79s %79s", a, b, c) != 3) {
        return {};
    }
    return c;
}

// A two-digit field of a date or clock token ("01/15/99" at 0, 3, 6); 0 when absent.
int TwoDigits(const std::string& token, std::size_t position) {
    int value = 0;
    if (position < token.size()) {
        std::sscanf(token.c_str() + position, "%2d", &value);
    }
    return value;
}

// The Julian day number of a civil date; the Gregorian correction applies from
// 1582-10-15 on.
long JulianDayNumber(int month, int day, int year) {
    int y = 0;
    int m = 0;
    if (month > 2) {
        y = year;
        m = month + 1;
    } else {
        y = year - 1;
        m = month + 13;
    }
    long j = static_cast<long>(365.25 * y) + static_cast<long>(30.6001 * m) + day + 1720995;
    if (static_cast<long>(year) * 372 + month * 31 + day >= 588829) {  // from 1582-10-15 on
        long a = static_cast<long>(0.01 * y);
        j = j + 2 - a + static_cast<long>(0.25 * static_cast<double>(a));
    }
    return j;
}

}  // namespace

bool ReadSt6Header(ReadTarget& target) {
    ImageRecord& image = target.image;
    HeaderRecord& header = target.header;
    Host& host = target.host;

    std::optional<InputFile> file = InputFile::Open(image.path);
    if (!file) {
        host.ShowMessage("MSG 9", "Could not open file");
        return false;
    }
    std::vector<char> bytes(kSt6HeaderBytes);
    bytes.resize(file->Read(bytes.data(), bytes.size()));
    file->Close();
    HeaderLines lines(std::move(bytes));

    lines.Next();  // the format name, recognised by the loader
    if (Characters(lines.Next(), 2, 16) != "File_version = 3") {
        host.ShowMessage("MSG 9", "Format version not supported");
        return false;
    }

    int rows = 0;
    int columns = 0;
    int month = 0, day = 0, year = 0;
    int hour = 0, minute = 0, second = 0;
    for (int number = 3; number <= 24; ++number) {
        const std::string line = lines.Next();
        switch (number) {
            case 4: {  // hundredths of a second
                long hundredths = 0;
                if (std::sscanf(ThirdToken(line).c_str(), "%li", &hundredths) == 1) {
                    long tenths = hundredths / 10;
                    if (tenths > std::numeric_limits<std::int32_t>::max()) {
                        tenths = std::numeric_limits<std::int32_t>::max();
                    } else if (tenths < std::numeric_limits<std::int32_t>::min()) {
                        tenths = std::numeric_limits<std::int32_t>::min();
                    }
                    header.exposure = static_cast<std::int32_t>(tenths);
                }
                break;
            }
            case 8:
                SetHeaderText(header.comment, Characters(line, 9, 24));
                break;
            case 11:
                std::sscanf(ThirdToken(line).c_str(), "%i", &rows);
                break;
            case 12:
                std::sscanf(ThirdToken(line).c_str(), "%i", &columns);
                break;
            case 13: {  // MM/DD/YY
                const std::string date = ThirdToken(line);
                month = TwoDigits(date, 0);
                day = TwoDigits(date, 3);
                year = TwoDigits(date, 6);
                year += year < 80 ? 2000 : 1900;
                break;
            }
            case 14: {  // hh:mm:ss, UTC at the start of the exposure
                const std::string clock = ThirdToken(line);
                hour = TwoDigits(clock, 0);
                minute = TwoDigits(clock, 3);
                second = TwoDigits(clock, 6);
                break;
            }
            case 16: {
                float celsius = 0;
                if (std::sscanf(ThirdToken(line).c_str(), "%f", &celsius) == 1) {
                    char text[64];
                    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(celsius));
                    SetHeaderText(header.temperature, text, 5);
                }
                break;
            }
            case 20:
                SetHeaderText(header.observer, Characters(line, 13, 17));
                break;
            case 23: {
                unsigned pedestal = 0;
                if (std::sscanf(ThirdToken(line).c_str(), "%u", &pedestal) == 1) {
                    image.pedestal = pedestal;
                }
                break;
            }
            case 24: {
                float gain = 0;
                if (std::sscanf(ThirdToken(line).c_str(), "%f", &gain) == 1) {
                    header.electronGain = 2 * gain;
                }
                break;
            }
            default:  // read and skipped
                break;
        }
    }
    header.detectorRows = static_cast<std::uint16_t>(rows);
    header.detectorColumns = static_cast<std::uint16_t>(columns);

    SetHeaderText(header.detector, "ST-6");
    header.binColumns = 1;
    header.binRows = 1;
    header.filter = 1;
    header.reserved1 = 0;
    header.reserved2 = 0;
    header.biasLevel = 0.0F;
    header.originColumn = 0;
    header.originRow = 0;
    header.preflash = 0;
    header.systemGain = 2;
    header.observationType = 3;

    // 2440588 is the day number of 1970-01-01; the stored time is mid-exposure. A date the
    // 32-bit seconds cannot hold counts as no time.
    const long long time = (static_cast<long long>(JulianDayNumber(month, day, year)) - 2440588) *
                               86400 +
                           static_cast<long long>(hour) * 3600 + minute * 60 + second +
                           header.exposure / 20;
    header.observationTime = time >= std::numeric_limits<std::int32_t>::min() &&
                                     time <= std::numeric_limits<std::int32_t>::max()
                                 ? static_cast<std::int32_t>(time)
                                 : 0;

    image.width = columns;
    image.height = rows;
    return AcceptImageSize(target);
}

}  // namespace corvane
