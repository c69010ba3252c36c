#pragma once
// The records a lightcurve is made from, as they were added: whole list files, and single
// records such as the run accepted a moment ago.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lightcurve/list_file_reader.h"

namespace corvane {

struct RecordSet {
    std::vector<ListRecord> records;  // in the order they were added
    std::vector<CutOffRecord> cutOff;
};

// Adds every record of the list file at `path`. A damaged or unreadable file adds nothing.
bool AddListFile(RecordSet& set, const std::string& path, ListFileProblem& problem);

// Adds the record(s) of `text`, the bytes the writer built (BuildListRecord); `source`
// names them, e.g. the list file they were appended to.
bool AddListText(RecordSet& set, std::string_view text, const std::string& source,
                 ListFileProblem& problem);

// Indices of the records sorted by time; equal times keep the order they were added in.
std::vector<std::size_t> TimeOrder(const RecordSet& set);

}  // namespace corvane
