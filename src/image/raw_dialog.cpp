#include "image/raw_dialog.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

#include "image/readers.h"

namespace corvane {

namespace {

// An edit field as a signed decimal number: blanks around it are allowed, nothing else.
std::optional<long long> FieldNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [last, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || last != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<long long> FieldInRange(std::string_view text, long long low, long long high) {
    std::optional<long long> value = FieldNumber(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return value;
}

std::string SignedText(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

}  // namespace

RawDialogFields RawDialogFieldsFrom(const ImageRecord& image, const RawOptions& raw) {
    RawDialogFields fields;
    fields.columns = raw.proposedColumns != 0 ? SignedText(raw.proposedColumns) : std::string();
    fields.rows = raw.proposedRows != 0 ? SignedText(raw.proposedRows) : std::string();
    fields.headerBytes = SignedText(raw.rawHeaderBytes);
    fields.skipRows = SignedText(raw.rawSkipRows);
    fields.bzero = SignedText(raw.rawBzero);
    fields.eightBit = image.bitpix != 16;
    fields.swapBytes = raw.rawSwapBytes;
    return fields;
}

bool AcceptRawDialog(const RawDialogFields& fields, ImageRecord& image, RawOptions& raw) {
    const std::optional<long long> columns = FieldInRange(fields.columns, 1, 20000);
    if (!columns) return false;
    const std::optional<long long> rows = FieldInRange(fields.rows, 1, 65383);
    if (!rows) return false;
    const std::optional<long long> headerBytes = FieldInRange(fields.headerBytes, 0, 150000000);
    if (!headerBytes) return false;
    // Rows to skip and rows together stay below 65383.
    const std::optional<long long> skipRows = FieldInRange(fields.skipRows, 0, 65382 - *rows);
    if (!skipRows) return false;
    const std::optional<long long> bzero = FieldInRange(fields.bzero, 0, 32768);
    if (!bzero) return false;

    image.width = static_cast<std::int32_t>(*columns);
    image.height = static_cast<std::int32_t>(*rows);
    raw.proposedColumns = image.width;
    raw.proposedRows = image.height;
    raw.rawHeaderBytes = static_cast<std::int32_t>(*headerBytes);
    raw.rawSkipRows = static_cast<std::int32_t>(*skipRows);
    raw.rawBzero = static_cast<std::int32_t>(*bzero);
    image.bzero = raw.rawBzero;
    raw.rawSwapBytes = fields.swapBytes;
    if (fields.eightBit) {
        image.bitpix = 8;
        raw.rawSwapBytes = false;
    } else {
        image.bitpix = 16;
    }
    return true;
}

bool RunRawOptionsDialog(ImageRecord& image, RawOptions& raw, Host& host) {
    RawDialogFields fields = RawDialogFieldsFrom(image, raw);
    return host.RunRawOptionsDialog(fields, [&image, &raw](const RawDialogFields& typed) {
        return AcceptRawDialog(typed, image, raw);
    });
}

}  // namespace corvane
