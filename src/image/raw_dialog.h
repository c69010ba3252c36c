#pragma once
// The "RAW Options" dialog as the program sees it: what it opens with, and what OK does.

#include "image/image_record.h"
#include "image/raw_options.h"
#include "platform/dialogs.h"

namespace corvane {

// The fields the dialog opens with: the current columns and rows (empty while 0), the raw
// options, "16 bit" when bitpix is 16 and "8 bit" otherwise.
RawDialogFields RawDialogFieldsFrom(const ImageRecord& image, const RawOptions& raw);

// OK: reads Columns (1 … 20000), Rows (1 … 65383), header size (0 … 150000000), rows to
// skip (0 or more, with rows to skip + rows below 65383) and BZERO (0 … 32768), in this
// order. When one is not a number in its range, nothing is stored and the result is false
// (the dialog stays open). Otherwise stores them into width, height, the raw options and
// bzero, the sample width into bitpix (8 clears "Swap bytes"), and returns true.
bool AcceptRawDialog(const RawDialogFields& fields, ImageRecord& image, RawOptions& raw);

}  // namespace corvane
