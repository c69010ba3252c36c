#include "platform/utf8_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace corvane::test {
namespace {

// Valid UTF-8 stays as it is; anything else is read as Latin-1. Either way a JSON writer,
// which throws on a malformed byte, must take the result.
TEST(Utf8Text, KeepsUtf8AndReadsEverythingElseAsLatin1) {
    struct Case {
        const char* bytes;
        const char* text;
    } cases[] = {
        {"M 67", "M 67"},
        {"Fr\xC3\xA9" "d\xC3\xA9ric", "Fr\xC3\xA9" "d\xC3\xA9ric"},
        {"\xE2\x82\xAC \xF0\x9F\x94\xAD", "\xE2\x82\xAC \xF0\x9F\x94\xAD"},
        {"Fr\xE9" "d\xE9ric", "Fr\xC3\xA9" "d\xC3\xA9ric"},
        {"\xC0\x80", "\xC3\x80\xC2\x80"},                  // overlong NUL
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},      // a surrogate
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // above U+10FFFF
        {"ab\xE2\x82", "ab\xC3\xA2\xC2\x82"},              // cut short at the end
        {"\xFF", "\xC3\xBF"},
    };
    for (const Case& c : cases) {
        const std::string text = Utf8Text(c.bytes);
        EXPECT_EQ(text, c.text) << c.bytes;
        EXPECT_TRUE(IsValidUtf8(text)) << c.bytes;
        EXPECT_NO_THROW((void)nlohmann::json(text).dump()) << c.bytes;
    }
}

}  // namespace
}  // namespace corvane::test
