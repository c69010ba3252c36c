#pragma once
// The observation header of the loaded image. Its 158-byte layout is also the file header
// of the HK and PC formats, so the offsets below are part of a file format.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace corvane {

// The record is packed to its file layout, so a numeric field may sit at an address its
// type would not choose (biasLevel always does). Read fields by value: copy one before
// binding a reference to it (std::min, test assertions, JSON). Keep the record itself
// 4-byte aligned (alignas(4) where it is declared) so the other fields are aligned.
#pragma pack(push, 1)
struct HeaderRecord {
    char formatTag[3];          // "HK" or "PC" in those files; zero after the other readers
    char observer[18];          // texts are NUL-terminated inside their width
    char object[18];
    char rightAscension[10];    // as written in the source
    char declination[10];
    char epoch[6];              // equinox, e.g. "%5.0lf"
    char temperature[6];        // detector temperature, formatted
    char quality[4];
    char comment[25];
    std::int32_t exposure;      // tenths of a second
    std::uint16_t filter;       // 1..5 = U, B, V, R, I in FITS files
    std::uint16_t preflash;
    float electronGain;         // electrons per DN of the stored values
    std::int32_t observationTime;  // seconds since 1970-01-01 00:00 UTC, mid-exposure; 0: none
    std::uint16_t originColumn;    // first detector column of the image
    std::uint16_t originRow;
    std::uint16_t detectorColumns; // unbinned detector pixels: width × binColumns
    std::uint16_t detectorRows;
    std::uint16_t binColumns;      // detector columns per image column
    std::uint16_t binRows;
    std::uint16_t systemGain;      // camera gain setting
    std::uint16_t reserved1;
    char detector[18];
    std::uint16_t observationType; // see ObservationTypeName
    std::uint16_t reserved2;
    float biasLevel;               // DN of the stored values
};
#pragma pack(pop)

static_assert(sizeof(HeaderRecord) == 158);
static_assert(offsetof(HeaderRecord, formatTag) == 0);
static_assert(offsetof(HeaderRecord, observer) == 3);
static_assert(offsetof(HeaderRecord, object) == 21);
static_assert(offsetof(HeaderRecord, rightAscension) == 39);
static_assert(offsetof(HeaderRecord, declination) == 49);
static_assert(offsetof(HeaderRecord, epoch) == 59);
static_assert(offsetof(HeaderRecord, temperature) == 65);
static_assert(offsetof(HeaderRecord, quality) == 71);
static_assert(offsetof(HeaderRecord, comment) == 75);
static_assert(offsetof(HeaderRecord, exposure) == 100);
static_assert(offsetof(HeaderRecord, filter) == 104);
static_assert(offsetof(HeaderRecord, preflash) == 106);
static_assert(offsetof(HeaderRecord, electronGain) == 108);
static_assert(offsetof(HeaderRecord, observationTime) == 112);
static_assert(offsetof(HeaderRecord, originColumn) == 116);
static_assert(offsetof(HeaderRecord, originRow) == 118);
static_assert(offsetof(HeaderRecord, detectorColumns) == 120);
static_assert(offsetof(HeaderRecord, detectorRows) == 122);
static_assert(offsetof(HeaderRecord, binColumns) == 124);
static_assert(offsetof(HeaderRecord, binRows) == 126);
static_assert(offsetof(HeaderRecord, systemGain) == 128);
static_assert(offsetof(HeaderRecord, reserved1) == 130);
static_assert(offsetof(HeaderRecord, detector) == 132);
static_assert(offsetof(HeaderRecord, observationType) == 150);
static_assert(offsetof(HeaderRecord, reserved2) == 152);
static_assert(offsetof(HeaderRecord, biasLevel) == 154);

// All 158 bytes zero.
inline void ClearHeader(HeaderRecord& header) { std::memset(&header, 0, sizeof header); }

// Copies at most `maxChars` characters of `text` into a text field, always NUL-terminated
// inside the field's width.
template <std::size_t N>
void SetHeaderText(char (&field)[N], std::string_view text, std::size_t maxChars = N - 1) {
    std::size_t n = text.size();
    if (n > maxChars) n = maxChars;
    if (n > N - 1) n = N - 1;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

// The text of a field up to its terminator (or its full width when it has none).
template <std::size_t N>
std::string_view HeaderText(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

// "DARK", "BIAS", "OBS", ... for the codes 1 to 10; "UNKNOWN" for any other.
std::string_view ObservationTypeName(int code);

}  // namespace corvane
