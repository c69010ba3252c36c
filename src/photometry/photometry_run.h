#pragma once
// The photometry run of "Do!": the clicks of the reference star and, when it is measured,
// the asteroid and its background boxes; then the measuring steps with the confirmation
// between locating and measuring, the results box and the record in the output files.
//
// The mouse mode belongs to the shell: the click reports when the run has ended, and the
// caller returns the mode to `None` and repaints.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "image/header_record.h"
#include "image/image_record.h"
#include "photometry/output_files.h"
#include "photometry/star_input.h"

namespace corvane {

// Told of each record as soon as both files have taken it: the list file's path and the
// record's bytes as they were appended there.
using RecordWritten = std::function<void(const std::string& listPath, std::string_view record)>;

// What a run works on, beyond the star list's sequence inputs.
struct PhotometryRun {
    StarInput& input;
    const ImageRecord& image;
    HeaderRecord& header;  // a zero exposure is replaced by 1.0 s for good
    const OutputFiles& files;
    RecordWritten recordWritten = {};  // may be empty
};

// Shown (caption "Do") when the image a run measured is no longer the one loaded when
// the run would go on; nothing is written then.
inline constexpr const char* kImageChangedText =
    "The image was closed or replaced while it was being measured.\nNothing was written.";

// How a run ended.
enum class RunEnd {
    Written,      // "OK" in the results box, and both records appended
    NotWritten,   // the user declined, at the confirmation or in the results box
    Failed,       // a measuring step failed, or the image changed (its message was shown)
    WriteFailed,  // "OK", but the files could not take the record (shown as well)
};

// A click at image pixel `at` during the run, after the mouse handling's beep. The last
// click (the reference star when the asteroid is not measured, else the asteroid's last
// box) measures at once and ends the run.
SequenceStep PhotometryClick(PhotometryRun& run, PixelPoint at, RunEnd* end = nullptr);

// The measuring steps once every click is in: locating (Automatic: plain background and
// centring), the confirmation, measuring, the results box and, on "OK", the record. Then
// the run's flags and the overlay are cleared.
RunEnd MeasureAndRecord(PhotometryRun& run);

// The rows of the results box, in the list box's sorted order: the asteroid first (when
// measured), then the selected stars by number.
std::vector<std::string> ResultRows(const ObjectList& objects, const PhotometryParameters& params,
                                     std::int32_t bzero);

}  // namespace corvane
