#include <gtest/gtest.h>

#include <cstdint>

#include "display/manual_levels.h"

namespace corvane {
namespace {

TEST(ManualLevels, OpensWithTheLimitsAsSignedDecimals) {
    const ManualLevelsFields f = ManualLevelsFieldsOf({-2147483647 - 1, 300});
    EXPECT_EQ(f.low, "-2147483648");
    EXPECT_EQ(f.high, "300");
}

TEST(ManualLevels, ParseSignedInteger) {
    struct Case {
        const char* text;
        bool valid;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},           {"500", true, 500},       {"-75", true, -75},
        {"+12", true, 12},        {"  42\t", true, 42},     {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},             {"2147483648", false, 0},
        {"-2147483649", false, 0}, {"", false, 0},          {"  ", false, 0},
        {"-", false, 0},          {"+-1", false, 0},        {"12a", false, 0},
        {"1.5", false, 0},        {"1 2", false, 0},        {"0x10", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t value = 777;
        EXPECT_EQ(ParseSignedInteger(c.text, value), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(value, c.valid ? c.value : 777) << '"' << c.text << '"';
    }
}

TEST(ManualLevels, LowIsTakenAtOnceEvenWhenMaxFails) {
    struct Case {
        const char* low;
        const char* high;
        bool ends;
        DisplayLevels after;
    };
    const Case cases[] = {
        {"500", "100", true, {500, 100}},  // no check relates the two
        {"400", "", false, {400, 300}},
        {"400", "x", false, {400, 300}},
        {"", "900", false, {0, 300}},      // an invalid Min takes nothing
        {"-10", "-10", true, {-10, -10}},
    };
    for (const Case& c : cases) {
        DisplayLevels levels;  // 0, 300
        EXPECT_EQ(ApplyManualLevels({c.low, c.high}, levels), c.ends) << c.low << "/" << c.high;
        EXPECT_EQ(levels, c.after) << c.low << "/" << c.high;
    }
}

}  // namespace
}  // namespace corvane
