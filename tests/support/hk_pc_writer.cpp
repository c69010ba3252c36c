#include "support/hk_pc_writer.h"

#include <bit>
#include <cstring>

namespace corvane::test {

namespace {

static_assert(std::endian::native == std::endian::little,
              "the header record is written as it lies in memory, little-endian");

std::string HeaderBytes(const HeaderRecord& header) {
    std::string bytes(sizeof header, '\0');
    std::memcpy(bytes.data(), &header, sizeof header);
    return bytes;
}

void AppendPixels(std::string& bytes, const std::vector<std::int16_t>& pixels) {
    for (std::int16_t v : pixels) {
        auto u = static_cast<std::uint16_t>(v);
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
}

// Stored bytes a b c d for the number whose little-endian bytes are c d a b.
void ExchangeHalvesAt(std::string& bytes, std::size_t offset) {
    std::swap(bytes[offset], bytes[offset + 2]);
    std::swap(bytes[offset + 1], bytes[offset + 3]);
}

}  // namespace

HeaderRecord CameraHeader(bool hk, int detectorColumns, int detectorRows, int binColumns,
                          int binRows) {
    HeaderRecord h{};
    std::memcpy(h.formatTag, hk ? "HK" : "PC", 2);
    h.detectorColumns = static_cast<std::uint16_t>(detectorColumns);
    h.detectorRows = static_cast<std::uint16_t>(detectorRows);
    h.binColumns = static_cast<std::uint16_t>(binColumns);
    h.binRows = static_cast<std::uint16_t>(binRows);
    return h;
}

std::string HkBytes(const HeaderRecord& header, const std::vector<std::int16_t>& pixels) {
    std::string bytes = HeaderBytes(header);
    ExchangeHalvesAt(bytes, offsetof(HeaderRecord, exposure));
    ExchangeHalvesAt(bytes, offsetof(HeaderRecord, observationTime));
    ExchangeHalvesAt(bytes, offsetof(HeaderRecord, biasLevel));
    bytes.resize(1024, '\0');
    AppendPixels(bytes, pixels);
    return bytes;
}

std::string PcBytes(const HeaderRecord& header, const std::vector<std::int16_t>& pixels) {
    std::string bytes = HeaderBytes(header);
    AppendPixels(bytes, pixels);
    return bytes;
}

std::vector<std::int16_t> RampPixels(int width, int height) {
    std::vector<std::int16_t> pixels;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            pixels.push_back(static_cast<std::int16_t>(7 * row + column));
        }
    }
    return pixels;
}

}  // namespace corvane::test
