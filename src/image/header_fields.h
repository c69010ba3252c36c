#pragma once
// The texts of the header dialog's value fields.

#include <string>

#include "image/header_record.h"
#include "platform/dialogs.h"

namespace corvane {

// Every field as the dialog shows it; the caption names `path`.
HeaderDialogFields HeaderDialogTexts(const HeaderRecord& header, const std::string& path);

// The 24-character text form of a UTC time ("Mon Jul  6 12:00:00 1998"); empty for a time
// of 0 or before, which means the file gave none.
std::string UtcTimeText(std::int32_t secondsSince1970);

}  // namespace corvane
