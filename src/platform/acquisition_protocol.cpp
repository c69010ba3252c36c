#include "platform/acquisition_protocol.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr std::size_t kWord = 4;

std::uint32_t ReadWord(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

void AppendWord(std::vector<std::uint8_t>& out, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(word >> shift));
    }
}

std::string ScopedName(std::string_view base, std::string_view scope) {
    std::string name(base);
    name += '-';
    for (char c : scope) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        name += plain ? c : '_';
    }
    return name;
}

}  // namespace

DecodeResult DecodeFrame(std::span<const std::uint8_t> bytes, AcquisitionFrame& frame) {
    if (bytes.size() < kWord) {
        return {};
    }
    const std::uint32_t message = ReadWord(bytes, 0);
    if (message == kSessionEndedMessage || message == kCloseImageMessage) {
        frame = AcquisitionFrame{message, 0, {}};
        return {FrameStatus::Complete, kWord};
    }
    if (message != kCopyDataMessage) {
        return {FrameStatus::Broken, 0};
    }
    if (bytes.size() < 3 * kWord) {
        return {};
    }
    const std::uint32_t byteCount = ReadWord(bytes, 2 * kWord);
    if (byteCount > kMaxCopyDataBytes) {
        return {FrameStatus::Oversized, 0};
    }
    const std::size_t total = 3 * kWord + byteCount;
    if (bytes.size() < total) {
        return {};
    }
    frame.message = message;
    frame.number = ReadWord(bytes, kWord);
    frame.data.assign(bytes.begin() + 3 * kWord, bytes.begin() + static_cast<std::ptrdiff_t>(total));
    return {FrameStatus::Complete, total};
}

std::optional<std::string> CopyDataString(std::span<const std::uint8_t> data) {
    const auto terminator = std::find(data.begin(), data.end(), std::uint8_t{0});
    if (terminator == data.end()) {
        return std::nullopt;
    }
    return std::string(data.begin(), terminator);
}

std::vector<std::uint8_t> EncodeCopyDataBytes(std::uint32_t number,
                                              std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out;
    out.reserve(3 * kWord + data.size());
    AppendWord(out, kCopyDataMessage);
    AppendWord(out, number);
    AppendWord(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint8_t> EncodeCopyData(std::uint32_t number, std::string_view text) {
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return EncodeCopyDataBytes(number, data);
}

std::vector<std::uint8_t> EncodeMessage(std::uint32_t message) {
    std::vector<std::uint8_t> out;
    AppendWord(out, message);
    return out;
}

std::vector<std::uint8_t> EncodeReply(std::uint32_t message, std::int32_t result) {
    std::vector<std::uint8_t> out;
    AppendWord(out, message);
    AppendWord(out, static_cast<std::uint32_t>(result));
    return out;
}

std::optional<AcquisitionReply> DecodeReply(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kReplySize) {
        return std::nullopt;
    }
    return AcquisitionReply{ReadWord(bytes, 0), static_cast<std::int32_t>(ReadWord(bytes, kWord))};
}

std::string MainWindowServerName(std::string_view scope) {
    return ScopedName("CorvaneW32Class", scope);
}

std::string QuibServerName(std::string_view scope) { return ScopedName("Quib", scope); }

}  // namespace corvane
