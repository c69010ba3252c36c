#include "image/fits_header.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace corvane {

int TruncateToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return std::numeric_limits<int>::max();
    }
    if (value <= -2147483648.0) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

namespace {

constexpr std::size_t kBlockSize = 2880;

// bzero is added to 16-bit stored values and compared with display levels in 32-bit
// arithmetic; beyond this it could only overflow those sums.
constexpr int kBzeroLimit = 1 << 30;

// One header block prepared for searching: NUL bytes made blanks and the last byte a NUL,
// so the block is one string and a key is found anywhere in it, card boundaries or not.
class HeaderBlock {
public:
    bool ReadFrom(InputFile& file) {
        if (file.Read(text_, kBlockSize) < kBlockSize) {
            return false;
        }
        for (char& c : text_) {
            if (c == '\0') c = ' ';
        }
        text_[kBlockSize - 1] = '\0';
        return true;
    }

    // The first occurrence of `key`, or nullptr.
    const char* Find(const char* key) const { return std::strstr(text_, key); }
    bool Has(const char* key) const { return Find(key) != nullptr; }

    // The text from `offset` characters after `match` on; empty past the end of the block.
    const char* At(const char* match, std::size_t offset) const {
        std::size_t index = static_cast<std::size_t>(match - text_);
        std::size_t length = std::strlen(match);
        return offset <= length ? text_ + index + offset : text_ + kBlockSize - 1;
    }

    template <class T>
    std::optional<T> Scan(const char* key, const char* pattern, std::size_t offset = 10) const {
        const char* match = Find(key);
        if (match == nullptr) {
            return std::nullopt;
        }
        T value{};
        if (std::sscanf(At(match, offset), pattern, &value) != 1) {
            return std::nullopt;
        }
        return value;
    }

    // A text value: after any leading quotes, the text up to the next quote, at most
    // `maxChars` characters.
    std::optional<std::string> Text(const char* key, std::size_t maxChars,
                                    std::size_t offset = 10) const {
        const char* match = Find(key);
        if (match == nullptr) {
            return std::nullopt;
        }
        return TextAt(match, offset, maxChars);
    }

    std::string TextAt(const char* match, std::size_t offset, std::size_t maxChars) const {
        const char* p = At(match, offset);
        while (*p == '\'') ++p;
        const char* end = p;
        while (*end != '\0' && *end != '\'') ++end;
        std::size_t n = static_cast<std::size_t>(end - p);
        return std::string(p, n < maxChars ? n : maxChars);
    }

    // The number written in characters from … to (inclusive) after `match`, read "%d".
    std::optional<int> Slice(const char* match, std::size_t from, std::size_t to) const {
        std::size_t length = std::strlen(match);
        if (to >= length) {
            return std::nullopt;
        }
        char digits[8] = {};
        std::memcpy(digits, match + from, to - from + 1);
        int value = 0;
        if (std::sscanf(digits, "%d", &value) != 1) {
            return std::nullopt;
        }
        return value;
    }

private:
    char text_[kBlockSize];
};

struct Parse {
    const HeaderBlock& block;
    ReadTarget& target;
    bool timeSet = false;  // a row of the first block gave the observation time

    HeaderRecord& header() { return target.header; }
    ImageRecord& image() { return target.image; }

    void SetTime(std::optional<std::int32_t> seconds) {
        if (seconds) {
            header().observationTime = *seconds;
            timeSet = true;
        }
    }
};

// The low 16 bits: what a 16-bit field of the header record keeps of a number.
std::uint16_t Low16(std::int64_t value) { return static_cast<std::uint16_t>(value); }

// Seconds since 1970 of a UTC calendar reading, when it fits the 32-bit field.
std::optional<std::int32_t> UtcSeconds(int year, int month, int day, int hour, int minute,
                                       int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    std::time_t seconds = timegm(&t);
    if (seconds < std::numeric_limits<std::int32_t>::min() ||
        seconds > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(seconds);
}

int FullYear(int twoDigitYear) {
    return twoDigitYear < 70 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

// A temperature into its 6-byte field: "%5.1lf" above −100, else "%5.0lf", cut to 5.
void SetTemperature(HeaderRecord& header, double value) {
    char text[64];
    std::snprintf(text, sizeof text, value > -100 ? "%5.1lf" : "%5.0lf", value);
    SetHeaderText(header.temperature, text, 5);
}

void SetEpoch(HeaderRecord& header, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%5.0lf", value);
    SetHeaderText(header.epoch, text);
}

// --- rows shared by the first block and the continuation blocks ---

void GeometryRows(Parse& p) {
    HeaderRecord& h = p.header();
    if (p.image().dialect == 2) {
        if (auto v = p.block.Scan<int>("CRVAL1  =", "%i")) h.originColumn = Low16(*v);
        if (auto v = p.block.Scan<int>("CRVAL2  =", "%i")) h.originRow = Low16(*v);
    }
    if (auto v = p.block.Scan<int>("ORGCOL  =", "%i")) h.originColumn = Low16(*v);
    if (auto v = p.block.Scan<int>("ORGROW  =", "%i")) h.originRow = Low16(*v);
    if (auto v = p.block.Scan<int>("BINCOL  =", "%i")) h.binColumns = Low16(*v);
    if (auto v = p.block.Scan<int>("BINROW  =", "%i")) h.binRows = Low16(*v);
    if (auto v = p.block.Scan<float>("IRAF-MAX=", "%f")) p.image().irafMax = *v;
    if (auto v = p.block.Scan<float>("IRAF-MIN=", "%f")) p.image().irafMin = *v;
}

struct CodeRow {
    const char* key;
    std::uint16_t code;
};

void CodeRows(Parse& p, std::initializer_list<CodeRow> rows, std::uint16_t& field) {
    for (const CodeRow& row : rows) {
        if (p.block.Has(row.key)) field = row.code;
    }
}

void ObsTypeRows(Parse& p) {
    CodeRows(p,
             {{"OBS-TYPE= 'DARK", 1}, {"OBS-TYPE= 'BIAS", 2}, {"OBS-TYPE= 'OBS", 3},
              {"OBS-TYPE= 'AVEBIAS", 4}, {"OBS-TYPE= 'AVEFLAT", 5},
              {"OBS-TYPE= 'CALIBRATED", 6}, {"OBS-TYPE= 'FLAT", 7},
              {"OBS-TYPE= 'READOUT", 8}, {"OBS-TYPE= 'ERROR", 9}, {"OBS-TYPE= 'SCAN", 10}},
             p.header().observationType);
}

void HistoryGenTypeRows(Parse& p) {
    CodeRows(p,
             {{"HISTORY GEN TYPE       = 'BIAS", 2},
              {"HISTORY GEN TYPE       = 'FF", 7},
              {"HISTORY GEN TYPE       = 'FRAME", 3}},
             p.header().observationType);
}

void HistoryDetectorRows(Parse& p) {
    if (auto text = p.block.Text("HISTORY DET TEMP-MN    =", 10, 26)) {
        double v = 0;
        if (std::sscanf(text->c_str(), "%lf", &v) == 1) SetTemperature(p.header(), v);
    }
    if (auto text = p.block.Text("HISTORY DET EL/ADU     =", 10, 26)) {
        float v = 0;
        if (std::sscanf(text->c_str(), "%10f", &v) == 1) p.header().electronGain = v;
    }
}

void DetectorRow(Parse& p) {
    if (auto t = p.block.Text("DETECTOR=", 15)) SetHeaderText(p.header().detector, *t);
}
void QualityRow(Parse& p) {
    if (auto t = p.block.Text("QUALITY =", 3)) SetHeaderText(p.header().quality, *t);
}
void InstrumentRow(Parse& p) {
    if (auto t = p.block.Text("INSTRUME=", 15)) SetHeaderText(p.header().detector, *t);
}
void ObserverRow(Parse& p) {
    if (auto t = p.block.Text("OBSERVER=", 17)) SetHeaderText(p.header().observer, *t);
}
void CoordinateRows(Parse& p) {
    if (auto t = p.block.Text("RA      =", 9)) SetHeaderText(p.header().rightAscension, *t);
    if (auto t = p.block.Text("DEC     =", 9)) SetHeaderText(p.header().declination, *t);
    if (auto v = p.block.Scan<double>("EPOCH   =", "%lf")) SetEpoch(p.header(), *v);
    if (auto v = p.block.Scan<double>("EQUINOX =", "%lf")) SetEpoch(p.header(), *v);
}
void CcdTempRow(Parse& p) {
    if (auto v = p.block.Scan<double>("CCD-TEMP=", "%lf")) SetTemperature(p.header(), *v);
}
void BiasRow(Parse& p) {
    if (auto v = p.block.Scan<float>("BIAS    =", "%10f")) p.header().biasLevel = *v;
}
void GainRow(Parse& p) {
    if (auto v = p.block.Scan<float>("GAIN    =", "%10f")) p.header().electronGain = *v;
}
void ExptimeRow(Parse& p) {
    if (auto v = p.block.Scan<double>("EXPTIME =", "%lf")) {
        p.header().exposure = TruncateToInt(*v * 10);
    }
}
void ObjectRow(Parse& p) {
    if (auto t = p.block.Text("OBJECT  =", 17)) SetHeaderText(p.header().object, *t);
}
void CommentRow(Parse& p) {
    if (const char* match = p.block.Find("COMMENT")) {
        const char* text = p.block.At(match, 8);
        SetHeaderText(p.header().comment, std::string_view(text, strnlen(text, 24)), 24);
    }
}
void JdayRow(Parse& p) {
    if (auto jd = p.block.Scan<double>("JDAY    =", "%14lf")) {
        p.SetTime(TruncateToInt((*jd - 2440587.5) * 86400));
    }
}

// A FILTER value: a number where one was read, else a single band letter. Writers pad
// string values to eight characters, so 'V       ' is the V band as much as 'V' is.
void FilterRow(Parse& p, const char* numberPattern) {
    if (auto v = p.block.Scan<int>("FILTER  =", numberPattern)) {
        p.header().filter = Low16(*v);
        return;
    }
    if (auto text = p.block.Text("FILTER  =", 80)) {
        std::string band = *text;
        while (!band.empty() && band.back() == ' ') band.pop_back();
        static constexpr const char* kBands[] = {"U", "B", "V", "R", "I"};
        for (std::uint16_t code = 1; code <= 5; ++code) {
            if (band == kBands[code - 1]) p.header().filter = code;
        }
    }
}

// --- observation date rows ---

void Dialect2Date(Parse& p) {
    auto seconds = p.block.Scan<double>("UT_START=", "%14lf");
    if (!seconds) return;
    const char* date = p.block.Find("DATE    = ");
    if (date == nullptr) return;
    std::optional<int> year, month, day;
    if (std::strlen(date) > 21 && date[21] == 'T') {
        year = p.block.Slice(date, 11, 14);
        month = p.block.Slice(date, 16, 17);
        day = p.block.Slice(date, 19, 20);
    } else {
        day = p.block.Slice(date, 21, 22);
        month = p.block.Slice(date, 24, 25);
        if (auto yy = p.block.Slice(date, 27, 28)) year = FullYear(*yy);
    }
    if (!year || !month || !day) return;
    auto midnight = UtcSeconds(*year, *month, *day, 0, 0, 0);
    if (!midnight) return;
    std::int64_t t = static_cast<std::int64_t>(*midnight) + TruncateToInt(*seconds);
    if (t >= std::numeric_limits<std::int32_t>::min() &&
        t <= std::numeric_limits<std::int32_t>::max()) {
        p.SetTime(static_cast<std::int32_t>(t));
    }
}

// The clock of a "UT      = '" or "TIME-OBS= '" card: hh:mm:ss at 11, 14, 17.
void ClockRows(Parse& p, int year, int month, int day) {
    for (const char* key : {"UT      = '", "TIME-OBS= '"}) {
        const char* clock = p.block.Find(key);
        if (clock == nullptr) continue;
        auto hour = p.block.Slice(clock, 11, 12);
        auto minute = p.block.Slice(clock, 14, 15);
        auto second = p.block.Slice(clock, 17, 18);
        if (hour && minute && second) {
            p.SetTime(UtcSeconds(year, month, day, *hour, *minute, *second));
        }
    }
}

void Dialect45Date(Parse& p) {
    const char* date = p.block.Find("DATE-OBS= '");
    if (date == nullptr) return;
    auto day = p.block.Slice(date, 11, 12);
    auto month = p.block.Slice(date, 14, 15);
    std::optional<int> year;
    if (std::strlen(date) > 19 && date[19] == '\'') {
        if (auto yy = p.block.Slice(date, 17, 18)) year = FullYear(*yy);
    } else {
        year = p.block.Slice(date, 17, 20);
    }
    if (day && month && year) ClockRows(p, *year, *month, *day);
}

void Dialect1Date(Parse& p) {
    const char* date = p.block.Find("DATE-OBS= '");
    if (date == nullptr) return;
    auto day = p.block.Slice(date, 11, 12);
    auto month = p.block.Slice(date, 14, 15);
    auto yy = p.block.Slice(date, 17, 18);
    auto hour = p.block.Slice(date, 20, 21);
    auto minute = p.block.Slice(date, 23, 24);
    auto second = p.block.Slice(date, 26, 27);
    if (day && month && yy && hour && minute && second) {
        p.SetTime(UtcSeconds(FullYear(*yy), *month, *day, *hour, *minute, *second));
    }
}

bool IsDigits(const char* text, std::size_t from, std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

// The standard form 'YYYY-MM-DDThh:mm:ss[.fff]' or 'YYYY-MM-DD', read only when nothing
// else gave the file a time. A date without a clock takes it from UT or TIME-OBS, and
// is midnight without them.
void StandardDateObs(Parse& p) {
    const char* date = p.block.Find("DATE-OBS= '");
    if (date == nullptr) return;
    std::size_t length = std::strlen(date);
    if (length < 22 || !IsDigits(date, 11, 4) || date[15] != '-' || !IsDigits(date, 16, 2) ||
        date[18] != '-' || !IsDigits(date, 19, 2)) {
        return;
    }
    int year = *p.block.Slice(date, 11, 14);
    int month = *p.block.Slice(date, 16, 17);
    int day = *p.block.Slice(date, 19, 20);
    if (month < 1 || month > 12 || day < 1 || day > 31) return;
    if (date[21] == '\'') {
        p.SetTime(UtcSeconds(year, month, day, 0, 0, 0));
        ClockRows(p, year, month, day);
        return;
    }
    if (length < 30 || date[21] != 'T' || !IsDigits(date, 22, 2) || date[24] != ':' ||
        !IsDigits(date, 25, 2) || date[27] != ':' || !IsDigits(date, 28, 2)) {
        return;
    }
    int hour = *p.block.Slice(date, 22, 23);
    int minute = *p.block.Slice(date, 25, 26);
    int second = *p.block.Slice(date, 28, 29);  // fractions of a second are dropped
    if (hour > 23 || minute > 59 || second > 60) return;
    p.SetTime(UtcSeconds(year, month, day, hour, minute, second));
}

int DecideDialect(const HeaderBlock& block) {
    int dialect = 0;
    if (block.Has("KVR FITS")) dialect = 3;
    if (block.Has("ORIGIN  = 'OATo, Torino Italy'")) dialect = 1;
    if (block.Has("ORIGIN  = 'DSAZ    '")) dialect = 2;
    if (block.Has("OBSERVAT= 'MSO'")) dialect = 7;
    if (block.Has("OBSERVAT= 'DSAZ    ")) dialect = 5;
    if (block.Has("ORIGIN  = 'EOCA-PMIS'")) dialect = 4;
    if (block.Has("ORIGIN  = 'ESO-LA SILLA'") && block.Has("TELESCOP= 'Dutch 91cm'")) {
        dialect = 6;
    }
    return dialect;
}

void FirstBlockRows(Parse& p) {
    HeaderRecord& h = p.header();
    ImageRecord& image = p.image();
    const HeaderBlock& b = p.block;

    if (auto v = b.Scan<float>("BZERO   =", "%f")) {
        int bzero = TruncateToInt(*v);
        image.bzero = bzero > kBzeroLimit ? kBzeroLimit : bzero < -kBzeroLimit ? -kBzeroLimit
                                                                                : bzero;
    }
    image.dialect = DecideDialect(b);
    GeometryRows(p);
    InstrumentRow(p);
    if (auto t = b.Text("INTRUMEN=", 15)) SetHeaderText(h.detector, *t);
    ObserverRow(p);
    DetectorRow(p);
    QualityRow(p);
    CodeRows(p, {{"IMAGETYP= 'ZERO", 2}, {"IMAGETYP= 'OBJECT", 3}, {"IMAGETYP= 'FLAT", 7}},
             h.observationType);
    ObsTypeRows(p);
    HistoryGenTypeRows(p);
    CodeRows(p, {{"IMAGETYP= 'zero", 2}, {"IMAGETYP= 'flat", 7}, {"IMAGETYP= 'object", 3}},
             h.observationType);
    HistoryDetectorRows(p);
    CoordinateRows(p);

    switch (image.dialect) {
        case 2: Dialect2Date(p); break;
        case 4:
        case 5: Dialect45Date(p); break;
        case 1: Dialect1Date(p); break;
        default: break;
    }
    CcdTempRow(p);
    FilterRow(p, "%4i");
    BiasRow(p);
    if (auto v = b.Scan<float>("ELECGAIN=", "%10f")) h.electronGain = *v;
    GainRow(p);
    if (image.dialect == 6) {
        if (auto mjd = b.Scan<double>("MJD-OBS =", "%lf")) {
            p.SetTime(TruncateToInt((*mjd - 40587) * 86400 + 0.4));
        }
    }
    if (image.dialect == 7) {
        if (auto mjd = b.Scan<double>("MJD     =", "%lf")) {
            p.SetTime(TruncateToInt((*mjd - 40587) * 86400 + 0.4));
        }
    }
    JdayRow(p);
    ExptimeRow(p);
    if (auto v = b.Scan<int>("ITIME   =", "%10i")) {
        std::int64_t tenths = static_cast<std::int64_t>(*v) * 10;
        h.exposure = TruncateToInt(static_cast<double>(tenths));
    }
    CommentRow(p);
    ObjectRow(p);
    if (auto t = b.Text("TARGET  =", 17)) SetHeaderText(h.object, *t);
    CodeRows(p, {{"JohnsonU", 1}, {"JohnsonB", 2}, {"JohnsonV", 3}, {"JohnsonR", 4}}, h.filter);
}

void ContinuationBlockRows(Parse& p) {
    HeaderRecord& h = p.header();
    const HeaderBlock& b = p.block;

    GeometryRows(p);
    if (auto v = b.Scan<float>("CCDMEAN =", "%f")) h.biasLevel = *v;
    if (auto v = b.Scan<double>("CCDTEMP =", "%lf")) SetTemperature(h, *v);
    if (auto v = b.Scan<float>("CCDGAIN =", "%f", 16)) {
        h.electronGain = *v;
        h.systemGain = Low16(TruncateToInt(*v));
    }
    if (auto v = b.Scan<float>("CCDSENS =", "%f", 16)) h.electronGain = *v;
    if (auto v = b.Scan<int>("INSFLNUM=", "%i")) h.filter = Low16(*v);
    if (auto v = b.Scan<int>("INSFLID = 'FILT-", "%i", 16)) h.filter = Low16(*v);
    CodeRows(p, {{"Johnson U", 1}, {"Johnson B", 2}, {"Johnson V", 3}, {"Johnson R", 4}},
             h.filter);
    if (b.Has("IMAGETYP= 'dark")) h.observationType = h.exposure == 0 ? 2 : 1;
    CodeRows(p,
             {{"IMAGETYP= 'flat", 7}, {"IMAGETYP= 'science", 3}, {"IMAGETYP= 'zero", 2},
              {"IMAGETYP= 'flat", 7}, {"IMAGETYP= 'object", 3}},
             h.observationType);
    if (auto t = b.Text("CCDNAME =", 15)) SetHeaderText(h.detector, *t);

    CommentRow(p);
    JdayRow(p);
    FilterRow(p, "%i");
    CodeRows(p,
             {{"FILTER  = 'U'", 1}, {"FILTER  = 'B'", 2}, {"FILTER  = 'V'", 3},
              {"FILTER  = 'R'", 4}, {"FILTER  = 'I'", 5}},
             h.filter);
    BiasRow(p);
    GainRow(p);
    ExptimeRow(p);
    ObjectRow(p);
    InstrumentRow(p);
    ObserverRow(p);
    ObsTypeRows(p);
    HistoryGenTypeRows(p);
    HistoryDetectorRows(p);
    DetectorRow(p);
    QualityRow(p);
    CcdTempRow(p);
    CoordinateRows(p);
    Dialect1Date(p);
}

bool Refuse(ReadTarget& target, const char* caption, const std::string& text) {
    target.host.ShowMessage(caption, text);
    return false;
}

}  // namespace

bool ParseFitsHeader(InputFile& file, ReadTarget& target) {
    ImageRecord& image = target.image;
    HeaderRecord& header = target.header;
    image.dialect = 0;
    image.headerBlocks = 1;
    image.irafMax = 0;
    image.irafMin = 0;

    HeaderBlock block;
    if (!block.ReadFrom(file)) {
        return Refuse(target, "MSG 27", "Invalid FITS format");
    }

    auto naxis = block.Scan<int>("NAXIS   =", "%i");
    if (!block.Has("NAXIS   =")) {
        return Refuse(target, "MSG 27a", "Keyword NAXIS is missing");
    }
    int naxis3 = 0;
    if (block.Has("NAXIS3  =")) {
        naxis3 = block.Scan<int>("NAXIS3  =", "%i").value_or(0);
        if (naxis3 != 1) {
            return Refuse(target, "MSG 27b",
                          "Corvane can only display two-dimensional images (NAXIS3 != 1)");
        }
    }
    int axes = naxis.value_or(0);
    if (!(axes == 2 || (axes == 3 && naxis3 == 1))) {
        return Refuse(target, "MSG 27b", "NAXIS != 2");
    }

    ClearHeader(header);
    header.observationType = 3;
    header.originColumn = 0;
    header.originRow = 0;
    header.binColumns = 1;
    header.binRows = 1;
    header.observationTime = 0;

    if (!block.Has("NAXIS1  =")) {
        return Refuse(target, "MSG 28", "Keyword NAXIS1 is missing");
    }
    int naxis1 = block.Scan<int>("NAXIS1  =", "%i").value_or(0);
    if (!block.Has("NAXIS2  =")) {
        return Refuse(target, "MSG 28", "Keyword NAXIS2 is missing");
    }
    int naxis2 = block.Scan<int>("NAXIS2  =", "%i").value_or(0);
    if (!block.Has("BITPIX  =")) {
        return Refuse(target, "MSG 27a", "Keyword BITPIX is missing");
    }
    int bitpix = block.Scan<int>("BITPIX  =", "%i").value_or(0);
    if (bitpix != 8 && bitpix != 16 && bitpix != 32 && bitpix != -32) {
        char text[64];
        std::snprintf(text, sizeof text, "Can't display %i bit images", bitpix);
        return Refuse(target, "MSG 27b", text);
    }
    image.bitpix = bitpix;

    Parse first{block, target};
    FirstBlockRows(first);
    if (!first.timeSet) {
        StandardDateObs(first);
    }

    while (!block.Has("END          ")) {
        if (!block.ReadFrom(file)) {
            return Refuse(target, "MSG 119", "END not found");
        }
        ++image.headerBlocks;
        Parse next{block, target};
        ContinuationBlockRows(next);
    }

    if (image.dialect != 3 && header.observationTime != 0) {
        // The clock reading is the start of the exposure; store mid-exposure, whole seconds.
        header.observationTime = TruncateToInt(static_cast<double>(header.observationTime) +
                                               header.exposure / 20);
    }

    // The record holds 16-bit sizes; a larger or negative axis cannot be shown.
    if (naxis1 < 0 || naxis1 > 65535 || naxis2 < 0 || naxis2 > 65535) {
        return Refuse(target, "MSG 27b", "Image size out of range (NAXIS1 or NAXIS2)");
    }
    image.width = naxis1;
    image.height = naxis2;
    // Up to 65535 × 65535: the product is taken in 64 bits.
    header.detectorColumns = Low16(std::int64_t{naxis1} * header.binColumns);
    header.detectorRows = Low16(std::int64_t{naxis2} * header.binRows);
    if (image.width < 64 || image.height < 4) {
        return Refuse(target, "MSG 119", "Image is too small");
    }
    image.bytesPerPixel = bitpix == 8 ? 1 : bitpix == 16 ? 2 : 4;
    return true;
}

}  // namespace corvane
