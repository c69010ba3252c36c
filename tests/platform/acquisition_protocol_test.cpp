// The frames between the acquisition program and the main window, byte by byte.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/acquisition_protocol.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(AcquisitionProtocol, CopyDataFrameLayout) {
    const Bytes frame = EncodeCopyData(1, "/d/m1.fit");
    const Bytes expected = {0x4A, 0, 0, 0,  1,   0,   0,   0,   10,  0,   0,   0,  '/',
                            'd',  '/', 'm', '1', '.', 'f', 'i', 't', 0};
    EXPECT_EQ(frame, expected);
    EXPECT_EQ(EncodeMessage(kSessionEndedMessage), (Bytes{0x0A, 0x04, 0, 0}));
    EXPECT_EQ(EncodeMessage(kCloseImageMessage), (Bytes{0x0B, 0x04, 0, 0}));
    EXPECT_EQ(EncodeReply(kCopyDataMessage, -2), (Bytes{0x4A, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(AcquisitionProtocol, EveryPrefixOfAFrameIsIncomplete) {
    const Bytes frame = EncodeCopyData(0x01020304, "a.fit");
    for (std::size_t size = 0; size < frame.size(); ++size) {
        AcquisitionFrame out;
        const DecodeResult result = DecodeFrame(std::span(frame.data(), size), out);
        EXPECT_EQ(result.status, FrameStatus::Incomplete) << size;
        EXPECT_EQ(result.consumed, 0u) << size;
    }
    AcquisitionFrame out;
    const DecodeResult result = DecodeFrame(frame, out);
    ASSERT_EQ(result.status, FrameStatus::Complete);
    EXPECT_EQ(result.consumed, frame.size());
    EXPECT_EQ(out.message, kCopyDataMessage);
    EXPECT_EQ(out.number, 0x01020304u);
    EXPECT_EQ(out.data, Text(std::string("a.fit", 6)));
}

TEST(AcquisitionProtocol, FramesFollowEachOtherInOneStream) {
    Bytes stream = EncodeMessage(kCloseImageMessage);
    const Bytes copy = EncodeCopyData(2, "x");
    stream.insert(stream.end(), copy.begin(), copy.end());
    const Bytes end = EncodeMessage(kSessionEndedMessage);
    stream.insert(stream.end(), end.begin(), end.end());

    std::vector<std::uint32_t> messages;
    std::span<const std::uint8_t> rest(stream);
    for (;;) {
        AcquisitionFrame frame;
        const DecodeResult result = DecodeFrame(rest, frame);
        if (result.status != FrameStatus::Complete) {
            EXPECT_EQ(result.status, FrameStatus::Incomplete);
            break;
        }
        messages.push_back(frame.message);
        rest = rest.subspan(result.consumed);
    }
    EXPECT_EQ(messages, (std::vector<std::uint32_t>{1035, 74, 1034}));
    EXPECT_TRUE(rest.empty());
}

TEST(AcquisitionProtocol, StreamsThatCannotGoOn) {
    struct Case {
        const char* name;
        Bytes bytes;
        FrameStatus status;
    };
    Bytes largest = EncodeCopyDataBytes(1, Bytes(kMaxCopyDataBytes, 'a'));
    Bytes oversized = {0x4A, 0, 0, 0, 1, 0, 0, 0};
    const std::uint32_t tooMany = kMaxCopyDataBytes + 1;
    for (int shift = 0; shift < 32; shift += 8) {
        oversized.push_back(static_cast<std::uint8_t>(tooMany >> shift));
    }
    const Case cases[] = {
        {"unknown message", EncodeMessage(1036), FrameStatus::Broken},
        {"user message 1025", EncodeMessage(1025), FrameStatus::Broken},
        {"byte count one past the limit", oversized, FrameStatus::Oversized},
        {"byte count at the limit", largest, FrameStatus::Complete},
    };
    for (const Case& c : cases) {
        AcquisitionFrame frame;
        EXPECT_EQ(DecodeFrame(c.bytes, frame).status, c.status) << c.name;
    }
}

TEST(AcquisitionProtocol, CopyDataStringNeedsItsTerminatorWithinTheCount) {
    struct Case {
        Bytes data;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {Bytes{'a', 'b', 0}, "ab"},
        {Bytes{'a', 'b'}, std::nullopt},
        {Bytes{}, std::nullopt},
        {Bytes{0}, ""},
        {Bytes{'a', 0, 'b', 0}, "a"},
        {Bytes{'a', 0, 'b'}, "a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CopyDataString(c.data), c.expected) << c.data.size();
    }
}

TEST(AcquisitionProtocol, ReplyNeedsEightBytes) {
    const Bytes reply = EncodeReply(kCloseImageMessage, 1);
    EXPECT_FALSE(DecodeReply(std::span(reply.data(), 7)));
    const std::optional<AcquisitionReply> decoded = DecodeReply(reply);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->message, kCloseImageMessage);
    EXPECT_EQ(decoded->result, 1);
}

TEST(AcquisitionProtocol, ServerNamesPerScope) {
    EXPECT_EQ(MainWindowServerName("alice"), "CorvaneW32Class-alice");
    EXPECT_EQ(QuibServerName("alice"), "Quib-alice");
    EXPECT_EQ(QuibServerName("a b/c.d_e-1"), "Quib-a_b_c.d_e-1");
}

}  // namespace
}  // namespace corvane
