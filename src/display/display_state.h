#pragma once
// What the display keeps for the whole run: the 193-level grey palette, the description
// of the 8-bit bitmap, the two display limits, the display mode, the logarithmic
// multiplier and the logarithmic lookup table.

#include <array>
#include <cstddef>
#include <cstdint>

namespace corvane {

// Display byte values: indices into the palette, 0 black to 192 white.
inline constexpr int kDisplayBlack = 0;
inline constexpr int kDisplayWhite = 192;
inline constexpr int kPaletteEntries = 193;

// One palette entry as the graphics interface takes it.
struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
};

// The logical palette: version, entry count and the entries.
struct DisplayPalette {
    std::uint16_t version = 0x300;
    std::uint16_t entryCount = kPaletteEntries;
    std::array<PaletteEntry, kPaletteEntries> entries{};
};
static_assert(sizeof(DisplayPalette) == 4 + 4 * kPaletteEntries);

// The bitmap description: a 40-byte information header and a colour table of palette
// indices (entry i = i), so that the display bytes are drawn through the palette.
#pragma pack(push, 1)
struct DisplayBitmapHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;    // image width
    std::int32_t height = 0;   // minus the image height: rows run top-down
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t coloursUsed = kPaletteEntries;
    std::uint32_t coloursImportant = 0;
    std::array<std::uint16_t, kPaletteEntries> colourTable{};
};
#pragma pack(pop)
static_assert(sizeof(DisplayBitmapHeader) == 426);
static_assert(offsetof(DisplayBitmapHeader, colourTable) == 40);

// The two display limits, in true pixel values (stored value + bzero).
struct DisplayLevels {
    std::int32_t low = 0;
    std::int32_t high = 300;

    friend bool operator==(const DisplayLevels&, const DisplayLevels&) = default;
};

// DisplayMode codes, as the Display menu numbers them.
enum DisplayModeCode : std::int32_t {
    kModeHistogram = 1,
    kModeLog = 2,
    kModeLogTimes2 = 3,
    kModeLogTimes4 = 4,
    kModeHiPass = 5,
    kModeManual = 6,
    kModeMinMax = 7,
    kModeFshow = 8,
};

// Histogram, Manual, Min-Max and Fshow map the pixels linearly between the limits.
inline bool IsLinearMode(std::int32_t mode) {
    return mode == kModeHistogram || mode == kModeManual || mode == kModeMinMax ||
           mode == kModeFshow;
}

inline bool IsLogMode(std::int32_t mode) {
    return mode == kModeLog || mode == kModeLogTimes2 || mode == kModeLogTimes4;
}

inline constexpr std::size_t kLogTableSize = 32768;
using LogTable = std::array<std::uint8_t, kLogTableSize>;

// Filled as InitDisplay leaves it, so a default-made state is ready to use.
DisplayPalette MakeDisplayPalette();
DisplayBitmapHeader MakeDisplayBitmapHeader();

struct DisplayState {
    DisplayPalette palette = MakeDisplayPalette();
    DisplayBitmapHeader bitmapHeader = MakeDisplayBitmapHeader();
    DisplayLevels levels;
    std::int32_t mode = kModeHistogram;  // DisplayMode
    std::int32_t logMultiplier = 1;      // 1, 2 or 4; back to 1 after every logarithmic rebuild
    LogTable logTable{};                 // as the last logarithmic rebuild left it
};

// Builds the palette and the bitmap description and sets levels, mode and multiplier to
// their start values. Nothing here can fail; true keeps the start-up sequence's shape.
bool InitDisplay(DisplayState& display);

}  // namespace corvane
