#pragma once
// Reading list files back into records. A file is read whole or refused: a line that is
// not what the writer writes there stops the reading with the file's name, the line
// number and what was expected. Only a last record that the file's end cuts short is
// different: it is reported and left out, never completed by guessing.

#include <string>
#include <string_view>
#include <vector>

#include "lightcurve/list_record.h"

namespace corvane {

// Where the reading stopped: `line` from 1, 0 when the file could not be read at all.
struct ListFileProblem {
    std::string file;
    int line = 0;
    std::string what;  // "expected ..." or "cannot be read: ..."

    // "FILE, line N: expected ..."
    std::string Text() const;
};

// A record the file's end cut short: the line where it starts.
struct CutOffRecord {
    std::string file;
    int line = 0;
};

struct ListFileContents {
    std::vector<ListRecord> records;  // in reading order
    std::vector<CutOffRecord> cutOff;
};

// Appends the records of `text` (CR LF or LF line ends) to `out`; `source` names the text
// in the records and in the problem. On a problem nothing is appended.
bool ReadListText(std::string_view text, const std::string& source, ListFileContents& out,
                  ListFileProblem& problem);

// The same for the file at `path`.
bool ReadListFile(const std::string& path, ListFileContents& out, ListFileProblem& problem);

}  // namespace corvane
