#include "support/kvr_writer.h"

#include <cstdio>

namespace corvane::test {

namespace {

std::string Card(const char* format, const char* key, const std::string& value) {
    char text[160];
    std::snprintf(text, sizeof text, format, key, value.c_str());
    std::string card = text;
    card.resize(80, ' ');
    return card;
}

// Integer right-aligned so that it ends in column 29, where "%4i" at 26 finds it.
std::string IntCard(const char* key, int value) {
    return Card("%-8s= %20s", key, std::to_string(value));
}
std::string NumberCard(const char* key, const std::string& value) {
    return Card("%-8s= %20s", key, value);
}
// Text from column 11, after the opening quote in column 10, padded to the field's width
// inside the quotes as a fixed-format writer does.
std::string TextCard(const char* key, const std::string& value, std::size_t width = 0) {
    std::string padded = value;
    if (padded.size() < width) padded.resize(width, ' ');
    return Card("%-8s= '%s'", key, padded);
}

}  // namespace

std::vector<std::int16_t> KvrPixels(const KvrFile& file) {
    if (!file.pixels.empty()) {
        return file.pixels;
    }
    std::vector<std::int16_t> pixels;
    for (int row = 0; row < file.naxis2; ++row) {
        for (int column = 0; column < file.naxis1; ++column) {
            pixels.push_back(static_cast<std::int16_t>(100 * row + column));
        }
    }
    return pixels;
}

std::string KvrHeaderBlock(const KvrFile& f) {
    std::vector<std::string> cards{
        Card("%s%s", "SIMPLE  =                    T /  KVR FITS V1.0", ""),
        IntCard("BITPIX", 16),
        IntCard("NAXIS", 2),
        IntCard("NAXIS1", f.naxis1),
        IntCard("NAXIS2", f.naxis2),
        IntCard("ORGCOL", f.originColumn),
        IntCard("ORGROW", f.originRow),
        IntCard("BINCOL", f.binColumns),
        IntCard("BINROW", f.binRows),
        IntCard("PREFLASH", f.preflash),
        NumberCard("ELECGAIN", f.electronGain),
        IntCard("SYSGAIN", f.systemGain),
        NumberCard("BIAS", f.biasLevel),
        IntCard("FILTER", f.filter),
        NumberCard("EXPTIME", f.exposure),
        f.mjd.empty() ? TextCard("MJD", "none") : NumberCard("MJD", f.mjd),
        NumberCard("EPOCH", f.epoch),
        TextCard("RA", f.rightAscension, 9),
        TextCard("DEC", f.declination, 9),
        TextCard("DATE-OBS", "1998-07-06"),
        TextCard("DETECTOR", f.detector, 15),
        TextCard("OBSERVER", f.observer, 17),
        TextCard("OBJECT", f.object, 17),
        TextCard("OBS-TYPE", f.observationType),
        TextCard("QUALITY", f.quality, 3),
        Card("%s %s", "COMMENT", f.comment),
        Card("%s%s", f.endCard.c_str(), ""),
    };
    for (const auto& [index, card] : f.cards) {
        cards[static_cast<std::size_t>(index)] = card;
        cards[static_cast<std::size_t>(index)].resize(80, ' ');
    }
    std::string block;
    for (const std::string& card : cards) {
        block += card;
    }
    block.resize(2880, ' ');
    return block;
}

std::string KvrFitsBytes(const KvrFile& file) {
    std::string bytes = KvrHeaderBlock(file);
    for (std::int16_t v : KvrPixels(file)) {
        auto u = static_cast<std::uint16_t>(v);
        bytes += static_cast<char>(u >> 8);
        bytes += static_cast<char>(u & 0xFF);
    }
    return bytes;
}

}  // namespace corvane::test
