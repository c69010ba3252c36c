#pragma once
// One reader per format; each fills the records and maps the pixels, or shows why not.

#include "image/loader.h"

namespace corvane {

bool ReadFits(ReadTarget& target);
bool ReadKvrFits(ReadTarget& target);
// The text header shared by both ST-6 readers: fills the records and the geometry.
bool ReadSt6Header(ReadTarget& target);
bool ReadSt6(ReadTarget& target);
bool ReadSt6Compressed(ReadTarget& target);
bool ReadTiff(ReadTarget& target);
bool ReadHk(ReadTarget& target);
bool ReadPc(ReadTarget& target);
bool ReadRaw(ReadTarget& target);

// "RAW Options": returns true when the user confirmed valid values, which are then stored
// in the image record (width, height, bitpix, bzero) and the raw options.
bool RunRawOptionsDialog(ImageRecord& image, RawOptions& raw, Host& host);

}  // namespace corvane
