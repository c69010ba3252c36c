#pragma once
// The messages between the acquisition program and the main window, as bytes on a local
// socket. Every frame starts with the message number as a little-endian 32-bit word:
//
//   copy-data (74):  74, number, byte count, then byte count bytes of data
//   1034, 1035:      the message number alone
//
// The receiver answers every frame once it has taken it with a reply of two words: the
// message number answered and the result (1 for a copy-data message that was taken,
// 0 otherwise). Taken means handled, or accepted to be handled as soon as the main window
// is free (a copy-data of number 1 always is, so that its load follows the reply). A
// sender waits for the reply, as it would for a sent window message, and may send a frame
// again that got none: an image still waiting is not queued a second time.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr std::uint32_t kCopyDataMessage = 74;  // the platform's copy-data number
inline constexpr std::uint32_t kSessionEndedMessage = 1034;
inline constexpr std::uint32_t kCloseImageMessage = 1035;

// The copy-data number that asks for the load after the reply.
inline constexpr std::uint32_t kLoadAfterReply = 1;

// A copy-data frame announcing more data than this is not read, and the stream cannot go on.
// An image path is at most 255 characters; the margin leaves room for senders that pass a
// whole buffer.
inline constexpr std::uint32_t kMaxCopyDataBytes = 65536;

struct AcquisitionFrame {
    std::uint32_t message = 0;
    std::uint32_t number = 0;         // copy-data only
    std::vector<std::uint8_t> data;   // copy-data only: exactly byte count bytes
};

enum class FrameStatus {
    Incomplete,  // more bytes are needed; nothing was consumed
    Complete,    // `frame` holds the frame; `consumed` bytes belong to it
    Oversized,   // a copy-data frame announcing more than kMaxCopyDataBytes
    Broken,      // an unknown message: the stream cannot go on
};

struct DecodeResult {
    FrameStatus status = FrameStatus::Incomplete;
    std::size_t consumed = 0;
};

// Decodes the first frame of `bytes`.
DecodeResult DecodeFrame(std::span<const std::uint8_t> bytes, AcquisitionFrame& frame);

// The zero-terminated string at the start of a copy-data frame's data, or nothing when
// the data holds no terminator within its byte count.
std::optional<std::string> CopyDataString(std::span<const std::uint8_t> data);

// A copy-data frame carrying `text` and its terminator.
std::vector<std::uint8_t> EncodeCopyData(std::uint32_t number, std::string_view text);
// A copy-data frame carrying `data` exactly as given (no terminator added).
std::vector<std::uint8_t> EncodeCopyDataBytes(std::uint32_t number,
                                              std::span<const std::uint8_t> data);
// A frame of a message without data (1034, 1035).
std::vector<std::uint8_t> EncodeMessage(std::uint32_t message);

inline constexpr std::size_t kReplySize = 8;
std::vector<std::uint8_t> EncodeReply(std::uint32_t message, std::int32_t result);

struct AcquisitionReply {
    std::uint32_t message = 0;
    std::int32_t result = 0;
};
// The reply at the start of `bytes`, when kReplySize bytes have arrived.
std::optional<AcquisitionReply> DecodeReply(std::span<const std::uint8_t> bytes);

// Local server names, one pair per scope (the user name, so that two users of one
// machine never meet): the main window listens on "CorvaneW32Class-<scope>", the
// acquisition program holds "Quib-<scope>" while its window is open. Characters other
// than letters, digits, '.', '_' and '-' become '_', since the name is also a file name.
std::string MainWindowServerName(std::string_view scope);
std::string QuibServerName(std::string_view scope);

}  // namespace corvane
