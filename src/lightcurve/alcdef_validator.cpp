#include "lightcurve/alcdef_validator.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace corvane {

namespace {

constexpr std::size_t kMaxLine = 255;
constexpr std::size_t kMaxKeyword = 14;
constexpr int kMaxComparisons = 10;

constexpr const char* kRequired[] = {"OBJECTNUMBER", "OBJECTNAME",  "SESSIONDATE", "SESSIONTIME",
                                     "CONTACTNAME",  "CONTACTINFO", "OBSERVERS",   "FILTER",
                                     "MAGBAND",      "DIFFERMAGS",  "LTCAPP",      "LTCTYPE",
                                     "REDUCEDMAGS",  "DELIMITER"};
constexpr const char* kFilters[] = {"B", "V", "R", "I", "SU", "SG", "SR", "SI", "SZ", "C"};
constexpr const char* kMagBands[] = {"B", "V", "R", "I", "SU", "SG", "SR", "SI", "SZ"};
// Keywords whose value is a signed metadata number; COMPMAGn as well.
constexpr const char* kNumbers[] = {"LTCDAYS", "UCORMAG", "PHASE", "PABL", "PABB"};

struct Entry {
    std::string keyword;
    std::string value;
    int line = 0;
};

using Found = std::optional<AlcdefViolation>;

Found Broken(std::string rule, std::string keyword, int line) {
    return AlcdefViolation{std::move(rule), std::move(keyword), line};
}

bool Digits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The text matches `pattern`, in which '9' stands for a digit and every other character
// for itself.
bool Shaped(std::string_view s, std::string_view pattern) {
    if (s.size() != pattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool ok = pattern[i] == '9' ? s[i] >= '0' && s[i] <= '9' : s[i] == pattern[i];
        if (!ok) {
            return false;
        }
    }
    return true;
}

int Number(std::string_view s) {
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

bool IsOneOf(std::string_view value, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return value == n; });
}

template <std::size_t N>
bool IsOneOf(std::string_view value, const char* const (&names)[N]) {
    return std::any_of(std::begin(names), std::end(names),
                       [&](const char* n) { return value == n; });
}

// "+0.5", "-0.006465", "+13.370": a sign, digits, optionally a point and digits.
bool MetadataNumber(std::string_view s) {
    if (s.size() < 2 || (s[0] != '+' && s[0] != '-')) {
        return false;
    }
    const std::size_t point = s.find('.');
    if (point == std::string_view::npos) {
        return Digits(s.substr(1));
    }
    return Digits(s.substr(1, point - 1)) && Digits(s.substr(point + 1));
}

bool NonZero(std::string_view s) {
    return MetadataNumber(s) && std::strtod(std::string(s).c_str(), nullptr) != 0;
}

// Digits, a point and exactly `decimals` digits, with a minus sign when `sign`.
bool DataNumber(std::string_view s, int decimals, bool sign) {
    if (sign && !s.empty() && s[0] == '-') {
        s.remove_prefix(1);
    }
    const std::size_t point = s.find('.');
    return point != std::string_view::npos && Digits(s.substr(0, point)) &&
           Digits(s.substr(point + 1)) &&
           s.size() - point - 1 == static_cast<std::size_t>(decimals);
}

bool ValidDate(std::string_view s) {
    if (!Shaped(s, "9999-99-99")) {
        return false;
    }
    const int year = Number(s.substr(0, 4)), month = Number(s.substr(5, 2)),
              day = Number(s.substr(8, 2));
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) {
        return false;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month != 2 || day <= 28 || leap;
}

bool ValidTime(std::string_view s, std::string_view pattern) {
    return Shaped(s, pattern) && Number(s.substr(0, 2)) <= 23 && Number(s.substr(3, 2)) <= 59 &&
           Number(s.substr(6, 2)) <= 59;
}

bool ValidDeclination(std::string_view s) {
    if (!Shaped(s.substr(1), "99:99:99.9") || (s[0] != '+' && s[0] != '-')) {
        return false;
    }
    const int degrees = Number(s.substr(1, 2)), minutes = Number(s.substr(4, 2)),
              seconds = Number(s.substr(7, 2));
    return minutes <= 59 && seconds <= 59 &&
           (degrees < 90 || (degrees == 90 && minutes == 0 && seconds == 0 && s[10] == '0'));
}

// Names separated by ';', none empty.
bool ObserverList(std::string_view s) {
    std::size_t from = 0;
    while (true) {
        const std::size_t end = s.find(';', from);
        const std::string_view name =
            s.substr(from, end == std::string_view::npos ? s.npos : end - from);
        if (name.find_first_not_of(' ') == std::string_view::npos) {
            return false;
        }
        if (end == std::string_view::npos) {
            return true;
        }
        from = end + 1;
    }
}

struct Block {
    std::vector<Entry> meta;
    std::vector<Entry> data;

    const Entry* Find(std::string_view keyword) const {
        for (const Entry& e : meta) {
            if (e.keyword == keyword) {
                return &e;
            }
        }
        return nullptr;
    }
    std::string Value(std::string_view keyword) const {
        const Entry* e = Find(keyword);
        return e ? e->value : std::string();
    }
};

std::string KeywordOf(std::string_view line) {
    return std::string(line.substr(0, std::min(line.find('='), line.size())));
}

// Lines, structure and the form of each line; fills `block`.
Found ReadLines(std::string_view text, Block& block) {
    std::vector<std::string_view> lines;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find('\n', from);
        std::string_view line = text.substr(from, end == text.npos ? text.npos : end - from);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        from = end == text.npos ? text.size() : end + 1;
    }
    enum class Part { Start, Meta, Data, End } part = Part::Start;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const int n = static_cast<int>(i) + 1;
        for (char c : line) {
            if (static_cast<unsigned char>(c) > 126 || (c < 32 && c != '\t')) {
                return Broken("ASCII only", KeywordOf(line), n);
            }
        }
        if (line.size() > kMaxLine) {
            return Broken("a line is at most 255 characters", KeywordOf(line), n);
        }
        switch (part) {
            case Part::Start:
                if (line != "STARTMETADATA") {
                    return Broken("a block starts with STARTMETADATA", "STARTMETADATA", n);
                }
                part = Part::Meta;
                continue;
            case Part::Meta:
                if (line == "ENDMETADATA") {
                    part = Part::Data;
                    continue;
                }
                if (KeywordOf(line) == "DATA") {
                    return Broken("ENDMETADATA closes the metadata", "ENDMETADATA", n);
                }
                break;
            case Part::Data:
                if (line == "ENDDATA") {
                    part = Part::End;
                    continue;
                }
                if (KeywordOf(line) != "DATA" || line.find('=') == line.npos) {
                    return Broken("only DATA lines between ENDMETADATA and ENDDATA",
                                  KeywordOf(line), n);
                }
                block.data.push_back({"DATA", std::string(line.substr(5)), n});
                continue;
            case Part::End:
                if (!line.empty()) {
                    return Broken("nothing follows ENDDATA in a block", KeywordOf(line), n);
                }
                continue;
        }
        const std::size_t eq = line.find('=');
        const std::string keyword = KeywordOf(line);
        if (eq == line.npos || keyword.empty() ||
            !std::all_of(keyword.begin(), keyword.end(),
                         [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); })) {
            return Broken("metadata lines are KEYWORD=value, the keyword in upper case", keyword,
                          n);
        }
        if (keyword.size() > kMaxKeyword) {
            return Broken("a keyword has at most 14 characters", keyword, n);
        }
        if (keyword != "COMMENT" && block.Find(keyword) != nullptr) {
            return Broken("a keyword is given once in a block", keyword, n);
        }
        block.meta.push_back({keyword, std::string(line.substr(eq + 1)), n});
    }
    if (part == Part::Start) {
        return Broken("a block starts with STARTMETADATA", "STARTMETADATA", 0);
    }
    if (part == Part::Meta) {
        return Broken("ENDMETADATA closes the metadata", "ENDMETADATA", 0);
    }
    if (part == Part::Data) {
        return Broken("ENDDATA closes the data", "ENDDATA", 0);
    }
    if (block.data.size() < 2) {
        return Broken("a block has at least two DATA lines", "DATA", 0);
    }
    return std::nullopt;
}

// The required keywords and the form of each value.
Found CheckValues(const Block& b) {
    for (const char* keyword : kRequired) {
        const Entry* e = b.Find(keyword);
        if (e == nullptr || e->value.empty()) {
            return Broken(std::string(keyword) + " is required", keyword, e ? e->line : 0);
        }
    }
    for (const Entry& e : b.meta) {
        const std::string& v = e.value;
        const std::string& k = e.keyword;
        const auto broken = [&](const char* rule) { return Broken(rule, k, e.line); };
        if (k == "OBJECTNUMBER" && !Digits(v)) {
            return broken("OBJECTNUMBER is an integer without sign");
        }
        if (k == "OBJECTNAME" && v.size() > 30) {
            return broken("OBJECTNAME has at most 30 characters");
        }
        if (k == "SESSIONDATE" && !ValidDate(v)) {
            return broken("SESSIONDATE is yyyy-mm-dd");
        }
        if (k == "SESSIONTIME" && !ValidTime(v, "99:99:99")) {
            return broken("SESSIONTIME is hh:mm:ss, 24 h UT");
        }
        if (k == "CONTACTNAME" && v.size() > 80) {
            return broken("CONTACTNAME has at most 80 characters");
        }
        if (k == "CONTACTINFO" && v.size() > 120) {
            return broken("CONTACTINFO has at most 120 characters");
        }
        if (k == "OBSERVERS" && !ObserverList(v)) {
            return broken("OBSERVERS are names separated by ;");
        }
        if (k == "FILTER" && !IsOneOf(v, kFilters)) {
            return broken("FILTER is one of B, V, R, I, SU, SG, SR, SI, SZ, C");
        }
        if (k == "MAGBAND" && !IsOneOf(v, kMagBands)) {
            return broken("MAGBAND is one of B, V, R, I, SU, SG, SR, SI, SZ");
        }
        if (k == "DELIMITER" && !IsOneOf(v, {"PIPE", "TAB"})) {
            return broken("DELIMITER is PIPE or TAB");
        }
        if ((k == "DIFFERMAGS" || k == "REVISEDDATA") && !IsOneOf(v, {"TRUE", "FALSE"})) {
            return broken("booleans are TRUE or FALSE");
        }
        if (k == "LTCAPP" && !IsOneOf(v, {"NONE", "AVERAGE", "POINT"})) {
            return broken("LTCAPP is NONE, AVERAGE or POINT");
        }
        if (k == "REDUCEDMAGS" && !IsOneOf(v, {"NONE", "AVERAGE", "POINT"})) {
            return broken("REDUCEDMAGS is NONE, AVERAGE or POINT");
        }
        if ((IsOneOf(k, kNumbers) || k.rfind("COMPMAG", 0) == 0) && !MetadataNumber(v)) {
            return broken("metadata numbers have a sign and a decimal point, no exponent");
        }
    }
    return std::nullopt;
}

// Rules between keywords.
Found CheckCrossRules(const Block& b) {
    const auto lineOf = [&](const char* keyword) {
        const Entry* e = b.Find(keyword);
        return e ? e->line : 0;
    };
    if (b.Value("OBJECTNUMBER") == "0" && b.Value("MPCDESIG").empty()) {
        return Broken("MPCDESIG is required when OBJECTNUMBER is 0", "MPCDESIG", 0);
    }
    if (b.Value("DIFFERMAGS") == "TRUE" && b.Value("STANDARD") != "NONE") {
        return Broken("DIFFERMAGS=TRUE requires STANDARD=NONE", "STANDARD", lineOf("STANDARD"));
    }
    const std::string ltcApp = b.Value("LTCAPP");
    if (ltcApp == "NONE" && b.Value("LTCTYPE") != "NONE") {
        return Broken("LTCAPP=NONE goes with LTCTYPE=NONE", "LTCTYPE", lineOf("LTCTYPE"));
    }
    if (ltcApp != "NONE" && b.Value("LTCTYPE") != "LIGHTTIME") {
        return Broken("LTCAPP=AVERAGE or POINT requires LTCTYPE=LIGHTTIME", "LTCTYPE",
                      lineOf("LTCTYPE"));
    }
    if (ltcApp != "NONE" && !NonZero(b.Value("LTCDAYS"))) {
        return Broken("LTCAPP=AVERAGE or POINT requires a non-zero LTCDAYS", "LTCDAYS",
                      lineOf("LTCDAYS"));
    }
    if (b.Value("REDUCEDMAGS") != "NONE" && !NonZero(b.Value("UCORMAG"))) {
        return Broken("REDUCEDMAGS=AVERAGE or POINT requires a non-zero UCORMAG", "UCORMAG",
                      lineOf("UCORMAG"));
    }
    return std::nullopt;
}

// COMPNAMEn, COMPRAn, COMPDECn, COMPMAGn: n from 1 to 10 without gaps, a name for each.
Found CheckComparisons(const Block& b) {
    int highest = 0;
    for (const Entry& e : b.meta) {
        for (const char* prefix : {"COMPNAME", "COMPRA", "COMPDEC", "COMPMAG"}) {
            const std::string_view k = e.keyword;
            const std::string_view p = prefix;
            if (k.rfind(p, 0) != 0 || !Digits(k.substr(p.size()))) {
                continue;
            }
            const std::string_view digits = k.substr(p.size());
            const int n = Number(digits);
            if (n < 1 || n > kMaxComparisons || digits[0] == '0') {
                return Broken("at most 10 comparison stars, numbered from 1", e.keyword, e.line);
            }
            highest = std::max(highest, n);
            const Entry* name = b.Find("COMPNAME" + std::string(digits));
            if (name == nullptr || name->value.empty()) {
                return Broken("COMPNAMEn is required for each comparison star given",
                              "COMPNAME" + std::string(digits), e.line);
            }
            if (p == "COMPNAME" && e.value.size() > 30) {
                return Broken("COMPNAMEn has at most 30 characters", e.keyword, e.line);
            }
            if (p == "COMPRA" && !ValidTime(e.value, "99:99:99.99")) {
                return Broken("COMPRAn is hh:mm:ss.ss", e.keyword, e.line);
            }
            if (p == "COMPDEC" && !ValidDeclination(e.value)) {
                return Broken("COMPDECn is +dd:mm:ss.s or -dd:mm:ss.s", e.keyword, e.line);
            }
        }
    }
    for (int n = 1; n < highest; ++n) {
        if (b.Find("COMPNAME" + std::to_string(n)) == nullptr) {
            return Broken("at most 10 comparison stars, numbered from 1",
                          "COMPNAME" + std::to_string(n), 0);
        }
    }
    return std::nullopt;
}

// DATA=JD|MAG|MAGERR[|AIRMASS] with the block's delimiter: JD with 6 decimals, MAG and
// MAGERR with 3, a minus sign only where negative, nothing empty but a trailing optional
// field.
Found CheckData(const Block& b) {
    const char delimiter = b.Value("DELIMITER") == "TAB" ? '\t' : '|';
    for (const Entry& e : b.data) {
        std::vector<std::string_view> fields;
        std::string_view rest = e.value;
        for (std::size_t at = rest.find(delimiter);; at = rest.find(delimiter)) {
            fields.push_back(rest.substr(0, at));
            if (at == rest.npos) {
                break;
            }
            rest.remove_prefix(at + 1);
        }
        const bool shape =
            (fields.size() == 3 || fields.size() == 4) && DataNumber(fields[0], 6, false) &&
            DataNumber(fields[1], 3, true) && DataNumber(fields[2], 3, false) &&
            (fields.size() == 3 || fields[3].empty() || DataNumber(fields[3], 3, false));
        if (!shape) {
            return Broken("DATA is JD|MAG|MAGERR: JD with 6 decimals, MAG and MAGERR with 3",
                          "DATA", e.line);
        }
    }
    return std::nullopt;
}

}  // namespace

std::string AlcdefViolation::Text() const {
    std::string text = rule + " (" + keyword;
    if (line > 0) {
        text += ", line " + std::to_string(line);
    }
    return text + ")";
}

std::optional<AlcdefViolation> ValidateAlcdefBlock(std::string_view text) {
    Block b;
    if (Found f = ReadLines(text, b)) {
        return f;
    }
    for (Found (*check)(const Block&) :
         {CheckValues, CheckCrossRules, CheckComparisons, CheckData}) {
        if (Found f = check(b)) {
            return f;
        }
    }
    return std::nullopt;
}

std::optional<AlcdefViolation> ValidateAlcdefBlocks(const std::vector<std::string>& blocks,
                                                    std::size_t& index) {
    std::vector<std::vector<std::string>> seen;
    for (index = 0; index < blocks.size(); ++index) {
        if (Found f = ValidateAlcdefBlock(blocks[index])) {
            return f;
        }
        Block b;
        ReadLines(blocks[index], b);
        std::vector<std::string> identity;
        for (const char* k : {"OBJECTNUMBER", "OBJECTNAME", "MPCDESIG", "CONTACTNAME",
                              "SESSIONDATE", "SESSIONTIME", "FILTER"}) {
            identity.push_back(b.Value(k));
        }
        if (std::find(seen.begin(), seen.end(), identity) != seen.end() &&
            b.Value("REVISEDDATA") != "TRUE") {
            const Entry* time = b.Find("SESSIONTIME");
            return Broken(
                "the same object, contact, SESSIONDATE, SESSIONTIME and FILTER twice "
                "needs REVISEDDATA=TRUE",
                "REVISEDDATA", time ? time->line : 0);
        }
        seen.push_back(identity);
    }
    return std::nullopt;
}

}  // namespace corvane
