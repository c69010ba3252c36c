#include "image/header_fields.h"

#include <cstdio>
#include <ctime>

namespace corvane {

namespace {

template <class... Args>
std::string Format(const char* format, Args... args) {
    char text[128];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

template <std::size_t N>
std::string Text(const char (&field)[N]) {
    return std::string(HeaderText(field));
}

}  // namespace

std::string UtcTimeText(std::int32_t secondsSince1970) {
    if (secondsSince1970 <= 0) {
        return {};
    }
    const std::time_t time = secondsSince1970;
    std::tm utc{};
    char text[64];
    if (gmtime_r(&time, &utc) == nullptr || asctime_r(&utc, text) == nullptr) {
        return {};
    }
    std::string line = text;
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    return line;
}

HeaderDialogFields HeaderDialogTexts(const HeaderRecord& header, const std::string& path) {
    HeaderDialogFields f;
    f.caption = "Corvane 32 - " + path;
    f.observer = Text(header.observer);
    f.object = Text(header.object);
    f.rightAscension = Text(header.rightAscension);
    f.declination = Text(header.declination);
    f.epoch = Text(header.epoch);
    f.temperature = Text(header.temperature);
    f.quality = Text(header.quality);
    f.comment = Text(header.comment);
    f.ut = UtcTimeText(header.observationTime);
    f.detector = Text(header.detector);
    // Tenths of a second shown in seconds; the 0.001 guards the rounding against the
    // binary form of the tenths.
    f.exposure = Format("%.1f", header.exposure * 0.1 + 0.001);
    f.binning = Format("%d  %d", header.binColumns, header.binRows);
    f.format = Format("%d  %d  %d  %d", header.originColumn, header.originRow,
                      header.detectorColumns, header.detectorRows);
    f.systemGain = Format("%u", static_cast<unsigned>(header.systemGain));
    f.filter = Format("%u", static_cast<unsigned>(header.filter));
    f.preflash = Format("%u", static_cast<unsigned>(header.preflash));
    f.electronGain = Format("%.2f", static_cast<double>(header.electronGain));
    f.biasLevel = Format("%.3f", static_cast<double>(header.biasLevel));
    f.observationType = std::string(ObservationTypeName(header.observationType));
    return f;
}

}  // namespace corvane
