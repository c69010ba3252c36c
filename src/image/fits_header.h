#pragma once
// The FITS header parser: finds a fixed list of keywords anywhere in the 2880-byte header
// blocks and fills the header record and the FITS fields of the image record.

#include "image/loader.h"
#include "platform/file_access.h"

namespace corvane {

// Reads the header blocks from the start of `file`. On failure it has shown its message.
bool ParseFitsHeader(InputFile& file, ReadTarget& target);

// Saturating truncation toward zero of a scanned number; NaN gives 0.
int TruncateToInt(double value);

}  // namespace corvane
