#include "platform/file_names.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(NextFileName, FollowsTheNumberBeforeTheExtension) {
    struct Case {
        const char* path;
        const char* next;  // nullptr: no next name
    } cases[] = {
        {"/data/img009.fit", "/data/img010.fit"},
        {"/data/img999.fit", "/data/img1000.fit"},
        {"m7.fts", "m8.fts"},
        {"/tmp/~cor0000.tmp", "/tmp/~cor0001.tmp"},
        {"/tmp/~cor0009.tmp", "/tmp/~cor0010.tmp"},
        {"/data/dark.fit", nullptr},
        {"/data/frame12", nullptr},            // no "." at all
        {"/data.2/frame.fit", nullptr},        // the digits of a directory do not count
        {"/data/a.b7.fit", "/data/a.b8.fit"},  // the last "." of the whole path
        {"/data/x-5.fit", "/data/x-6.fit"},    // a sign stays part of the name
        {"/data/n2147483647.fit", nullptr},    // the next number does not fit 32 bits
        {"/data/n00000000000000000001.fit", "/data/n00000000000000000002.fit"},
    };
    for (const Case& c : cases) {
        std::optional<std::string> next = NextFileName(c.path);
        if (c.next == nullptr) {
            EXPECT_FALSE(next.has_value()) << c.path;
        } else {
            ASSERT_TRUE(next.has_value()) << c.path;
            EXPECT_EQ(*next, c.next) << c.path;
        }
    }
}

}  // namespace
}  // namespace corvane
