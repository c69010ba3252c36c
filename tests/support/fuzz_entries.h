#pragma once
// What each fuzz target does with one input, shared by the libFuzzer targets and by the
// test that replays the inputs the fuzzers once crashed on.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

enum class FuzzTarget { Fits, KvrFits, St6, St6Compressed, Tiff, Hk, Pc, Raw, Loader };

// "fits", "kvr_fits", "st6", "st6_compressed", "tiff", "hk", "pc", "raw", "loader".
std::string_view FuzzTargetName(FuzzTarget target);
std::optional<FuzzTarget> FuzzTargetNamed(std::string_view name);
std::vector<FuzzTarget> AllFuzzTargets();

// Writes the input as a file in `directory` (which also takes the temporary pixel files)
// and reads it with the target's reader; a loaded image has every pixel read once. After
// the loader target's loads the window is fitted at every zoom and one repaint's geometry
// is taken, as on screen. Returns true when the image loaded.
//
// For the raw reader the first 8 bytes are the dialog's answers and the rest is the file;
// the loader target answers Yes to "Open as raw?" and takes the dialog's answers from the
// last 8 bytes.
bool RunFuzzInput(FuzzTarget target, const std::uint8_t* data, std::size_t size,
                  const std::string& directory);

// The 8 leading bytes that make the raw target use this layout.
std::string RawFuzzPrefix(int columns, int rows, int headerBytes, int skipRows, bool eightBit,
                          bool swapBytes);

}  // namespace corvane::test
