#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "display/display_mapping.h"
#include "display/display_scaling.h"
#include "support/fake_host.h"
#include "support/memory_image.h"

namespace corvane {
namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

// 37 × 9 pixels (3 padding bytes a row) spread over the whole 16-bit range, with a
// cluster near zero so that narrow ranges see every branch of the mapping.
std::vector<std::int16_t> Speckle() {
    std::vector<std::int16_t> v(37 * 9);
    std::uint32_t state = 12345;
    for (std::size_t i = 0; i < v.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const auto wide = static_cast<std::int16_t>(state >> 16);
        const auto narrow = static_cast<std::int16_t>(static_cast<int>(state >> 20) % 1200 - 200);
        v[i] = (i % 3 == 0) ? wide : narrow;
    }
    return v;
}

// Rebuild, then overwrite every byte and refresh it pixel by pixel: the bytes must come
// back as the rebuild left them.
void ExpectRefreshAgrees(ImageRecord& image, const HeaderRecord& header,
                         const DisplayState& display, const char* what) {
    const std::vector<std::uint8_t> rebuilt = image.displayImage;
    for (int row = 0; row < image.height; ++row) {
        for (int col = 0; col < image.width; ++col) {
            image.displayImage[static_cast<std::size_t>(row * image.paddedWidth + col)] = 0xEE;
            ASSERT_TRUE(RefreshDisplayPixel(image, header, display, col, row));
        }
    }
    EXPECT_EQ(image.displayImage, rebuilt) << what;
}

TEST(RefreshDisplayPixel, AgreesWithALinearRebuild) {
    const DisplayLevels levelSets[] = {
        {0, 300}, {100, 100}, {500, 100}, {-2000, 60000}, {-200, 1000}, {kMin32, kMax32},
        {kMax32, kMin32}, {33000, 33600},
    };
    for (std::int32_t bzero : {0, 32768}) {
        for (const DisplayLevels& levels : levelSets) {
            for (std::int32_t mode : {kModeHistogram, kModeManual, kModeMinMax, kModeFshow}) {
                std::vector<std::int16_t> pixels = Speckle();
                ImageRecord image;
                test::AttachPixels(image, pixels, 37, 9, bzero);
                HeaderRecord header{};
                DisplayState display;
                display.mode = mode;
                display.levels = levels;
                test::FakeHost host;
                ScaleLinear(image, levels, host);
                ExpectRefreshAgrees(image, header, display, "linear");
            }
        }
    }
}

TEST(RefreshDisplayPixel, AgreesWithALogarithmicRebuild) {
    for (std::int32_t bzero : {0, 32768}) {
        for (float bias : {0.0f, 100.7f, -50.2f, 40000.0f}) {
            for (std::int32_t mode : {kModeLog, kModeLogTimes2, kModeLogTimes4}) {
                std::vector<std::int16_t> pixels = Speckle();
                ImageRecord image;
                test::AttachPixels(image, pixels, 37, 9, bzero);
                HeaderRecord header{};
                header.biasLevel = bias;
                DisplayState display;
                display.mode = mode;
                display.logMultiplier = LogMultiplierOf(mode);
                test::FakeHost host;
                ScaleLog(image, header, display, host);
                ExpectRefreshAgrees(image, header, display, "logarithmic");
            }
        }
    }
}

TEST(RefreshDisplayPixel, HiPassKeepsTheByteAndOutsideIsRefused) {
    std::vector<std::int16_t> pixels = Speckle();
    ImageRecord image;
    test::AttachPixels(image, pixels, 37, 9);
    std::fill(image.displayImage.begin(), image.displayImage.end(), std::uint8_t{0x55});
    HeaderRecord header{};
    DisplayState display;
    display.mode = kModeHiPass;
    EXPECT_TRUE(RefreshDisplayPixel(image, header, display, 3, 4));

    display.mode = kModeManual;
    for (auto [col, row] : {std::pair{-1, 0}, std::pair{37, 0}, std::pair{0, 9},
                            std::pair{0, -1}, std::pair{40, 8}}) {
        EXPECT_FALSE(RefreshDisplayPixel(image, header, display, col, row)) << col << "," << row;
    }
    for (std::uint8_t b : image.displayImage) ASSERT_EQ(b, 0x55);

    ImageRecord empty;
    EXPECT_FALSE(RefreshDisplayPixel(empty, header, display, 0, 0));
}

}  // namespace
}  // namespace corvane
