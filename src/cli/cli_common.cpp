#include "cli/cli_common.h"

#include <cstdio>
#include <ctime>
#include <iostream>

#include "app/image_commands.h"
#include "platform/file_lookup.h"
#include "platform/utf8_text.h"

namespace corvane::cli {

void AddRawOptions(CLI::App& command, RawArguments& raw) {
    command.add_option("--raw", raw.geometry, "read the file as raw pixels: COLUMNS ROWS")
        ->expected(2);
    command.add_option("--header", raw.headerBytes, "raw: bytes before the first row");
    command.add_option("--skip", raw.skipRows, "raw: rows to skip after the header");
    command.add_option("--bzero", raw.bzero, "raw: offset added to every stored value");
    command.add_option("--bits", raw.bits, "raw: 8 or 16 bits per sample")
        ->check(CLI::IsMember({8, 16}));
    command.add_flag("--swap", raw.swap, "raw: exchange the two bytes of each sample");
}

bool LoadForCli(Program& program, ConsoleHost& host, const std::string& path,
                const RawArguments& raw) {
    if (raw.geometry.size() == 2) {
        program.shell.openAsRaw = true;
        RawDialogFields fields;
        fields.columns = std::to_string(raw.geometry[0]);
        fields.rows = std::to_string(raw.geometry[1]);
        fields.headerBytes = std::to_string(raw.headerBytes);
        fields.skipRows = std::to_string(raw.skipRows);
        fields.bzero = std::to_string(raw.bzero);
        fields.eightBit = raw.bits == 8;
        fields.swapBytes = raw.swap;
        host.rawFields = fields;
    }
    return LoadImage(program, host, AbsolutePath(path));
}

std::uint64_t PixelHash(const ImageRecord& image) {
    std::uint64_t hash = 14695981039346656037ULL;
    std::size_t n = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    for (std::size_t i = 0; i < n; ++i) {
        auto v = static_cast<std::uint16_t>(image.pixels[i]);
        for (std::uint8_t byte : {static_cast<std::uint8_t>(v & 0xFF),
                                  static_cast<std::uint8_t>(v >> 8)}) {
            hash ^= byte;
            hash *= 1099511628211ULL;
        }
    }
    return hash;
}

std::string IsoTime(std::int32_t secondsSince1970) {
    std::time_t t = secondsSince1970;
    std::tm utc{};
    gmtime_r(&t, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

namespace {

// Fields of the packed header record are copied before use: a reference to one may be
// misaligned.
template <class T>
T Copy(T value) {
    return value;
}

}  // namespace

nlohmann::json HeaderJson(const HeaderRecord& h) {
    nlohmann::json j;
    j["formatTag"] = Utf8Text(HeaderText(h.formatTag));
    j["observer"] = Utf8Text(HeaderText(h.observer));
    j["object"] = Utf8Text(HeaderText(h.object));
    j["rightAscension"] = Utf8Text(HeaderText(h.rightAscension));
    j["declination"] = Utf8Text(HeaderText(h.declination));
    j["epoch"] = Utf8Text(HeaderText(h.epoch));
    j["temperature"] = Utf8Text(HeaderText(h.temperature));
    j["quality"] = Utf8Text(HeaderText(h.quality));
    j["comment"] = Utf8Text(HeaderText(h.comment));
    j["exposure"] = Copy(h.exposure);
    j["filter"] = Copy(h.filter);
    j["preflash"] = Copy(h.preflash);
    j["electronGain"] = Copy(h.electronGain);
    j["observationTime"] = Copy(h.observationTime);
    j["observationTimeUtc"] = IsoTime(Copy(h.observationTime));
    j["originColumn"] = Copy(h.originColumn);
    j["originRow"] = Copy(h.originRow);
    j["detectorColumns"] = Copy(h.detectorColumns);
    j["detectorRows"] = Copy(h.detectorRows);
    j["binColumns"] = Copy(h.binColumns);
    j["binRows"] = Copy(h.binRows);
    j["systemGain"] = Copy(h.systemGain);
    j["reserved1"] = Copy(h.reserved1);
    j["detector"] = Utf8Text(HeaderText(h.detector));
    j["observationType"] = Copy(h.observationType);
    j["reserved2"] = Copy(h.reserved2);
    j["biasLevel"] = Copy(h.biasLevel);
    return j;
}

nlohmann::json ImageJson(const Program& program) {
    const ImageRecord& im = program.image;
    nlohmann::json j;
    j["path"] = Utf8Text(im.path);
    j["formatCode"] = im.formatCode;
    j["width"] = im.width;
    j["height"] = im.height;
    j["paddedWidth"] = im.paddedWidth;
    j["bzero"] = im.bzero;
    j["bitpix"] = im.bitpix;
    j["bytesPerPixel"] = im.bytesPerPixel;
    j["headerBlocks"] = im.headerBlocks;
    j["dialect"] = im.dialect;
    j["irafMax"] = im.irafMax;
    j["irafMin"] = im.irafMin;
    j["floatScale"] = im.floatScale;
    j["pedestal"] = im.pedestal;
    j["header"] = HeaderJson(program.header);
    j["roi"] = {{"xc", program.roi.xc}, {"yc", program.roi.yc}};

    std::size_t n = static_cast<std::size_t>(im.width) * static_cast<std::size_t>(im.height);
    int lo = 32767, hi = -32768;
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        int v = im.pixels[i];
        lo = v < lo ? v : lo;
        hi = v > hi ? v : hi;
        sum += v;
    }
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(PixelHash(im)));
    j["pixels"] = {{"min", lo}, {"max", hi}, {"sum", sum}, {"fnv1a64", hash}};
    return j;
}

namespace {

// Texts are made UTF-8 where they are put in; a byte that still is not becomes U+FFFD
// rather than an exception that would end the program.
template <class Json>
void Print(const Json& value) {
    std::cout << value.dump(2, ' ', false, Json::error_handler_t::replace) << std::endl;
}

}  // namespace

void PrintJson(const nlohmann::json& value) { Print(value); }

void PrintOrderedJson(const nlohmann::ordered_json& value) { Print(value); }

}  // namespace corvane::cli
