#pragma once
// The two output files of photometry: the list file (prefix + ".lis"), one readable block
// per accepted run, and the flux table (prefix + ".heu"), one line per run. Both are text
// with CR LF line ends that only ever grow at the end, unless the user overwrites them.

#include <cstdint>
#include <string>
#include <string_view>

#include "image/header_record.h"
#include "photometry/object_list.h"
#include "photometry/photometry_parameters.h"
#include "platform/host.h"

namespace corvane {

// Full paths, fixed when a prefix is accepted; later writes reopen the files by them,
// whatever the working directory is then. Empty until a prefix has been accepted.
struct OutputFiles {
    std::string listPath;  // ListFile
    std::string fluxPath;  // FluxTable
};

inline constexpr std::size_t kMaxPrefixLength = 79;
inline constexpr const char* kListExtension = ".lis";
inline constexpr const char* kFluxExtension = ".heu";

// --- "Open Output File" ---

// The dialog's fields for `directory`: its path, the file system's roots and its
// subdirectories (no files), the prefix empty.
OutputFilesDialogFields OutputFieldsFor(const std::string& directory);

// A double click on entry `index`: into that directory or root, the list refilled.
// An entry that cannot be entered leaves the fields as they were.
void EnterOutputEntry(OutputFilesDialogFields& fields, std::size_t index);

// "File   %s   already exists. "
std::string AppendBoxText(std::string_view name);

// OK of the dialog: the list file's step, then the flux table's. Each existing file asks
// Append / Overwrite / Cancel; a missing one is created empty. A step that passes fixes
// that file's full path in `files` at once, so a later step that keeps the dialog open
// leaves the earlier one changed. True when both steps passed.
bool AcceptOutputPrefix(const OutputFilesDialogFields& fields, OutputFiles& files, Host& host);

// The whole "Output Files..." command: the dialog opened in `directory`. The working
// directory is never changed. True when it ended with success.
bool ChooseOutputFilesIn(const std::string& directory, OutputFiles& files, Host& host);

// The same, opened in the current working directory.
bool ChooseOutputFiles(OutputFiles& files, Host& host);

// --- The records ---

// The text after "Taken at ": the asctime layout of a time after 1970 in UTC, e.g.
// "Mon Jan 15 22:04:05 2001"; empty for 0 and earlier.
std::string ListTakenAtTime(std::int32_t secondsSince1970);

// ListFile lines 1 to 8: the image path and an empty line, the object and the time taken,
// filter and MJD, preflash and Unix time, gain and exposure, the asterisks, the column
// headings.
std::string ListRecordHead(std::string_view imagePath, const HeaderRecord& header);

// One object row: `star` < 0 is the asteroid row, else the star's number (index + 1);
// `at` is the printed position, the background level is printed as M + bzero.
std::string ListRecordRow(int star, FloatPoint at, const ObjectResult& result,
                          std::int32_t bzero);

// ListFile lines 10 to 12: the empty line, both aperture sizes and the closing asterisks.
std::string ListRecordTail(const PhotometryParameters& params);

// The whole ListFile record of a run: the head, the asteroid row when it is measured, a
// row for every selected star in index order, the tail.
std::string BuildListRecord(std::string_view imagePath, const HeaderRecord& header,
                            std::int32_t bzero, const PhotometryParameters& params,
                            const ObjectList& objects);

// The FluxTable line of a run: the time, the asteroid's flux rate and that of every star
// 1 to n. Unselected objects are written as 0, and their flux rates are set to 0 in the
// list as they are written, so the star columns stay in place.
std::string BuildFluxLine(const HeaderRecord& header, const PhotometryParameters& params,
                          ObjectList& objects);

// Appends `listRecord` to the list file and `fluxLine` to the flux table. Either both
// files receive their whole record or neither changes; every failure is shown (caption
// "Corvane") and returns false.
bool WriteRecord(const OutputFiles& files, std::string_view listRecord,
                 std::string_view fluxLine, Host& host);

}  // namespace corvane
